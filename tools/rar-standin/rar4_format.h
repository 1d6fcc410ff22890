#pragma once
// The numbers of the RAR 4 (2.9 to 4.x) block format: signature, header kinds, header flags, and the
// header checksum.

#include "crc32.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rarstandin::rar4 {

inline constexpr std::string_view kSignature{"Rar!\x1A\x07\x00", 7};
// HEAD_CRC, type, flags and size: the fields every header starts with.
inline constexpr std::size_t kCommonSize = 7;

enum class HeaderType : unsigned char {
    Main = 0x73,
    File = 0x74,
    // Old-style extra data of the file before it.
    OldSubBlock = 0x77,
    OldRecovery = 0x78,
    Service = 0x7A,
    End = 0x7B,
};

// Flags any header may carry.
inline constexpr std::uint16_t kSkipIfUnknown = 0x4000;
// A 32-bit data size follows the common fields.
inline constexpr std::uint16_t kLongBlock = 0x8000;

// Main header flags.
inline constexpr std::uint16_t kMainVolume = 0x0001;
inline constexpr std::uint16_t kMainLocked = 0x0004;
inline constexpr std::uint16_t kMainSolid = 0x0008;
inline constexpr std::uint16_t kMainAuthenticity = 0x0020;
inline constexpr std::uint16_t kMainRecovery = 0x0040;
inline constexpr std::uint16_t kMainEncryptedHeaders = 0x0080;

// File header flags.
inline constexpr std::uint16_t kFileSplitBefore = 0x0001;
inline constexpr std::uint16_t kFileSplitAfter = 0x0002;
inline constexpr std::uint16_t kFileSolid = 0x0010;
// All three dictionary-size bits set mark a folder.
inline constexpr std::uint16_t kFileDirectory = 0x00E0;
// High 32 bits of the sizes follow the fixed fields.
inline constexpr std::uint16_t kFileLarge = 0x0100;
// The name field holds ANSI bytes, a zero and the packed UTF-16 name.
inline constexpr std::uint16_t kFileUnicodeName = 0x0200;

// Service header flags: the block belongs to the file before it.
inline constexpr std::uint16_t kServiceChild = 0x0010;

// HEAD_CRC: the low half of the CRC-32 of everything after it.
inline std::uint16_t HeaderCrc(std::string_view header) {
    return static_cast<std::uint16_t>(Crc32(header.substr(2)) & 0xFFFF);
}

} // namespace rarstandin::rar4
