#include "support.h"

#include "platform/ansi_text.h"
#include "platform/unique_handle.h"

#include <vector>

namespace bench {

std::string Narrow(const std::wstring& text) {
    return platform::TryToAnsi(text).value_or("(not in the ANSI code page)");
}

void Touch(const std::wstring& path) {
    platform::unique_handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
}

STARTUPINFOW OutputTo(HANDLE output) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    return startup;
}

void RunQuietly(std::wstring command, const std::wstring& folder) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    platform::unique_handle nul(
        ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup = OutputTo(nul.get());
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        platform::unique_handle thread(process.hThread), handle(process.hProcess);
        ::WaitForSingleObject(process.hProcess, INFINITE);
    }
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&message);
    }
}

size_t BareWalk(const std::wstring& folder, FINDEX_INFO_LEVELS level) {
    size_t archives = 0;
    WIN32_FIND_DATAW data;
    platform::unique_hfind find(::FindFirstFileExW(
        (folder + L"\\*").c_str(), level, &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return 0;
    }
    std::vector<std::wstring> subfolders;
    do {
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
            continue;
        }
        const std::wstring name = data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L"..") {
                subfolders.push_back(folder + L"\\" + name);
            }
        } else if (name.size() > 4 && ::lstrcmpiW(name.c_str() + name.size() - 4, L".rar") == 0) {
            ++archives;
        }
    } while (::FindNextFileW(find.get(), &data));
    for (const auto& subfolder : subfolders) {
        archives += BareWalk(subfolder, level);
    }
    return archives;
}

} // namespace bench
