#include "platform/file_path.h"

#include "platform/grown_string.h"

#include <windows.h>

#include <algorithm>

namespace platform {

namespace {

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

} // namespace

std::wstring FullPathName(std::wstring_view path) {
    const std::wstring given(path);
    return GrowToFit("GetFullPathNameW", given, [&given](wchar_t* buffer, DWORD size) {
        return ::GetFullPathNameW(given.c_str(), size, buffer, nullptr);
    });
}

std::wstring PathForFileCall(const std::wstring& path) {
    if (path.size() < LongPathFrom) {
        return path;
    }
    std::wstring full = path;
    std::replace(full.begin(), full.end(), L'/', L'\\');
    if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) {
        return path;
    }
    if (IsDriveLetter(full[0]) && full[1] == L':' && full[2] == L'\\') {
        return L"\\\\?\\" + full;
    }
    if (StartsWith(full, L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return path;
}

std::wstring WithoutLongPathPrefix(const std::wstring& path) {
    if (StartsWith(path, L"\\\\?\\UNC\\")) {
        return L"\\" + path.substr(7);
    }
    return StartsWith(path, L"\\\\?\\") ? path.substr(4) : path;
}

std::wstring ParentFolder(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) {
        return path;
    }
    const bool inRoot = slash == 2 && path[1] == L':';
    return path.substr(0, inRoot ? slash + 1 : slash);
}

} // namespace platform
