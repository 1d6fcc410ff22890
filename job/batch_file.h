#pragma once

#include "job/job_state.h"

#include <string>
#include <string_view>

namespace job {

// Writes the clean-up batch sBatFile from the list file: "@echo off", then one archiver delete command
// per archive. True when the batch was written completely; the list file is then deleted. Every failure
// is a silent false, also a blank pattern, which the archiver would take as "delete everything".
bool CreatBatFile(JobState& form, const std::wstring& sBatFile);

// One batch line: archiver, " d ", archive, " ", pattern; paths quoted only where they need it, and the
// command interpreter's special characters of the pattern neutralised outside double quotes.
std::wstring BatchLine(std::wstring_view rarExe, std::wstring_view archive, std::wstring_view pattern);

// The pattern as the command interpreter must read it to hand the archiver exactly these characters.
std::wstring EscapeForBatch(std::wstring_view pattern);
// The path itself when the interpreter reads it as one plain word, otherwise between double quotes.
std::wstring QuoteIfNeeded(std::wstring_view path);

// True when the pattern holds nothing but blanks.
bool IsBlankPattern(std::wstring_view pattern);

} // namespace job
