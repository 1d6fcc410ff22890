#pragma once
// Setting up the main window: its class, its controls from the table, their places at a DPI, and its
// place on the screen. Free of the window's state, so the window class keeps only its handlers.

#include "app/layout.h"

#include <windows.h>

#include <array>

namespace app {

// The window's controls by id, noted as they are made. Finding a control by its id asks the window
// manager for the list of the window's children each time.
class ControlHandles {
  public:
    HWND operator[](ControlId id) const noexcept { return handles_[Index(id)]; }
    void Set(ControlId id, HWND control) noexcept { handles_[Index(id)] = control; }
    void Clear() noexcept { handles_ = {}; }

  private:
    static size_t Index(ControlId id) noexcept { return static_cast<size_t>(id - fraPath); }
    std::array<HWND, cmdStop - fraPath + 1> handles_{};
};

// Registers the window class with the program's icon; a class already registered is fine.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC windowProc);
// Creates the controls of the table in tab order, as children of window, noting each in controls.
void CreateControls(HWND window, ControlHandles& controls);
// Places and sizes every control for dpi and gives it font; sized labels follow their caption.
void LayOutControls(HWND window, const ControlHandles& controls, HFONT font, int dpi);
// Centres window on the work area of its monitor.
void CenterOnWorkArea(HWND window);

} // namespace app
