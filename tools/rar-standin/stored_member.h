#pragma once
// One member of an archive made by the "a" command: stored, not compressed.

#include <windows.h>

#include <cstdint>
#include <string>

namespace rarstandin {

struct StoredMember {
    // Path inside the archive with '\' separators; each format writes its own separator.
    std::wstring name;
    bool directory = false;
    std::uint32_t attributes = FILE_ATTRIBUTE_ARCHIVE;
    FILETIME modified{};
};

} // namespace rarstandin
