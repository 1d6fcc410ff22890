// Looks at and steers a running Brindle window from a second process, for tests that press real keys
// at it. Prints what was asked for:
//   window_probe wait | focus | boxes | minimize | restore
// (focus: the id of the control with the focus, 0 for none; boxes: the program's open dialogs).

#include "tools/demo/remote_window.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

BOOL CALLBACK CountBoxes(HWND window, LPARAM counter) {
    auto* boxes = reinterpret_cast<std::pair<DWORD, int>*>(counter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    boxes->second +=
        process == boxes->first && ::IsWindowVisible(window) && std::wcscmp(className, L"#32770") == 0;
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    const HWND window = command == L"wait" ? remote::WaitForBrindleWindow(60000)
                                           : ::FindWindowW(L"BrindleMainWindow", nullptr);
    if (window == nullptr) {
        std::fputs("the Brindle window is not there\n", stderr);
        return 1;
    }
    if (command == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
        HWND focus = ::IsChild(window, info.hwndFocus) ? info.hwndFocus : nullptr;
        // The edit field of the pattern box counts as the box.
        focus = focus != nullptr && ::GetParent(focus) != window ? ::GetParent(focus) : focus;
        std::printf("%d\n", focus != nullptr ? ::GetDlgCtrlID(focus) : 0);
    } else if (command == L"boxes") {
        std::pair<DWORD, int> boxes{0, 0};
        ::GetWindowThreadProcessId(window, &boxes.first);
        ::EnumWindows(CountBoxes, reinterpret_cast<LPARAM>(&boxes));
        std::printf("%d\n", boxes.second);
    } else if (command == L"minimize" || command == L"restore") {
        ::SendMessageW(window, WM_SYSCOMMAND, command == L"minimize" ? SC_MINIMIZE : SC_RESTORE, 0);
    } else if (command != L"wait") {
        std::fputs("usage: window_probe wait|focus|boxes|minimize|restore\n", stderr);
        return 2;
    }
    return 0;
}
