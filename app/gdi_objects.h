#pragma once
// Owners of the GDI objects the window makes for itself.

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
using unique_hbrush = platform::unique_any<GdiObjectTraits<HBRUSH>>;

} // namespace app
