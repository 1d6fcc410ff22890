#include "vint.h"

namespace rarstandin {

std::optional<std::uint64_t> ReadVint(std::string_view bytes, std::size_t& pos) {
    std::uint64_t value = 0;
    for (int i = 0; i < 10; ++i) {
        if (pos >= bytes.size()) {
            return std::nullopt;
        }
        const auto byte = static_cast<unsigned char>(bytes[pos++]);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << (7 * i);
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

std::string EncodeVint(std::uint64_t value) {
    std::string out;
    do {
        auto byte = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
        if (value != 0) {
            byte |= 0x80;
        }
        out += static_cast<char>(byte);
    } while (value != 0);
    return out;
}

std::optional<std::string> EncodeVintFixed(std::uint64_t value, std::size_t length) {
    if (length == 0 || length > 10) {
        return std::nullopt;
    }
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        auto byte = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
        if (i + 1 < length) {
            byte |= 0x80;
        }
        out += static_cast<char>(byte);
    }
    if (value != 0) {
        return std::nullopt;
    }
    return out;
}

} // namespace rarstandin
