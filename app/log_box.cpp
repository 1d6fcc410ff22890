#include "app/log_box.h"

#include "job/log_entry.h"

namespace app {

void RemoveLogLimit(HWND edit) {
    ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
}

void AppendLogEntry(HWND edit, std::wstring_view message, const SYSTEMTIME& time) {
    const LRESULT length = ::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    const std::wstring entry = job::LogEntry(length == 0, time, message);
    // Replacing an empty selection at the end costs the entry's length, not the log's.
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(entry.c_str()));
    const LRESULT end = ::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

} // namespace app
