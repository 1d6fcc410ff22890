#include "rar4_reader.h"

#include "archive_error.h"
#include "crc32.h"
#include "rar4_name.h"

namespace rarstandin {

namespace {

[[noreturn]] void Corrupt() {
    throw ArchiveError(kExitBadChecksum, L"The archive header is corrupt");
}
[[noreturn]] void Truncated() {
    throw ArchiveError(kExitBadChecksum, L"Unexpected end of archive");
}

constexpr unsigned char kMainHead = 0x73;
constexpr unsigned char kFileHead = 0x74;
constexpr unsigned char kOldSubHead = 0x77;
constexpr unsigned char kOldRecovery = 0x78;
constexpr unsigned char kServiceHead = 0x7A;
constexpr unsigned char kEndHead = 0x7B;

// The main header with the recovery flag cleared and the authenticity positions zeroed.
std::string ChangedMainHeader(std::string header) {
    StoreLe16(header, 3, static_cast<std::uint16_t>(LoadLe16(header, 3) & ~0x40u));
    for (std::size_t i = 7; i < 13; ++i) {
        header[i] = '\0';
    }
    StoreLe16(header, 0, static_cast<std::uint16_t>(Crc32(0, header.data() + 2, header.size() - 2) & 0xFFFF));
    return header;
}

} // namespace

ArchiveLayout ReadRar4Layout(ByteSource& source) {
    ArchiveLayout layout;
    layout.format = RarFormat::Rar4;
    layout.signatureSize = 7;
    const std::uint64_t size = source.Size();
    std::uint64_t offset = layout.signatureSize;
    while (offset < size) {
        if (size - offset < 7) {
            Truncated();
        }
        const std::string common = source.Read(offset, 7);
        const auto type = static_cast<unsigned char>(common[2]);
        const std::uint16_t flags = LoadLe16(common, 3);
        const std::uint16_t headerSize = LoadLe16(common, 5);
        if (headerSize < 7) {
            Corrupt();
        }
        if (headerSize > size - offset) {
            Truncated();
        }
        const std::string header = source.Read(offset, headerSize);
        if ((Crc32(0, header.data() + 2, header.size() - 2) & 0xFFFF) != LoadLe16(header, 0)) {
            Corrupt();
        }

        Block block;
        block.offset = offset;
        std::uint64_t dataSize = 0;
        if (type == kFileHead || type == kServiceHead) {
            const bool large = (flags & 0x100) != 0;
            const std::size_t nameStart = large ? 40 : 32;
            if (headerSize < nameStart) {
                Corrupt();
            }
            dataSize = LoadLe32(header, 7);
            if (large) {
                dataSize |= static_cast<std::uint64_t>(LoadLe32(header, 32)) << 32;
            }
            const std::size_t nameSize = LoadLe16(header, 26);
            if (nameSize > headerSize - nameStart) {
                Corrupt();
            }
            const std::string_view name = std::string_view(header).substr(nameStart, nameSize);
            if (type == kFileHead) {
                block.kind = BlockKind::File;
                block.name = DecodeRar4Name(name, (flags & 0x200) != 0);
                block.directory = (flags & 0xE0) == 0xE0;
                block.solid = (flags & 0x10) != 0;
                if ((flags & 0x03) != 0) {
                    layout.volume = true; // split across volumes
                }
            } else {
                block.kind = BlockKind::Service;
                block.name = DecodeRar4Name(name, false);
                block.child = (flags & 0x10) != 0;
                block.dropOnChange = block.name == L"RR";
            }
        } else {
            if ((flags & 0x8000) != 0) {
                if (headerSize < 11) {
                    Corrupt();
                }
                dataSize = LoadLe32(header, 7);
            }
            switch (type) {
            case kMainHead:
                if (headerSize < 13) {
                    Corrupt();
                }
                block.kind = BlockKind::Main;
                layout.volume = layout.volume || (flags & 0x01) != 0;
                layout.locked = (flags & 0x04) != 0;
                layout.solid = (flags & 0x08) != 0;
                layout.encryptedHeaders = (flags & 0x80) != 0;
                layout.changedMainHeader = ChangedMainHeader(header);
                layout.mainHeaderSize = headerSize;
                break;
            case kOldSubHead:
                block.kind = BlockKind::Service;
                block.child = true; // old-style extra data of the file before it
                break;
            case kOldRecovery:
                block.kind = BlockKind::Other;
                block.dropOnChange = true;
                break;
            case kEndHead:
                block.kind = BlockKind::End;
                break;
            default:
                block.kind = BlockKind::Other;
                break;
            }
        }
        if (dataSize > size - offset - headerSize) {
            Truncated();
        }
        block.size = headerSize + dataSize;
        layout.blocks.push_back(block);
        offset += block.size;
        if (block.kind == BlockKind::End || layout.encryptedHeaders) {
            break;
        }
    }
    layout.tailOffset = offset;
    return layout;
}

} // namespace rarstandin
