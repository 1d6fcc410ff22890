// Looks at and steers a running Brindle window from a second process, for tests that press real keys
// at it, and starts it so that it cannot outlive the test. Prints what was asked for:
//   window_probe run PROGRAM [ARGUMENT]   starts PROGRAM in its folder and waits for its end; it (and all it
//                                          started) ends with the probe, however the probe ends
//   window_probe wait | focus | boxes | default | minimize | restore
//   window_probe where ID | enabled ID | text ID | caption | answers MS | processes NAME | kill
// (where: the middle of control ID on screen; answers: the slowest answer in ms to a message sent every 20 ms
// for MS ms; processes: how many processes run file NAME; kill: ends the window's process).

#include "started_program.h"

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

BOOL CALLBACK PrintDefaultButton(HWND control, LPARAM) {
    if ((::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) {
        std::printf("%d ", ::GetDlgCtrlID(control));
    }
    return TRUE;
}

// Sent, not read with GetWindowText, which gives no control's text across processes.
void PrintUtf8(HWND window) {
    std::wstring text(static_cast<size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<size_t>(
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                              static_cast<int>(bytes.size()), nullptr, nullptr)));
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::printf("\n");
}

int CountProcesses(const wchar_t* name) {
    const platform::unique_handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        count += _wcsicmp(entry.szExeFile, name) == 0 ? 1 : 0;
    }
    return count;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"processes" && argc > 2) {
        std::printf("%d\n", CountProcesses(argv[2]));
        return 0;
    }
    if (command == L"run" && argc > 2) {
        const testsupport::StartedProgram program(argv[2], argc > 3 ? argv[3] : L"");
        program.WaitForEnd(INFINITE);
        return 0;
    }
    const HWND window =
        testsupport::WaitForShownWindow(0, L"BrindleMainWindow", command == L"wait" ? 60000 : 0);
    if (window == nullptr) {
        std::fputs("the Brindle window is not there\n", stderr);
        return 1;
    }
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    const HWND control = argc > 2 ? ::GetDlgItem(window, std::wcstol(argv[2], nullptr, 10)) : nullptr;
    if (command == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
        HWND focus = ::IsChild(window, info.hwndFocus) ? info.hwndFocus : nullptr;
        // The edit field of the pattern box counts as the box.
        focus = focus != nullptr && ::GetParent(focus) != window ? ::GetParent(focus) : focus;
        std::printf("%d\n", focus != nullptr ? ::GetDlgCtrlID(focus) : 0);
    } else if (command == L"boxes") {
        std::printf("%d\n", static_cast<int>(testsupport::ShownWindowsOf(process, L"#32770").size()));
    } else if (command == L"default") {
        ::EnumChildWindows(window, PrintDefaultButton, 0);
        std::printf("\n");
    } else if (command == L"where" && control != nullptr) {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    } else if (command == L"enabled" && control != nullptr) {
        std::printf("%d\n", ::IsWindowEnabled(control) ? 1 : 0);
    } else if (command == L"text" && control != nullptr) {
        PrintUtf8(control);
    } else if (command == L"caption") {
        PrintUtf8(window);
    } else if (command == L"answers" && argc > 2) {
        ULONGLONG slowest = 0;
        const ULONGLONG end = ::GetTickCount64() + std::wcstoul(argv[2], nullptr, 10);
        while (::GetTickCount64() < end) {
            const ULONGLONG sent = ::GetTickCount64();
            DWORD_PTR result = 0;
            ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
            slowest = std::max(slowest, ::GetTickCount64() - sent);
            ::Sleep(20);
        }
        std::printf("%llu\n", slowest);
    } else if (command == L"kill") {
        const platform::unique_handle target(::OpenProcess(PROCESS_TERMINATE, FALSE, process));
        ::TerminateProcess(target.get(), 1);
    } else if (command == L"minimize" || command == L"restore") {
        ::SendMessageW(window, WM_SYSCOMMAND, command == L"minimize" ? SC_MINIMIZE : SC_RESTORE, 0);
    } else if (command != L"wait") {
        std::fputs("window_probe: unknown command; see the comment at the top of window_probe.cpp\n", stderr);
        return 2;
    }
    return 0;
}
