#pragma once
// The commands the stand-in knows, and the front end that prints the banner and turns errors into exit
// codes.

#include "command_line.h"
#include "console_out.h"

#include <string>
#include <vector>

namespace rarstandin {

inline constexpr wchar_t kBanner[] = L"RAR stand-in for Brindle's tests 1.0";

// "d <archive> <mask>...": deletes the matching members.
int RunDelete(const CommandLine& line, Output& out);
// "a [-ma4] <archive> <file or folder>...": makes a new archive of stored members.
int RunAdd(const CommandLine& line, Output& out);
// The whole program: banner, command, messages; answers the exit code.
int RunCommand(const std::vector<std::wstring>& args, Output& out);

// The archive path as the archiver takes it: ".rar" added to a name without extension that does not
// exist as it is.
std::wstring ArchivePath(const std::wstring& given, bool mustExist);
// The full long form of a path, so a replacement keeps the real name even when given in 8.3 form.
std::wstring LongFullPath(const std::wstring& path);
// Where a replacement of the file at path is written: its folder as path names it (an 8.3 form stays
// short, so the whole fits in MAX_PATH where the long form may not) and its own long name, which the
// replacement keeps.
std::wstring ReplacementPath(const std::wstring& path);
// A new empty file beside path for the replacement.
std::wstring TempFileBeside(const std::wstring& path);
// Puts the finished temp file in place of target; removes the temp when that fails.
void ReplaceWith(const std::wstring& temp, const std::wstring& target);

} // namespace rarstandin
