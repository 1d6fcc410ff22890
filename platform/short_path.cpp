#include "platform/short_path.h"

#include "platform/ansi_text.h"
#include "platform/sys_api.h"

#include <algorithm>

namespace sysAPI {

std::wstring GetShortPath(std::wstring_view path) {
    const auto ansiPath = platform::TryToAnsi(path);
    if (!ansiPath) {
        return std::wstring();
    }
    // Start with the length of the path and grow to what the call asks for: a short form can be longer
    // than the long one (a blank gains a ~1 tail) and double-byte characters take two bytes each.
    std::string buffer(path.size() + 1, '\0');
    DWORD result = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        result = ::GetShortPathNameA(ansiPath->c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (result < buffer.size()) {
            break;
        }
        buffer.assign(result, '\0');
        result = 0;
    }
    if (result == 0) {
        return std::wstring();
    }
    buffer.resize(result);
    buffer.erase(std::remove(buffer.begin(), buffer.end(), '\0'), buffer.end());
    return platform::FromAnsi(buffer);
}

} // namespace sysAPI

namespace platform {

std::optional<std::wstring> WideShortPath(std::wstring_view path) {
    const std::wstring longPath(path);
    std::wstring buffer(longPath.size() + 1, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD result =
            ::GetShortPathNameW(longPath.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (result == 0) {
            return std::nullopt;
        }
        if (result < buffer.size()) {
            buffer.resize(result);
            return buffer;
        }
        buffer.assign(result, L'\0');
    }
    return std::nullopt;
}

} // namespace platform
