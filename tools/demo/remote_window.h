#pragma once
// Reading a running Brindle window from another process, for the demo's driver.

#include <windows.h>

#include <string>

namespace remote {

// The main window once it shows, or nothing after timeoutMs.
inline HWND WaitForBrindleWindow(DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        const HWND window = ::FindWindowW(L"BrindleMainWindow", nullptr);
        if (window != nullptr && ::IsWindowVisible(window)) {
            return window;
        }
        ::Sleep(100);
    }
    return nullptr;
}

// GetWindowText does not ask a control of another process for its text; WM_GETTEXT does.
inline std::wstring Text(HWND control) {
    const auto length = ::SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(
        ::SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

} // namespace remote
