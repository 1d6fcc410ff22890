#include "rar5_reader.h"

#include "archive_error.h"
#include "block_walk.h"
#include "rar5_format.h"
#include "text_codec.h"
#include "vint.h"

#include <windows.h>

namespace rarstandin {

namespace {

using rar5::HeaderType;

// The CRC's bytes, then the header size as a vint of at most ten bytes.
constexpr std::size_t kCrcSize = 4;
constexpr std::size_t kMaxVintSize = 10;

std::uint64_t Vint(std::string_view bytes, std::size_t& pos, std::size_t end) {
    const auto value = ReadVint(bytes.substr(0, end), pos);
    if (!value) {
        ThrowCorrupt();
    }
    return *value;
}

// Rewrites a vint in place with a new value in the same number of bytes.
void ReplaceVint(std::string& bytes, std::size_t start, std::size_t end, std::uint64_t value) {
    const auto encoded = EncodeVintFixed(value, end - start);
    if (!encoded) {
        ThrowCorrupt();
    }
    bytes.replace(start, end - start, *encoded);
}

// A header that matches its CRC, with its common fields read.
struct Header {
    std::string bytes;
    HeaderType type{};
    std::uint64_t flags = 0;
    // Where the kind's own fields start, and where its extra area starts.
    std::size_t fieldsAt = 0;
    std::size_t extraAt = 0;
    std::uint64_t dataSize = 0;
};

Header ReadHeader(ByteSource& source, std::uint64_t offset) {
    const std::uint64_t room = source.Size() - offset;
    const std::string start = source.Read(offset, kCrcSize + kMaxVintSize);
    std::size_t pos = kCrcSize;
    const auto headerSize = ReadVint(start, pos);
    if (start.size() < kCrcSize + 1 || !headerSize) {
        ThrowTruncated();
    }
    if (*headerSize == 0 || *headerSize > rar5::kMaxHeaderSize) {
        ThrowCorrupt();
    }
    if (pos + *headerSize > room) {
        ThrowTruncated();
    }
    const auto headerEnd = static_cast<std::size_t>(pos + *headerSize);
    Header header;
    header.bytes = source.Read(offset, headerEnd);
    if (header.bytes.size() != headerEnd) {
        ThrowTruncated();
    }
    if (rar5::HeaderCrc(header.bytes) != LoadLe32(header.bytes, 0)) {
        ThrowCorrupt();
    }
    header.type = static_cast<HeaderType>(Vint(header.bytes, pos, headerEnd));
    header.flags = Vint(header.bytes, pos, headerEnd);
    const std::uint64_t extraSize =
        (header.flags & rar5::kHasExtra) != 0 ? Vint(header.bytes, pos, headerEnd) : 0;
    header.dataSize = (header.flags & rar5::kHasData) != 0 ? Vint(header.bytes, pos, headerEnd) : 0;
    if (extraSize > headerEnd - pos) {
        ThrowCorrupt();
    }
    header.fieldsAt = pos;
    header.extraAt = headerEnd - static_cast<std::size_t>(extraSize);
    if (header.dataSize > room - headerEnd) {
        ThrowTruncated();
    }
    return header;
}

// Zeroes the quick-open and recovery offsets of a locator record, each in its own length.
void ZeroLocatorOffsets(std::string& bytes, std::size_t pos, std::size_t recordEnd) {
    const std::uint64_t locatorFlags = Vint(bytes, pos, recordEnd);
    for (std::uint64_t offsetFlag : {rar5::kLocatorQuickOpen, rar5::kLocatorRecovery}) {
        if ((locatorFlags & offsetFlag) != 0) {
            const std::size_t start = pos;
            Vint(bytes, pos, recordEnd);
            ReplaceVint(bytes, start, pos, 0);
        }
    }
}

// The main header with the recovery flag cleared and the locator's offsets zeroed.
std::string ChangedMainHeader(const Header& header) {
    std::string bytes = header.bytes;
    std::size_t pos = header.fieldsAt;
    const std::uint64_t archiveFlags = Vint(bytes, pos, header.extraAt);
    ReplaceVint(bytes, header.fieldsAt, pos, archiveFlags & ~rar5::kArchiveRecovery);
    if ((archiveFlags & rar5::kArchiveVolumeNumber) != 0) {
        Vint(bytes, pos, header.extraAt);
    }
    pos = header.extraAt;
    while (pos < bytes.size()) {
        const std::uint64_t recordSize = Vint(bytes, pos, bytes.size());
        if (recordSize == 0 || recordSize > bytes.size() - pos) {
            ThrowCorrupt();
        }
        const std::size_t recordEnd = pos + static_cast<std::size_t>(recordSize);
        if (Vint(bytes, pos, recordEnd) == rar5::kLocatorRecord) {
            ZeroLocatorOffsets(bytes, pos, recordEnd);
        }
        pos = recordEnd;
    }
    StoreLe32(bytes, 0, rar5::HeaderCrc(bytes));
    return bytes;
}

void ReadMainHeader(const Header& header, ArchiveLayout& layout) {
    std::size_t pos = header.fieldsAt;
    const std::uint64_t archiveFlags = Vint(header.bytes, pos, header.extraAt);
    layout.volume = (archiveFlags & rar5::kArchiveVolume) != 0;
    layout.solid = (archiveFlags & rar5::kArchiveSolid) != 0;
    layout.locked = (archiveFlags & rar5::kArchiveLocked) != 0;
    layout.changedMainHeader = ChangedMainHeader(header);
    layout.mainHeaderSize = header.bytes.size();
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
void ReadFileFields(const Header& header, Block& block) {
    const std::string_view bytes = header.bytes;
    std::size_t pos = header.fieldsAt;
    const std::size_t end = header.extraAt;
    const std::uint64_t fileFlags = Vint(bytes, pos, end);
    Vint(bytes, pos, end); // unpacked size
    Vint(bytes, pos, end); // attributes
    if ((fileFlags & rar5::kFileTime) != 0) {
        pos += 4;
    }
    if ((fileFlags & rar5::kFileCrc) != 0) {
        pos += 4;
    }
    if (pos > end) {
        ThrowCorrupt();
    }
    const std::uint64_t compression = Vint(bytes, pos, end);
    Vint(bytes, pos, end); // host OS
    const std::uint64_t nameLength = Vint(bytes, pos, end);
    if (nameLength > end - pos) {
        ThrowCorrupt();
    }
    block.directory = (fileFlags & rar5::kFileDirectory) != 0;
    block.solid = (compression & rar5::kCompressionSolid) != 0;
    block.name = MemberName(bytes.substr(pos, static_cast<std::size_t>(nameLength)));
}

// Describes the block in block and layout.
void DescribeBlock(const Header& header, Block& block, ArchiveLayout& layout) {
    switch (header.type) {
    case HeaderType::Main:
        block.kind = BlockKind::Main;
        ReadMainHeader(header, layout);
        break;
    case HeaderType::File:
        block.kind = BlockKind::File;
        ReadFileFields(header, block);
        break;
    case HeaderType::Service:
        block.kind = BlockKind::Service;
        ReadFileFields(header, block);
        block.child = (header.flags & rar5::kChild) != 0;
        block.dropOnChange = block.name == L"QO" || block.name == L"RR";
        break;
    case HeaderType::End:
        block.kind = BlockKind::End;
        break;
    default:
        break; // a kind this reader need not know stays Other
    }
}

std::optional<Block> ReadBlock(ByteSource& source, std::uint64_t offset, ArchiveLayout& layout) {
    const Header header = ReadHeader(source, offset);
    if ((header.flags & (rar5::kSplitBefore | rar5::kSplitAfter)) != 0) {
        layout.volume = true;
    }
    if (header.type == HeaderType::Encryption) {
        layout.encryptedHeaders = true;
        return std::nullopt;
    }
    Block block;
    block.offset = offset;
    block.size = header.bytes.size() + header.dataSize;
    DescribeBlock(header, block, layout);
    return block;
}

} // namespace

ArchiveLayout ReadRar5Layout(ByteSource& source) {
    return WalkBlocks(source, RarFormat::Rar5, rar5::kSignature.size(), ReadBlock);
}

} // namespace rarstandin
