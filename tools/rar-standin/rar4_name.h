#pragma once
// RAR 4 member names: OEM/ANSI bytes, or with file flag 0x200 the bytes, a zero, and UTF-16 packed
// against those bytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace rarstandin {

// The name as UTF-16, with '\' separators, from the NAME field of a file or service header.
std::wstring DecodeRar4Name(std::string_view field, bool unicodeFlag);
// The packed UTF-16 part that follows the zero (the simple form: each character whole).
std::string EncodeRar4Unicode(std::wstring_view name);

} // namespace rarstandin
