#include "app/given_folder.h"

namespace app {

std::wstring CommandLinePath() {
    int count = 0;
    const platform::unique_hlocal arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!arguments || count < 2) {
        return std::wstring();
    }
    std::wstring path = static_cast<wchar_t**>(arguments.get())[1];
    // Explorer quotes a drive as "D:\", which arrives as D:" (a '\' before a '"' escapes it); no path
    // holds a '"'.
    if (!path.empty() && path.back() == L'"') {
        path.back() = L'\\';
    }
    if (path.empty()) {
        return path;
    }
    // A path relative to where the program was started from, as in "Brindle.exe ." typed in a console.
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return path;
        }
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

std::wstring DroppedPath(HDROP drop) {
    const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0) {
        return std::wstring();
    }
    std::wstring path(length + 1, L'\0');
    path.resize(::DragQueryFileW(drop, 0, path.data(), length + 1));
    return path;
}

std::wstring FolderOf(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const size_t slash = path.find_last_of(L'\\');
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        slash == std::wstring::npos) {
        return path;
    }
    // "D:\a.rar" keeps its root's '\'.
    const bool inRoot = slash == 2 && path[1] == L':';
    return path.substr(0, inRoot ? slash + 1 : slash);
}

} // namespace app
