#include "platform/short_path.h"

#include "platform/ansi_text.h"
#include "platform/file_identity.h"
#include "platform/sys_api.h"

#include <windows.h>

#include <algorithm>

namespace {

// The short form through GetShortPathNameA or W. The buffer starts at the path's length and grows to what
// the call asks for: a short form can be longer than the long one (a blank gains a ~1 tail), and in the
// ANSI form double-byte characters take two bytes each. Nothing when the call finds no short form.
template <typename Char, typename Call>
std::optional<std::basic_string<Char>> ShortForm(const Char* path, size_t length, Call call) {
    std::basic_string<Char> buffer(length + 1, Char{});
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD result = call(path, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (result == 0) {
            return std::nullopt;
        }
        if (result < buffer.size()) {
            buffer.resize(result);
            return buffer;
        }
        buffer.assign(result, Char{});
    }
    return std::nullopt;
}

} // namespace

namespace sysAPI {

std::wstring GetShortPath(std::wstring_view path) {
    const auto ansiPath = platform::TryToAnsi(path);
    if (!ansiPath) {
        return std::wstring();
    }
    auto shortPath = ShortForm(ansiPath->c_str(), path.size(), ::GetShortPathNameA);
    if (!shortPath) {
        return std::wstring();
    }
    shortPath->erase(std::remove(shortPath->begin(), shortPath->end(), '\0'), shortPath->end());
    return platform::FromAnsi(*shortPath);
}

} // namespace sysAPI

namespace platform {

std::optional<std::wstring> WideShortPath(std::wstring_view path) {
    const std::wstring longPath(path);
    return ShortForm(longPath.c_str(), longPath.size(), ::GetShortPathNameW);
}

std::optional<std::wstring> VerifiedShortPath(const std::wstring& path) {
    auto shortPath = WideShortPath(path);
    if (!shortPath || shortPath->empty() || (*shortPath != path && !SameFile(path, *shortPath))) {
        return std::nullopt;
    }
    return shortPath;
}

std::wstring SystemFilePath(std::wstring_view name) {
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::wstring();
    }
    return std::wstring(system, length) + L"\\" + std::wstring(name);
}

} // namespace platform
