#pragma once
// Conversions between the archive's name encodings and UTF-16.

#include <optional>
#include <string>
#include <string_view>

namespace rarstandin {

// UTF-8 to UTF-16; nothing when the bytes are not valid UTF-8.
std::optional<std::wstring> TryFromUtf8(std::string_view bytes);
std::string ToUtf8(std::wstring_view text);
// Bytes in a Windows code page to UTF-16 (unmapped bytes become the default character).
std::wstring FromCodePage(std::string_view bytes, unsigned codePage);
// UTF-16 to a code page; characters without a form become '?'. Only for showing names.
std::string ToCodePageLossy(std::wstring_view text, unsigned codePage);
bool IsAscii(std::wstring_view text);

} // namespace rarstandin
