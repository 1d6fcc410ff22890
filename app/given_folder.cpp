#include "app/given_folder.h"

#include "platform/file_path.h"
#include "platform/win32_error.h"

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
    try {
        return platform::FullPathName(path);
    } catch (const platform::Win32Error&) {
        return path; // the run refuses it with its message
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
    const DWORD attributes = ::GetFileAttributesW(platform::PathForFileCall(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return path;
    }
    return platform::ParentFolder(path);
}

} // namespace app
