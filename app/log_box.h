#pragma once
// The message log's text box: entries are appended at the end, never by rewriting the whole text.

#include <windows.h>

#include <string_view>

namespace app {

// Lets the box hold as much text as the system allows.
void RemoveLogLimit(HWND edit);
// Hands the empty box room for the entries of many runs. Made while the window is hidden, where it costs
// nothing; once shown, every new buffer makes the box lay out and redraw its scroll bars.
void ReserveLogRoom(HWND edit);

// Appends one stamped entry for message at time and puts the caret at the end, in view.
void AppendLogEntry(HWND edit, std::wstring_view message, const SYSTEMTIME& time);

} // namespace app
