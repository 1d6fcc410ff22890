#pragma once
// How text must be written into a batch file so that the command interpreter hands the archiver exactly
// the characters meant, and the longest line it reads whole.

#include <optional>
#include <string>
#include <string_view>

namespace job {

// The interpreter reads at most this many characters of a line; the rest would be cut off and run as
// a command of its own.
inline constexpr size_t MaxBatchLineLength = 8191;

// True when the pattern holds nothing but blanks.
bool IsBlankPattern(std::wstring_view pattern);

// The pattern as the interpreter must read it: '%' doubled everywhere, and & | < > ^ escaped with '^'
// outside double quotes.
std::wstring EscapeForBatch(std::wstring_view pattern);
// The path itself when the interpreter reads it as one plain word, otherwise between double quotes;
// '%' is doubled either way, as a batch file expands it even between quotes.
std::wstring QuoteIfNeeded(std::wstring_view path);

// One batch line: archiver, " d ", archive, " ", pattern.
std::wstring BatchLine(std::wstring_view rarExe, std::wstring_view archive, std::wstring_view pattern);
// True when the interpreter reads the line whole and as written: at most MaxBatchLineLength bytes of the
// code page the batch is written in (a Chinese character takes two), every one of which it reads back as
// the same character.
bool FitsOnABatchLine(std::wstring_view line);

// The first of the pattern's masks that matches every name, such as "*" or "*.*": the archiver then
// empties each archive and removes it. Masks are split at blanks outside double quotes, as the
// interpreter splits them.
std::optional<std::wstring> MaskMatchingEveryName(std::wstring_view pattern);

} // namespace job
