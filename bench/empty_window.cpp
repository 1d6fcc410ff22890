// The smallest Win32 window program: the reference for Brindle's start-up time.
#include "startup_clock.h"

#include <windows.h>

#include <cwchar>

static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// With --parts it writes the moments its start-up steps end, as bench_startup_parts does, and closes.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    double moments[4];
    moments[0] = moments[1] = bench::SecondsSinceProcessStart();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"BenchEmptyWindow";
    ::RegisterClassW(&windowClass);
    const HWND window = ::CreateWindowW(L"BenchEmptyWindow", L"empty", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, 519, 330, nullptr, nullptr, instance, nullptr);
    moments[2] = bench::SecondsSinceProcessStart();
    ::ShowWindow(window, show);
    ::UpdateWindow(window);
    moments[3] = bench::SecondsSinceProcessStart();
    if (std::wcsstr(commandLine, L"--parts") != nullptr) {
        bench::WriteParts(moments, 4);
        ::DestroyWindow(window);
        return 0;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    return 0;
}
