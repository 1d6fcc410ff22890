#!/usr/bin/env python3
"""Draws Brindle's icon and writes it as app/brindle.ico: four images, 16 x 16 and 32 x 32, each in
16 colours (4 bits per pixel) and in 256 colours (8 bits per pixel).

The artwork is a stack of three archive volumes with a red strap and a small eraser mark, drawn
procedurally so that both sizes come from the same description. Run: python3 tools/make-icon.py
"""
import os
import struct
import sys

# The standard 16-colour Windows palette.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette256():
    colours = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    colours += [(v, v, v) for v in range(8, 248, 6)][:40]
    return (colours + [(0, 0, 0)] * 256)[:256]


def artwork(size):
    """Pixel colours (or None for transparent) of the icon at size x size."""
    s = size / 32.0
    pixels = [[None] * size for _ in range(size)]
    volumes = [((4, 5, 27, 11), (112, 48, 160), (168, 112, 208)),   # purple
               ((3, 12, 26, 18), (32, 96, 176), (96, 160, 224)),    # blue
               ((5, 19, 28, 25), (32, 128, 64), (112, 192, 128))]   # green
    for (x0, y0, x1, y1), dark, light in volumes:
        for y in range(size):
            for x in range(size):
                fx, fy = (x + 0.5) / s, (y + 0.5) / s
                if x0 <= fx < x1 and y0 <= fy < y1:
                    edge = fx < x0 + 1.5 or fx >= x1 - 1.5 or fy < y0 + 1.2 or fy >= y1 - 1.2
                    pixels[y][x] = dark if edge else light
                    # The strap across every volume.
                    if 14 <= fx < 18:
                        pixels[y][x] = (192, 32, 32) if not edge else (128, 0, 0)
    # The eraser mark: a white box with a red minus, bottom right.
    for y in range(size):
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            if 20 <= fx < 31 and 22 <= fy < 31:
                border = fx < 21 or fx >= 30 or fy < 23 or fy >= 30
                pixels[y][x] = (0, 0, 0) if border else (255, 255, 255)
                if not border and 22.5 <= fx < 28.5 and 25.5 <= fy < 27.5:
                    pixels[y][x] = (224, 0, 0)
    return pixels


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def image(size, bits):
    palette = VGA16 if bits == 4 else palette256()
    pixels = artwork(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, 0, 0, 0, len(palette), 0)
    table = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in palette)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):  # bottom-up, as a DIB is stored
        row = pixels[y]
        indices = [nearest(c, palette) if c is not None else 0 for c in row]
        if bits == 4:
            data = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        else:
            data = bytes(indices)
        xor_rows.append(data + b'\0' * (-len(data) % 4))
        mask = 0
        mask_bytes = bytearray()
        for x, c in enumerate(row):
            mask = (mask << 1) | (1 if c is None else 0)
            if x % 8 == 7:
                mask_bytes.append(mask)
                mask = 0
        and_rows.append(bytes(mask_bytes) + b'\0' * (-len(mask_bytes) % 4))
    return header + table + b''.join(xor_rows) + b''.join(and_rows), len(palette)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'app', 'brindle.ico')
    images = [(16, 4), (16, 8), (32, 4), (32, 8)]
    blobs = [image(size, bits) for size, bits in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits), (blob, colours) in zip(images, blobs):
        out += struct.pack('<BBBBHHII', size, size, colours if colours < 256 else 0, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    out += b''.join(blob for blob, _ in blobs)
    with open(target, 'wb') as f:
        f.write(out)
    print(f'{target}: {len(images)} images, {len(out)} bytes')


if __name__ == '__main__':
    main()
