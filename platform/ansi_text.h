#pragma once
// Text crosses to the system's ANSI code page only here. A character without an ANSI form is reported,
// never replaced by '?', which a directory search would read as a wildcard.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The ANSI form of text, or nothing when some character has none.
std::optional<std::string> TryToAnsi(std::wstring_view text);
// The ANSI form of text when the command interpreter reads it back as the same text: it reads a batch in
// the console's code page, the OEM one, which on many systems is not the ANSI one (1252 against 850).
// Nothing when some character has no ANSI form or reads back as another.
std::optional<std::string> TryToBatchText(std::wstring_view text);
// The same for a given pair of code pages.
std::optional<std::string> TryToBatchText(std::wstring_view text, unsigned ansiCodePage,
                                          unsigned oemCodePage);
// The ANSI form of text; throws Win32Error (ERROR_NO_UNICODE_TRANSLATION) when some character has none.
std::string ToAnsi(std::wstring_view text);
// UTF-16 text from ANSI bytes. Bytes with no character map to the system's default character.
std::wstring FromAnsi(std::string_view bytes);
// True when the byte is the first of a double-byte character in the ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);
// How many of the bytes end on a character boundary of the ANSI code page: all of them, or all but a lead
// byte at the end whose second byte has not come yet.
size_t CompleteAnsiLength(std::string_view bytes);

} // namespace platform
