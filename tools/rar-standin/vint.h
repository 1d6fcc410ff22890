#pragma once
// RAR 5's variable-length integers: 7 bits a byte, lowest first, the high bit saying another byte follows.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rarstandin {

// Reads a vint at pos, moving pos past it; nothing when the bytes end first or it is longer than 10 bytes.
std::optional<std::uint64_t> ReadVint(std::string_view bytes, std::size_t& pos);
// The shortest encoding of value.
std::string EncodeVint(std::uint64_t value);
// value in exactly length bytes, padded with continuation bytes, so a field can change in place;
// nothing when it does not fit.
std::optional<std::string> EncodeVintFixed(std::uint64_t value, std::size_t length);

} // namespace rarstandin
