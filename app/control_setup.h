#pragma once
// Setting up the main window: its class, its controls from the table, their places at a DPI, and its
// place on the screen. Free of the window's state, so the window class keeps only its handlers.

#include <windows.h>

namespace app {

// Registers the window class with the program's icon; a class already registered is fine.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC windowProc);
// Creates the controls of the table in tab order, as children of window.
void CreateControls(HWND window);
// Places and sizes every control for dpi and gives it font; sized labels follow their caption.
void LayOutControls(HWND window, HFONT font, int dpi);
// Centres window on the work area of its monitor.
void CenterOnWorkArea(HWND window);

} // namespace app
