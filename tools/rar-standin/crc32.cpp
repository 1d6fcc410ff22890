#include "crc32.h"

#include <zlib.h>

namespace rarstandin {

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size) {
    return static_cast<std::uint32_t>(crc32_z(crc, static_cast<const Bytef*>(data), size));
}

} // namespace rarstandin
