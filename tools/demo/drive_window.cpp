// Drives a running Brindle window the way a person would for the demo: types the folder, ticks
// "include subfolders", presses Execute, waits for the run to end and prints the message log.
//
//   drive_window <folder> <log file> [pattern]     the log is written there in UTF-8; without a pattern
//                                                  the window's own "*.htm" stays

#include "app/layout.h"

#include "tools/demo/remote_window.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int FolderBox = app::txtPath;
constexpr int IncludeSubfolders = app::chkSubPath;
constexpr int Pattern = app::cmbFileType;
constexpr int Execute = app::cmdExecute;
constexpr int Log = app::txtOutput;

size_t Count(const std::wstring& text, const std::wstring& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

bool WriteUtf8(const wchar_t* path, const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    FILE* file = _wfopen(path, L"wb");
    if (file == nullptr) {
        return false;
    }
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4) {
        fwprintf(stderr, L"usage: drive_window <folder> <log file> [pattern]\n");
        return 2;
    }
    const HWND window = remote::WaitForBrindleWindow(60000);
    if (window == nullptr) {
        fwprintf(stderr, L"the Brindle window did not appear\n");
        return 1;
    }
    ::SetForegroundWindow(window);
    ::SendMessageW(::GetDlgItem(window, FolderBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[1]));
    if (argc == 4) {
        ::SendMessageW(::GetDlgItem(window, Pattern), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
    }
    ::SendMessageW(::GetDlgItem(window, IncludeSubfolders), BM_CLICK, 0, 0);
    // Posted, as a click is: the run holds the window's thread until it ends.
    ::PostMessageW(::GetDlgItem(window, Execute), BM_CLICK, 0, 0);

    // A run that executes its batch leaves two entries, each closed by a rule after its message.
    const std::wstring rule = std::wstring(60, L'-');
    std::wstring log;
    for (int waited = 0; waited < 300000; waited += 200) {
        ::Sleep(200);
        DWORD_PTR length = 0;
        if (!::SendMessageTimeoutW(::GetDlgItem(window, Log), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 100,
                                   &length)) {
            continue;
        }
        log = remote::Text(::GetDlgItem(window, Log));
        if (Count(log, rule) >= 4 && ::IsWindowEnabled(::GetDlgItem(window, Execute))) {
            break;
        }
    }
    return WriteUtf8(argv[2], log) && Count(log, rule) >= 4 ? 0 : 1;
}
