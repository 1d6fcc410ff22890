#pragma once
// Per-monitor DPI for a window, with the calls of newer Windows versions looked up at run time so the
// program still starts on Windows 7.

#include <windows.h>

namespace app {

inline constexpr int DesignDpi = 96;

// The DPI of the monitor that window is on (the system DPI where the system cannot say).
int WindowDpi(HWND window);

// Gives window a client area of width x height pixels, keeping its top-left corner (or moving it to
// left, top). The frame is measured on the window itself, so it is right at whatever DPI the system
// draws the frame.
void SetClientSize(HWND window, int width, int height, const POINT* topLeft = nullptr);

// The Tahoma 9 pt font of every control, at dpi.
HFONT CreateDesignFont(int dpi);

} // namespace app
