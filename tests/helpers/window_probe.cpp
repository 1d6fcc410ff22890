// Looks at and steers a running Brindle window from a second process, for tests that press real keys
// at it: which control has the focus, what a control holds, minimise and restore as the title bar does.
//
//   window_probe wait                 waits until the window shows
//   window_probe focus                the id of the control with the focus, 0 when none has it
//   window_probe text ID | checked ID the text of a control, or 1/0 for a check box
//   window_probe boxes                how many message boxes and dialogs of the program are open
//   window_probe minimize | restore

#include "tools/demo/remote_window.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND MainWindow() {
    return ::FindWindowW(L"BrindleMainWindow", nullptr);
}

void PrintUtf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputs("\n", stdout);
}

struct BoxCount {
    DWORD process;
    int count;
};

BOOL CALLBACK CountBoxes(HWND window, LPARAM parameter) {
    auto* boxes = reinterpret_cast<BoxCount*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (process == boxes->process && ::IsWindowVisible(window) && std::wcscmp(className, L"#32770") == 0) {
        ++boxes->count;
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: window_probe wait|focus|text ID|checked ID|boxes|minimize|restore\n", stderr);
        return 2;
    }
    const std::wstring command = argv[1];
    const HWND window = command == L"wait" ? remote::WaitForBrindleWindow(60000) : MainWindow();
    if (window == nullptr) {
        std::fputs("the Brindle window is not there\n", stderr);
        return 1;
    }
    const HWND control = argc > 2 ? ::GetDlgItem(window, std::wcstol(argv[2], nullptr, 10)) : nullptr;
    if (command == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
        const bool ours = info.hwndFocus != nullptr && ::IsChild(window, info.hwndFocus);
        // The edit field of the pattern box counts as the box.
        HWND focus = ours ? info.hwndFocus : nullptr;
        if (focus != nullptr && ::GetParent(focus) != window) {
            focus = ::GetParent(focus);
        }
        std::printf("%d\n", focus != nullptr ? ::GetDlgCtrlID(focus) : 0);
    } else if (command == L"text") {
        PrintUtf8(remote::Text(control));
    } else if (command == L"checked") {
        std::printf("%d\n", ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    } else if (command == L"boxes") {
        BoxCount boxes{0, 0};
        ::GetWindowThreadProcessId(window, &boxes.process);
        ::EnumWindows(CountBoxes, reinterpret_cast<LPARAM>(&boxes));
        std::printf("%d\n", boxes.count);
    } else if (command == L"minimize" || command == L"restore") {
        ::SendMessageW(window, WM_SYSCOMMAND, command == L"minimize" ? SC_MINIMIZE : SC_RESTORE, 0);
    } else if (command != L"wait") {
        std::fputs("unknown command\n", stderr);
        return 2;
    }
    return 0;
}
