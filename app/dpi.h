#pragma once
// Per-monitor DPI for a window, with the calls of newer Windows versions looked up at run time so the
// program still starts on Windows 7.

#include <windows.h>

#include <string_view>

namespace app {

inline constexpr int DesignDpi = 96;

// The DPI of the monitor that window is on (the system DPI where the system cannot say).
int WindowDpi(HWND window);

// Gives window a client area of width x height pixels, keeping its top-left corner. The frame is measured
// on the window itself, so it is right at whatever DPI the system draws the frame.
void SetClientSize(HWND window, int width, int height);

// The Tahoma 9 pt font of every control, at dpi.
HFONT CreateDesignFont(int dpi);

// The size of one line of text in font, as drawn on control.
SIZE TextExtent(HWND control, HFONT font, std::wstring_view text);

} // namespace app
