#!/bin/bash
# Makes the release packages: builds Brindle.exe (Release) for 64-bit and 32-bit Windows, checks that
# neither imports anything newer than the Windows version the README states, and packs each with the
# Chinese guide and the licence into dist/Brindle-<version>-win64.zip and -win32.zip; dist/SHA256SUMS
# holds their checksums. The stand-in Rar.exe is never packed: users bring the real one.
#
#   tools/package.sh                        the whole release, into dist/
#   tools/package.sh --from EXE ARCH DIR    packs an already built EXE (ARCH win64 or win32) into DIR;
#                                           the release test packs the test build's exe this way
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# The one place the version is defined.
version() {
    local major minor revision
    major=$(awk '$2 == "BRINDLE_VERSION_MAJOR" { print $3 }' app/version.h)
    minor=$(awk '$2 == "BRINDLE_VERSION_MINOR" { print $3 }' app/version.h)
    revision=$(awk '$2 == "BRINDLE_VERSION_REVISION" { print $3 }' app/version.h)
    [ -n "$major" ] && [ -n "$minor" ] && [ -n "$revision" ] || { echo "app/version.h: no version" >&2; return 1; }
    echo "$major.$minor.$revision"
}

# Text for Notepad: CR LF line ends; Chinese text in UTF-8 with a byte-order mark, which Notepad on a
# Chinese Windows recognises (without the mark it would read code page 936).
windows_text() { # windows_text SOURCE TARGET [bom]
    { [ "${3:-}" = bom ] && printf '\xef\xbb\xbf'; sed 's/\r$//; s/$/\r/' "$1"; } >"$2"
}

# pack EXE ARCH DIR: writes DIR/Brindle-<version>-ARCH.zip and prints its path.
pack() {
    local exe=$1 arch=$2 out=$3 strip
    case "$arch" in
        win64) strip=x86_64-w64-mingw32-strip ;;
        win32) strip=i686-w64-mingw32-strip ;;
        *) echo "package: unknown architecture $arch (win64 or win32)" >&2; return 1 ;;
    esac
    local zip
    zip="$(cd "$out" && pwd)/Brindle-$(version)-$arch.zip"
    local staging
    staging=$(mktemp -d)
    "$strip" -o "$staging/Brindle.exe" "$exe"
    windows_text "$root/docs/使用说明.txt" "$staging/使用说明.txt" bom
    windows_text "$root/LICENSE" "$staging/LICENSE.txt"
    # The files carry the time of the last commit, not the moment of packing.
    local stamp
    stamp=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
    touch -d "@$stamp" "$staging"/*
    rm -f "$zip"
    # Names in code page 936 without the UTF-8 flag: Windows Explorer before Windows 8 ignores the
    # flag and reads names in the system's code page, which is 936 on a Chinese Windows.
    (cd "$staging" && TZ=UTC LC_ALL=C.UTF-8 bsdtar --format zip --options zip:hdrcharset=CP936 \
        -cf "$zip" Brindle.exe 使用说明.txt LICENSE.txt)
    rm -rf "$staging"
    echo "$zip"
}

if [ "${1:-}" = --from ]; then
    [ $# -eq 4 ] || { echo "usage: tools/package.sh --from EXE ARCH DIR" >&2; exit 2; }
    mkdir -p "$4"
    pack "$2" "$3" "$4"
    exit 0
fi

tools/install-deps.sh
version=$(version)
rm -rf dist
mkdir -p dist build
for arch in win64 win32; do
    case "$arch" in win64) preset=x64-release ;; win32) preset=x86-release ;; esac
    echo "== $arch: building Brindle.exe ($preset)"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target Brindle -j"$(nproc)" >"build/$preset-build.log" 2>&1 || {
        tail -40 "build/$preset-build.log"; exit 1; }
    exe="build/$preset/bin/Brindle.exe"
    tests/release/check_imports.sh "$arch" "$exe"
    echo "== $arch: packing"
    pack "$exe" "$arch" dist >/dev/null
done
(cd dist && sha256sum "Brindle-$version-win64.zip" "Brindle-$version-win32.zip" >SHA256SUMS)
echo "== dist/"
(cd dist && ls -l && cat SHA256SUMS)
