#pragma once
// Paths the platform answers: the wide short-path call, for paths that the ANSI code page cannot hold,
// and files of the system folder.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The complete short (8.3) form of an existing path through the wide call, or nothing when there is
// none. A path past MAX_PATH is handed over with the \\?\ prefix, which the answer does not keep. Under Wine
// two aliases in one folder can collide, so a caller that relies on the answer naming the same file checks
// that with SameFile.
std::optional<std::wstring> WideShortPath(std::wstring_view path);
// The short form of path when the call gives one and it leads to the same file or folder: the one form
// of a short path the program relies on.
std::optional<std::wstring> VerifiedShortPath(const std::wstring& path);

// The full path of name in the system folder (where cmd.exe and the shell's libraries lie), or the empty
// string when the system does not say where that is.
std::wstring SystemFilePath(std::wstring_view name);

} // namespace platform
