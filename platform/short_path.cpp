#include "platform/short_path.h"

#include "platform/ansi_text.h"
#include "platform/file_identity.h"
#include "platform/file_path.h"
#include "platform/grown_string.h"
#include "platform/sys_api.h"

#include <windows.h>

#include <algorithm>

namespace sysAPI {

std::wstring GetShortPath(std::wstring_view path) {
    const auto ansiPath = platform::TryToAnsi(path);
    if (!ansiPath) {
        return std::wstring();
    }
    std::string shortPath;
    try {
        // In the ANSI form a double-byte character takes two bytes, so the buffer may grow once.
        shortPath =
            platform::GrowToFit<char>("GetShortPathNameA", path, [&ansiPath](char* buffer, DWORD size) {
                return ::GetShortPathNameA(ansiPath->c_str(), buffer, size);
            });
    } catch (const platform::Win32Error&) {
        return std::wstring();
    }
    shortPath.erase(std::remove(shortPath.begin(), shortPath.end(), '\0'), shortPath.end());
    return platform::FromAnsi(shortPath);
}

} // namespace sysAPI

namespace platform {

std::optional<std::wstring> WideShortPath(std::wstring_view path) {
    const std::wstring longPath(path);
    // Past MAX_PATH the wide call takes the path only with the \\?\ prefix, and answers with it.
    const std::wstring callPath = PathForFileCall(longPath);
    try {
        std::wstring shortPath =
            GrowToFit("GetShortPathNameW", longPath, [&callPath](wchar_t* buffer, DWORD size) {
                return ::GetShortPathNameW(callPath.c_str(), buffer, size);
            });
        return callPath == longPath ? shortPath : WithoutLongPathPrefix(shortPath);
    } catch (const Win32Error&) {
        return std::nullopt;
    }
}

std::optional<std::wstring> VerifiedShortPath(const std::wstring& path) {
    auto shortPath = WideShortPath(path);
    if (!shortPath || shortPath->empty() || (*shortPath != path && !SameFile(path, *shortPath))) {
        return std::nullopt;
    }
    return shortPath;
}

std::wstring SystemFilePath(std::wstring_view name) {
    try {
        const std::wstring system = GrowToFit("GetSystemDirectoryW", {}, [](wchar_t* buffer, DWORD size) {
            return ::GetSystemDirectoryW(buffer, size);
        });
        return system + L"\\" + std::wstring(name);
    } catch (const Win32Error&) {
        return std::wstring();
    }
}

} // namespace platform
