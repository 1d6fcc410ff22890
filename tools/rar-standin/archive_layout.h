#pragma once
// What deleting needs to know of an archive, in either format: where each block lies, which blocks are
// members, which belong to a member, which must go when the archive changes, and the main header as it
// must be written then.

#include "byte_io.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rarstandin {

enum class RarFormat { Rar4, Rar5 };

enum class BlockKind {
    Main,
    File,
    // A service block (comment, ACL, stream, quick open, recovery record ...).
    Service,
    End,
    Other,
};

struct Block {
    std::uint64_t offset = 0;
    // Header and data together.
    std::uint64_t size = 0;
    BlockKind kind = BlockKind::Other;
    // Member name with '\' separators; the service's name for service blocks.
    std::wstring name;
    // Belongs to the member before it and goes with it.
    bool child = false;
    // Quick-open data and recovery records describe the whole archive and go when it changes.
    bool dropOnChange = false;
    // Continues the previous member's compression.
    bool solid = false;
    bool directory = false;
};

struct ArchiveLayout {
    RarFormat format = RarFormat::Rar5;
    std::uint64_t signatureSize = 0;
    std::vector<Block> blocks;
    // Bytes after the end block, kept as they are.
    std::uint64_t tailOffset = 0;
    bool volume = false;
    bool locked = false;
    bool solid = false;
    // Headers past the main header (RAR 4) or all headers (RAR 5) are encrypted; blocks stay empty.
    bool encryptedHeaders = false;
    // The main header with recovery and locator data cleared, for an archive that changes; the
    // original block's header length, so the data that follows it is copied unchanged.
    std::string changedMainHeader;
    std::uint64_t mainHeaderSize = 0;
};

// The format from the first bytes; throws ArchiveError "<displayName> is not RAR archive" otherwise.
RarFormat DetectFormat(ByteSource& source, const std::wstring& displayName);
// Reads every block header; throws ArchiveError for damage.
ArchiveLayout ReadLayout(ByteSource& source, const std::wstring& displayName);

} // namespace rarstandin
