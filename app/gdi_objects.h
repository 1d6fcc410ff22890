#pragma once
// Owners of the GDI objects and device contexts the window uses.

#include "platform/unique_handle.h"

#include <windows.h>

namespace app {

template <typename Object> struct GdiObjectTraits {
    using pointer = Object;
    static pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(pointer object) noexcept { return object != nullptr; }
    static void Close(pointer object) noexcept { ::DeleteObject(object); }
};

using unique_hfont = platform::unique_any<GdiObjectTraits<HFONT>>;

// A window's device context from GetDC, released when done.
class window_dc {
  public:
    explicit window_dc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~window_dc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
    }
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

} // namespace app
