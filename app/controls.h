#pragma once
// One-line typed wrappers over the control messages the window sends.

#include <windows.h>

#include <string>
#include <string_view>

namespace app {

inline std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}
inline void SetTextOf(HWND control, const std::wstring& text) {
    ::SetWindowTextW(control, text.c_str());
}
inline bool IsChecked(HWND checkBox) {
    return ::SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
// Gives a push button the default border (and Enter, for the dialog manager) or takes it away; a button that
// already shows as asked is left alone, so it does not flicker.
inline void ShowAsDefault(HWND button, bool isDefault) {
    const bool shown = (::SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    if (shown != isDefault) {
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(button, GWL_STYLE));
        const DWORD type = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        // The style's other button bits (BS_NOTIFY) are passed along, as some versions set them all.
        ::SendMessageW(button, BM_SETSTYLE, (style & 0xFFFF & ~BS_TYPEMASK) | type, TRUE);
    }
}
inline void SetFont(HWND control, HFONT font) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}
// No limit on what the user may type or the log may hold.
inline void RemoveTextLimit(HWND edit) {
    ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
}
inline void RemoveComboTextLimit(HWND combo) {
    ::SendMessageW(combo, CB_LIMITTEXT, 0, 0);
}
inline void ComboResetContent(HWND combo) {
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
}
inline void ComboInsertString(HWND combo, size_t index, const wchar_t* text) {
    ::SendMessageW(combo, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text));
}
inline void ComboSetCurSel(HWND combo, size_t index) {
    ::SendMessageW(combo, CB_SETCURSEL, index, 0);
}

} // namespace app
