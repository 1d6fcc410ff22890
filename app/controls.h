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
inline size_t TextLength(HWND control) {
    return static_cast<size_t>(::SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
}
// The edit box's text buffer (moveable local memory), or null for a box that keeps none.
inline HLOCAL EditGetHandle(HWND edit) {
    return reinterpret_cast<HLOCAL>(::SendMessageW(edit, EM_GETHANDLE, 0, 0));
}
// Hands the box a buffer it owns from then on; the one it held is the caller's to free.
inline void EditSetHandle(HWND edit, HLOCAL buffer) {
    ::SendMessageW(edit, EM_SETHANDLE, reinterpret_cast<WPARAM>(buffer), 0);
}
inline void EditSetSel(HWND edit, size_t start, size_t end) {
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}
inline void EditReplaceSel(HWND edit, const std::wstring& text) {
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}
inline void EditScrollCaret(HWND edit) {
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
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
