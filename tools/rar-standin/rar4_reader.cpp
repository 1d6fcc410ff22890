#include "rar4_reader.h"

#include "archive_error.h"
#include "block_walk.h"
#include "rar4_format.h"
#include "rar4_name.h"

#include <algorithm>

namespace rarstandin {

namespace {

using rar4::HeaderType;

// Where the fields lie: the common ones, then the data size (PACK_SIZE, or ADD_SIZE of a long block).
constexpr std::size_t kTypeAt = 2;
constexpr std::size_t kFlagsAt = 3;
constexpr std::size_t kSizeAt = 5;
constexpr std::size_t kDataSizeAt = 7;
// File and service headers.
constexpr std::size_t kNameSizeAt = 26;
constexpr std::size_t kHighPackSizeAt = 32;
// The main header's authenticity positions (HighPosAV, PosAV) end its fixed fields.
constexpr std::size_t kAuthenticityAt = 7;
constexpr std::size_t kMainFieldsEnd = 13;

// A header that matches its HEAD_CRC, with its common fields.
struct Header {
    std::string bytes;
    HeaderType type{};
    std::uint16_t flags = 0;
};

Header ReadHeader(ByteSource& source, std::uint64_t offset) {
    const std::uint64_t room = source.Size() - offset;
    if (room < rar4::kCommonSize) {
        ThrowTruncated();
    }
    const std::string common = source.Read(offset, rar4::kCommonSize);
    const std::uint16_t headerSize = LoadLe16(common, kSizeAt);
    if (headerSize < rar4::kCommonSize) {
        ThrowCorrupt();
    }
    if (headerSize > room) {
        ThrowTruncated();
    }
    Header header;
    header.bytes = source.Read(offset, headerSize);
    header.type = static_cast<HeaderType>(static_cast<unsigned char>(common[kTypeAt]));
    header.flags = LoadLe16(common, kFlagsAt);
    if (rar4::HeaderCrc(header.bytes) != LoadLe16(header.bytes, 0)) {
        ThrowCorrupt();
    }
    return header;
}

// The main header with the recovery flag cleared and the authenticity positions zeroed.
std::string ChangedMainHeader(std::string header) {
    StoreLe16(header, kFlagsAt,
              static_cast<std::uint16_t>(LoadLe16(header, kFlagsAt) & ~rar4::kMainRecovery));
    std::fill(header.begin() + kAuthenticityAt, header.begin() + kMainFieldsEnd, '\0');
    StoreLe16(header, 0, rar4::HeaderCrc(header));
    return header;
}

void ReadMainHeader(const Header& header, ArchiveLayout& layout) {
    if (header.bytes.size() < kMainFieldsEnd) {
        ThrowCorrupt();
    }
    layout.volume = layout.volume || (header.flags & rar4::kMainVolume) != 0;
    layout.locked = (header.flags & rar4::kMainLocked) != 0;
    layout.solid = (header.flags & rar4::kMainSolid) != 0;
    layout.encryptedHeaders = (header.flags & rar4::kMainEncryptedHeaders) != 0;
    layout.changedMainHeader = ChangedMainHeader(header.bytes);
    layout.mainHeaderSize = header.bytes.size();
}

// File and service headers share their fields; answers the size of the data that follows.
std::uint64_t ReadFileHeader(const Header& header, Block& block, ArchiveLayout& layout) {
    const std::string_view bytes = header.bytes;
    const bool large = (header.flags & rar4::kFileLarge) != 0;
    const std::size_t nameStart = large ? kHighPackSizeAt + 8 : kHighPackSizeAt;
    if (bytes.size() < nameStart) {
        ThrowCorrupt();
    }
    std::uint64_t dataSize = LoadLe32(bytes, kDataSizeAt);
    if (large) {
        dataSize |= static_cast<std::uint64_t>(LoadLe32(bytes, kHighPackSizeAt)) << 32;
    }
    const std::size_t nameSize = LoadLe16(bytes, kNameSizeAt);
    if (nameSize > bytes.size() - nameStart) {
        ThrowCorrupt();
    }
    const std::string_view name = bytes.substr(nameStart, nameSize);
    if (header.type == HeaderType::File) {
        block.kind = BlockKind::File;
        block.name = DecodeRar4Name(name, (header.flags & rar4::kFileUnicodeName) != 0);
        block.directory = (header.flags & rar4::kFileDirectory) == rar4::kFileDirectory;
        block.solid = (header.flags & rar4::kFileSolid) != 0;
        if ((header.flags & (rar4::kFileSplitBefore | rar4::kFileSplitAfter)) != 0) {
            layout.volume = true;
        }
    } else {
        block.kind = BlockKind::Service;
        block.name = DecodeRar4Name(name, false);
        block.child = (header.flags & rar4::kServiceChild) != 0;
        block.dropOnChange = block.name == L"RR";
    }
    return dataSize;
}

// Other kinds have data only when they are long blocks.
std::uint64_t LongBlockDataSize(const Header& header) {
    if ((header.flags & rar4::kLongBlock) == 0) {
        return 0;
    }
    if (header.bytes.size() < kDataSizeAt + 4) {
        ThrowCorrupt();
    }
    return LoadLe32(header.bytes, kDataSizeAt);
}

// Describes the block in block and layout; answers the size of the data after its header.
std::uint64_t DescribeBlock(const Header& header, Block& block, ArchiveLayout& layout) {
    switch (header.type) {
    case HeaderType::File:
    case HeaderType::Service:
        return ReadFileHeader(header, block, layout);
    case HeaderType::Main:
        block.kind = BlockKind::Main;
        ReadMainHeader(header, layout);
        break;
    case HeaderType::OldSubBlock:
        block.kind = BlockKind::Service;
        block.child = true;
        break;
    case HeaderType::OldRecovery:
        block.dropOnChange = true;
        break;
    case HeaderType::End:
        block.kind = BlockKind::End;
        break;
    default:
        break; // a kind this reader need not know stays Other
    }
    return LongBlockDataSize(header);
}

std::optional<Block> ReadBlock(ByteSource& source, std::uint64_t offset, ArchiveLayout& layout) {
    const Header header = ReadHeader(source, offset);
    Block block;
    block.offset = offset;
    const std::uint64_t dataSize = DescribeBlock(header, block, layout);
    if (dataSize > source.Size() - offset - header.bytes.size()) {
        ThrowTruncated();
    }
    block.size = header.bytes.size() + dataSize;
    return block;
}

} // namespace

ArchiveLayout ReadRar4Layout(ByteSource& source) {
    return WalkBlocks(source, RarFormat::Rar4, rar4::kSignature.size(), ReadBlock);
}

} // namespace rarstandin
