#pragma once

#include <string>

namespace ModFunction {

// True when path names a folder or an ordinary file that is neither hidden nor system; for a path ending
// in '\' it tells whether the folder lists an admitted entry. Throws platform::Win32Error for a malformed
// path or a drive that is not ready.
bool FolderExists(const std::wstring& path);

} // namespace ModFunction
