#pragma once
// Paths as the file calls take them: made full, and prefixed with \\?\ where they are too long for the
// plain form.

#include <string>
#include <string_view>

namespace platform {

// From this length on a path is handed to the file calls with the \\?\ prefix. A plain path may have at
// most 259 characters (MAX_PATH with its NUL), and a folder to be created at most 247 (MAX_PATH less room
// for an 8.3 name, CreateDirectoryW); one limit for every call keeps the rule simple.
inline constexpr size_t LongPathFrom = 248;

// The full path of path, resolved as the system resolves it: "sub" and "..\x" against the current
// folder, "D:sub" against drive D's own current folder, '/' read as '\', "." and ".." taken out. Throws
// Win32Error when the system cannot (an empty or malformed path).
std::wstring FullPathName(std::wstring_view path);

// The path to hand a file call: with \\?\ (or \\?\UNC\ for \\server\share\...) in front, and '/' read as
// '\', when it has LongPathFrom characters or more, as without the prefix the call fails past MAX_PATH;
// otherwise the path itself. A path that is not full (relative, "D:sub", "\dir") or that already names a
// namespace (\\?\, \\.\) is handed over as it is. The prefix turns off the system's reading of "." and
// ".." and of blanks and dots at the end of a name, so the path must be full and hold the names as they
// are, as FullPathName and a folder listing give them.
std::wstring PathForFileCall(const std::wstring& path);

// The path without the \\?\ or \\?\UNC\ prefix that PathForFileCall puts in front of a long one, as the
// system answers such a path back.
std::wstring WithoutLongPathPrefix(const std::wstring& path);

// The folder that holds path: "D:\\Tools\\Brindle.exe" gives "D:\\Tools", and a file in a drive's root its
// root with the '\\' ("D:\\a.rar" gives "D:\\"). A path without '\\' is its own answer.
std::wstring ParentFolder(const std::wstring& path);

} // namespace platform
