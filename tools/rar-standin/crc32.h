#pragma once
// The CRC-32 (IEEE, reflected) that both RAR formats use for headers and data: zlib's, behind our own
// signature so zlib.h stays out of the readers and writers.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rarstandin {

// Continues a CRC: pass the previous result (0 to start).
std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size);
inline std::uint32_t Crc32(std::string_view bytes) {
    return Crc32(0, bytes.data(), bytes.size());
}

} // namespace rarstandin
