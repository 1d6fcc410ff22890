#pragma once
// The directory listing: first entry, next entry, nothing at the end; one listing in progress per object.
// An entry is admitted when its hidden, system and directory bits lie within the mask; the read-only and
// archive bits never exclude one. A path past MAX_PATH is listed through the \\?\ prefix (PathForFileCall).

#include "platform/unique_handle.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace platform {

namespace attr {
constexpr DWORD Hidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD System = FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD Directory = FILE_ATTRIBUTE_DIRECTORY;
constexpr DWORD Archive = FILE_ATTRIBUTE_ARCHIVE;
// Admits every entry, hidden and system ones included.
constexpr DWORD Any = Hidden | System | Directory;
} // namespace attr

struct DirEntry {
    std::wstring name;      // the long name, as the file system holds it
    std::wstring shortName; // the 8.3 alias, empty where the name needs none
    DWORD attributes = 0;
};

bool AdmittedByMask(DWORD attributes, DWORD mask);

class DirListing {
  public:
    // Starts a listing of pattern (a path whose last component may hold * and ?; a path ending in '\'
    // lists that folder). Nothing when no entry matches or the path names no folder; throws Win32Error
    // for a malformed path, a drive that is not ready, or a folder that cannot be read.
    std::optional<DirEntry> First(std::wstring_view pattern, DWORD mask);
    // The next admitted entry of the listing, or nothing at its end.
    std::optional<DirEntry> Next();

    // The same, answering only the first name, the empty string when there is none.
    std::wstring FirstName(std::wstring_view pattern, DWORD mask);

  private:
    std::optional<DirEntry> Admitted(const WIN32_FIND_DATAW& data);

    unique_hfind find_;
    DWORD mask_ = 0;
    std::wstring pattern_;
};

// A file name upper-cased as the file system compares names: letter case is not significant.
std::wstring FoldNameCase(std::wstring name);

} // namespace platform
