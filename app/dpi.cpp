#include "app/dpi.h"

namespace app {

namespace {

template <typename Function> Function User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const FARPROC address = user32 != nullptr ? ::GetProcAddress(user32, name) : nullptr;
    // Through a plain function pointer type, which every compiler accepts as a neutral step.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

int SystemDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : DesignDpi;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : DesignDpi;
}

} // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return SystemDpi();
}

void SetClientSize(HWND window, int width, int height, const POINT* topLeft) {
    RECT outer{};
    RECT client{};
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (topLeft == nullptr ? SWP_NOMOVE : 0);
    ::SetWindowPos(window, nullptr, topLeft != nullptr ? topLeft->x : 0, topLeft != nullptr ? topLeft->y : 0,
                   width + frameWidth, height + frameHeight, flags);
}

HFONT CreateDesignFont(int dpi) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(9, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
    return ::CreateFontIndirectW(&font);
}

} // namespace app
