#pragma once
// Which file a path leads to, whatever links or aliases lead there: the volume and the file index. A path
// past MAX_PATH is opened through the \\?\ prefix (PathForFileCall).

#include <windows.h>

#include <compare>
#include <optional>
#include <string>

namespace platform {

struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// The identity of a file or folder, or nothing when it cannot be opened.
std::optional<FileIdentity> IdentifyPath(const std::wstring& path);
// True when both paths lead to one and the same existing file or folder.
bool SameFile(const std::wstring& first, const std::wstring& second);

} // namespace platform
