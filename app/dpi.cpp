#include "app/dpi.h"

#include "app/gdi_objects.h"
#include "platform/scope_exit.h"

namespace app {

namespace {

template <typename Function> Function User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const FARPROC address = user32 != nullptr ? ::GetProcAddress(user32, name) : nullptr;
    // Through a plain function pointer type, which every compiler accepts as a neutral step.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

int SystemDpi() {
    const window_dc screen(nullptr);
    const int dpi = screen.get() != nullptr ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : DesignDpi;
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

void SetClientSize(HWND window, int width, int height) {
    RECT outer{};
    RECT client{};
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    ::SetWindowPos(window, nullptr, 0, 0, width + frameWidth, height + frameHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
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

SIZE TextExtent(HWND control, HFONT font, std::wstring_view text) {
    SIZE size{};
    const window_dc dc(control);
    const HGDIOBJ previous = ::SelectObject(dc.get(), font);
    const platform::scope_exit reselect([&] { ::SelectObject(dc.get(), previous); });
    ::GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace app
