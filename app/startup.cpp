#include "app/startup.h"

#include "app/version.h"
#include "job/job_state.h"
#include "platform/dir_listing.h"
#include "platform/sys_api.h"

#include <windows.h>

namespace app {

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) {
        return path;
    }
    // "D:\Brindle.exe" keeps its root's '\'; "D:\Tools\Brindle.exe" loses the final one.
    const bool isRoot = slash == 2 && path[1] == L':';
    return path.substr(0, isRoot ? slash + 1 : slash);
}

std::wstring ArchiverPath(const std::wstring& programFolder) {
    return job::JoinFolder(programFolder, L"Rar.exe");
}

bool ArchiverPresent(const std::wstring& path) {
    platform::DirListing listing;
    return !listing.FirstName(path, 0).empty();
}

std::wstring ArchiverCommandPath(const std::wstring& path) {
    const std::wstring shortPath = sysAPI::GetShortPath(path);
    return shortPath.empty() ? path : shortPath;
}

std::wstring ArchiverMissingText() {
    return L"本程序目录中找不到 Rar.exe！\r\n您可以从 WinRAR 程序目录中复制一份。\r\n";
}

std::wstring WindowCaption() {
    return std::wstring(ProgramTitle) + L" - v" + std::to_wstring(BRINDLE_VERSION_MAJOR) + L"." +
           std::to_wstring(BRINDLE_VERSION_MINOR) + L"." + std::to_wstring(BRINDLE_VERSION_REVISION);
}

const std::array<const wchar_t*, 5>& PatternEntries() {
    static const std::array<const wchar_t*, 5> entries = {L"*.htm", L"*.url", L"*.lnk", L"*.nfo", L"*.txt"};
    return entries;
}

} // namespace app
