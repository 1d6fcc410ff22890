#pragma once
// The CRC-32 (IEEE, reflected) that both RAR formats use for headers and data: zlib's, behind our own
// signature so zlib.h stays out of the readers and writers.

#include <cstdint>
#include <string_view>

namespace rarstandin {

std::uint32_t Crc32(std::string_view bytes);

} // namespace rarstandin
