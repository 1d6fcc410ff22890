#pragma once
// The numbers of the RAR 5 block format: signature, header kinds, header and field flags, and the
// header checksum.

#include "crc32.h"

#include <cstdint>
#include <string_view>

namespace rarstandin::rar5 {

inline constexpr std::string_view kSignature{"Rar!\x1A\x07\x01\x00", 8};
// Largest header the format allows; a larger size field is damage, not a header.
inline constexpr std::uint64_t kMaxHeaderSize = 2 * 1024 * 1024;

enum class HeaderType : std::uint64_t {
    Main = 1,
    File = 2,
    Service = 3,
    // Every header after it is encrypted.
    Encryption = 4,
    End = 5,
};

// Flags any header may carry.
inline constexpr std::uint64_t kHasExtra = 0x01;
inline constexpr std::uint64_t kHasData = 0x02;
inline constexpr std::uint64_t kSplitBefore = 0x08;
inline constexpr std::uint64_t kSplitAfter = 0x10;
// The block belongs to the file before it.
inline constexpr std::uint64_t kChild = 0x20;

// Main header (archive) flags.
inline constexpr std::uint64_t kArchiveVolume = 0x01;
inline constexpr std::uint64_t kArchiveVolumeNumber = 0x02;
inline constexpr std::uint64_t kArchiveSolid = 0x04;
inline constexpr std::uint64_t kArchiveRecovery = 0x08;
inline constexpr std::uint64_t kArchiveLocked = 0x10;

// The main header's locator record and its flags: which offsets follow.
inline constexpr std::uint64_t kLocatorRecord = 1;
inline constexpr std::uint64_t kLocatorQuickOpen = 0x01;
inline constexpr std::uint64_t kLocatorRecovery = 0x02;

// File and service header flags.
inline constexpr std::uint64_t kFileDirectory = 0x01;
inline constexpr std::uint64_t kFileTime = 0x02;
inline constexpr std::uint64_t kFileCrc = 0x04;
// Compression information: continues the previous member's compression.
inline constexpr std::uint64_t kCompressionSolid = 0x40;

// The header CRC: CRC-32 of everything after its four bytes.
inline std::uint32_t HeaderCrc(std::string_view header) {
    return Crc32(header.substr(4));
}

} // namespace rarstandin::rar5
