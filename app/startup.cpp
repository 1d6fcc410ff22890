#include "app/startup.h"

#include "app/version.h"
#include "job/job_state.h"
#include "platform/dir_listing.h"
#include "platform/file_path.h"
#include "platform/grown_string.h"
#include "platform/sys_api.h"

#include <windows.h>

namespace app {

std::wstring ProgramFolder() {
    const std::wstring program =
        platform::GrowToFit("GetModuleFileNameW", L"", [](wchar_t* buffer, DWORD size) {
            return ::GetModuleFileNameW(nullptr, buffer, size);
        });
    return platform::ParentFolder(program);
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
