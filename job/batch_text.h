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
// True when the pattern holds a line break or another control character (below U+0020 but tab, and
// U+007F): the interpreter would end the batch line there and run the rest as a command of its own.
bool HoldsControlCharacter(std::wstring_view pattern);
// The refusal of such a pattern.
inline constexpr wchar_t ControlCharacterMessage[] = L"要删除的文件类型中含有换行符或其他控制字符，请检查！";

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

// What in a pattern makes the archiver take every member, so that it empties each archive and removes it.
struct EmptyingPattern {
    // No mask is left once the archiver's switches are set aside; the archiver then takes every member,
    // as it does when given no file names.
    bool noMask = false;
    // The mask that matches every name, such as "*", "*.*" or "*\*"; with noMask, the pattern as typed,
    // without blanks at its ends.
    std::wstring text;
};

// What makes the pattern take every member, or nothing when it takes less. The pattern is split into
// words as the archiver gets them: at blanks outside double quotes, the quotes removed. A word that
// begins with '-' is a switch, unless it follows a word "--", which ends the switches; every other word
// is a mask. A mask matches every name when its last part (after '\' or '/') holds a '*' and nothing but
// '*', '?' and '.', and each part before it nothing but those.
std::optional<EmptyingPattern> WhatEmptiesWholeArchives(std::wstring_view pattern);

// The question asked before such a run, 否 its default answer. A batch-only run deletes nothing itself:
// its question is about the batch it writes.
std::wstring EmptiesWholeArchivesQuestion(const EmptyingPattern& what, bool batchOnly);

} // namespace job
