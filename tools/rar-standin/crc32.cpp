#include "crc32.h"

#include <zlib.h>

namespace rarstandin {

std::uint32_t Crc32(std::string_view bytes) {
    // crc32_z takes a size_t length, so no buffer is too long for one call.
    return static_cast<std::uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

} // namespace rarstandin
