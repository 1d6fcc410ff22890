#pragma once
// The message log's text box: entries are appended at the end, never by rewriting the whole text.

#include <windows.h>

#include <string_view>

namespace app {

// Hands the empty box room for the entries of many runs. Made while the window is hidden, where it costs
// nothing; once shown, every new buffer makes the box lay out and redraw its scroll bars.
void ReserveLogRoom(HWND edit);

// Appends one stamped entry for message at time and puts the caret at the end, in view.
void AppendLogEntry(HWND edit, std::wstring_view message, const SYSTEMTIME& time);

// An entry whose message arrives piece by piece, as a run's output does: opened with the time line, each
// piece appended where it arrives, closed with the rule. The text ends as AppendLogEntry's would.
class GrowingLogEntry {
  public:
    void Open(HWND edit, const SYSTEMTIME& time);
    void Append(HWND edit, std::wstring_view piece);
    void Close(HWND edit);

  private:
    bool open_ = false;
};

} // namespace app
