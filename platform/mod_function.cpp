#include "platform/mod_function.h"

#include "platform/dir_listing.h"

namespace ModFunction {

bool FolderExists(const std::wstring& path) {
    platform::DirListing listing;
    return !listing.FirstName(path, platform::attr::Directory).empty();
}

} // namespace ModFunction
