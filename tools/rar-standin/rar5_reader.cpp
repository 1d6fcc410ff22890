#include "rar5_reader.h"

#include "archive_error.h"
#include "crc32.h"
#include "text_codec.h"
#include "vint.h"

#include <windows.h>

namespace rarstandin {

namespace {

[[noreturn]] void Corrupt() {
    throw ArchiveError(kExitBadChecksum, L"The archive header is corrupt");
}
[[noreturn]] void Truncated() {
    throw ArchiveError(kExitBadChecksum, L"Unexpected end of archive");
}

std::uint64_t Vint(std::string_view bytes, std::size_t& pos, std::size_t end) {
    const auto value = ReadVint(bytes.substr(0, end), pos);
    if (!value) {
        Corrupt();
    }
    return *value;
}

// Rewrites a vint in place with a new value in the same number of bytes.
void ReplaceVint(std::string& bytes, std::size_t start, std::size_t end, std::uint64_t value) {
    const auto encoded = EncodeVintFixed(value, end - start);
    if (!encoded) {
        Corrupt();
    }
    bytes.replace(start, end - start, *encoded);
}

// The main header with the recovery flag cleared and the locator's offsets zeroed.
std::string ChangedMainHeader(std::string header, std::size_t fieldsPos, std::size_t extraStart,
                              std::size_t headerEnd, ArchiveLayout& layout) {
    std::size_t pos = fieldsPos;
    const std::size_t flagsStart = pos;
    const std::uint64_t archiveFlags = Vint(header, pos, extraStart);
    layout.volume = (archiveFlags & 0x01) != 0;
    layout.solid = (archiveFlags & 0x04) != 0;
    layout.locked = (archiveFlags & 0x10) != 0;
    ReplaceVint(header, flagsStart, pos, archiveFlags & ~std::uint64_t{0x08});
    if ((archiveFlags & 0x02) != 0) {
        Vint(header, pos, extraStart); // volume number
    }
    pos = extraStart;
    while (pos < headerEnd) {
        const std::uint64_t recordSize = Vint(header, pos, headerEnd);
        if (recordSize == 0 || recordSize > headerEnd - pos) {
            Corrupt();
        }
        const std::size_t recordEnd = pos + static_cast<std::size_t>(recordSize);
        const std::uint64_t recordType = Vint(header, pos, recordEnd);
        if (recordType == 1) { // locator
            const std::uint64_t locatorFlags = Vint(header, pos, recordEnd);
            for (std::uint64_t bit : {std::uint64_t{0x01}, std::uint64_t{0x02}}) {
                if ((locatorFlags & bit) != 0) {
                    const std::size_t start = pos;
                    Vint(header, pos, recordEnd);
                    ReplaceVint(header, start, pos, 0);
                }
            }
        }
        pos = recordEnd;
    }
    StoreLe32(header, 0, Crc32(0, header.data() + 4, header.size() - 4));
    return header;
}

std::wstring MemberName(std::string_view utf8) {
    std::wstring name;
    if (auto decoded = TryFromUtf8(utf8)) {
        name = std::move(*decoded);
    } else {
        name = FromCodePage(utf8, CP_UTF8);
    }
    for (auto& c : name) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return name;
}

// File and service headers share their fields.
void ReadFileFields(std::string_view header, std::size_t pos, std::size_t extraStart, Block& block) {
    const std::uint64_t fileFlags = Vint(header, pos, extraStart);
    Vint(header, pos, extraStart); // unpacked size
    Vint(header, pos, extraStart); // attributes
    if ((fileFlags & 0x02) != 0) {
        pos += 4; // mtime
    }
    if ((fileFlags & 0x04) != 0) {
        pos += 4; // data CRC
    }
    if (pos > extraStart) {
        Corrupt();
    }
    const std::uint64_t compression = Vint(header, pos, extraStart);
    Vint(header, pos, extraStart); // host OS
    const std::uint64_t nameLength = Vint(header, pos, extraStart);
    if (nameLength > extraStart - pos) {
        Corrupt();
    }
    block.directory = (fileFlags & 0x01) != 0;
    block.solid = (compression & 0x40) != 0;
    block.name = MemberName(header.substr(pos, static_cast<std::size_t>(nameLength)));
}

} // namespace

ArchiveLayout ReadRar5Layout(ByteSource& source) {
    ArchiveLayout layout;
    layout.format = RarFormat::Rar5;
    layout.signatureSize = 8;
    const std::uint64_t size = source.Size();
    std::uint64_t offset = layout.signatureSize;
    while (offset < size) {
        const std::string start = source.Read(offset, 4 + 10);
        std::size_t pos = 4;
        const auto headerSize = ReadVint(start, pos);
        if (start.size() < 5 || !headerSize) {
            Truncated();
        }
        if (*headerSize == 0 || *headerSize > kRar5MaxHeaderSize) {
            Corrupt();
        }
        const std::uint64_t headerEnd64 = pos + *headerSize;
        if (headerEnd64 > size - offset) {
            Truncated();
        }
        const auto headerEnd = static_cast<std::size_t>(headerEnd64);
        const std::string header = source.Read(offset, headerEnd);
        if (header.size() != headerEnd) {
            Truncated();
        }
        if (Crc32(0, header.data() + 4, header.size() - 4) != LoadLe32(header, 0)) {
            Corrupt();
        }
        const std::uint64_t type = Vint(header, pos, headerEnd);
        const std::uint64_t flags = Vint(header, pos, headerEnd);
        const std::uint64_t extraSize = (flags & 0x01) != 0 ? Vint(header, pos, headerEnd) : 0;
        const std::uint64_t dataSize = (flags & 0x02) != 0 ? Vint(header, pos, headerEnd) : 0;
        if (extraSize > headerEnd - pos) {
            Corrupt();
        }
        const std::size_t extraStart = headerEnd - static_cast<std::size_t>(extraSize);
        if (dataSize > size - offset - headerEnd) {
            Truncated();
        }

        Block block;
        block.offset = offset;
        block.size = headerEnd + dataSize;
        if ((flags & 0x18) != 0) {
            layout.volume = true; // data continues from or into another volume
        }
        switch (type) {
        case 1:
            block.kind = BlockKind::Main;
            layout.changedMainHeader = ChangedMainHeader(header, pos, extraStart, headerEnd, layout);
            layout.mainHeaderSize = headerEnd;
            break;
        case 2:
            block.kind = BlockKind::File;
            ReadFileFields(header, pos, extraStart, block);
            break;
        case 3:
            block.kind = BlockKind::Service;
            ReadFileFields(header, pos, extraStart, block);
            block.child = (flags & 0x20) != 0;
            block.dropOnChange = block.name == L"QO" || block.name == L"RR";
            break;
        case 4:
            layout.encryptedHeaders = true;
            return layout;
        case 5:
            block.kind = BlockKind::End;
            break;
        default:
            block.kind = BlockKind::Other;
            break;
        }
        layout.blocks.push_back(block);
        offset += block.size;
        if (block.kind == BlockKind::End) {
            break;
        }
    }
    layout.tailOffset = offset;
    return layout;
}

} // namespace rarstandin
