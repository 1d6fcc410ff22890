#include "app/log_box.h"

#include "app/controls.h"
#include "job/log_entry.h"
#include "platform/scope_exit.h"
#include "platform/unique_handle.h"

#include <algorithm>

namespace app {

namespace {

// Moveable local memory is freed unless handed on (release) to the edit control.
using platform::unique_hlocal;

// The box grows its buffer to the exact size each append needs, moving the whole log every time. Handing
// it a buffer with room ahead, twice what it holds, keeps the cost of an append at the entry's length.
// held is the length of the text in the box, needed the length it is about to reach.
void MakeRoom(HWND edit, size_t held, size_t needed) {
    const HLOCAL current = EditGetHandle(edit);
    if (current == nullptr) {
        return;
    }
    const size_t capacity = ::LocalSize(current) / sizeof(wchar_t);
    // Handing over a buffer makes the box lay out its whole text again: seconds for a log of millions of
    // lines under Wine, more than the box's own growth then costs.
    constexpr size_t LargestHandedOver = 4 * 1024 * 1024;
    if (capacity > needed || needed > LargestHandedOver) {
        return;
    }
    const size_t room = std::max(needed + 1, capacity * 2);
    unique_hlocal larger(::LocalAlloc(LMEM_MOVEABLE, room * sizeof(wchar_t)));
    if (!larger) {
        return; // the box still grows its own buffer
    }
    {
        // With common controls 6 the buffer holds UTF-16 whichever way the box was made.
        const auto* text = static_cast<const wchar_t*>(::LocalLock(current));
        const platform::scope_exit unlockText([&] { ::LocalUnlock(current); });
        auto* copy = static_cast<wchar_t*>(::LocalLock(larger.get()));
        const platform::scope_exit unlockCopy([&] { ::LocalUnlock(larger.get()); });
        if (text == nullptr || copy == nullptr) {
            return;
        }
        std::copy(text, text + held, copy);
        copy[held] = L'\0';
    }
    // The box owns the larger buffer from here on; the one it gives back is freed with this owner.
    EditSetHandle(edit, larger.release());
    larger.reset(current);
}

} // namespace

void ReserveLogRoom(HWND edit) {
    constexpr size_t InitialRoom = 32 * 1024; // characters: some 200 entries of a batch written
    MakeRoom(edit, 0, InitialRoom);
}

namespace {

// Appends text at the end of the box and puts the caret after it, in view.
void AppendAtEnd(HWND edit, const std::wstring& text) {
    const size_t length = TextLength(edit);
    // An append redraws the box's two scroll bars there and then, some 15 ms each under Wine: the box is
    // kept from drawing until it is done, and then painted once. The edit control keeps WM_SETREDRAW to
    // itself (under Wine it never reaches the default handler), so the default handler gets it directly.
    const bool shown = (::GetWindowLongPtrW(edit, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown) {
        ::DefWindowProcW(edit, WM_SETREDRAW, FALSE, 0);
    }
    const platform::scope_exit redraw([&] {
        if (shown) {
            ::DefWindowProcW(edit, WM_SETREDRAW, TRUE, 0);
            ::RedrawWindow(edit, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
        }
    });
    MakeRoom(edit, length, length + text.size());
    // Replacing an empty selection at the end costs the text's length, not the log's.
    EditSetSel(edit, length, length);
    EditReplaceSel(edit, text);
    const size_t end = TextLength(edit);
    EditSetSel(edit, end, end);
    EditScrollCaret(edit);
}

} // namespace

void GrowingLogEntry::Open(HWND edit, const SYSTEMTIME& time) {
    AppendAtEnd(edit, job::LogEntryHead(TextLength(edit) == 0, time));
    open_ = true;
}

void GrowingLogEntry::Append(HWND edit, std::wstring_view piece) {
    if (open_ && !piece.empty()) {
        AppendAtEnd(edit, job::LogEntryText(piece));
    }
}

void GrowingLogEntry::Close(HWND edit) {
    if (open_) {
        AppendAtEnd(edit, job::LogEntryTail());
        open_ = false;
    }
}

void AppendLogEntry(HWND edit, std::wstring_view message, const SYSTEMTIME& time) {
    AppendAtEnd(edit, job::LogEntry(TextLength(edit) == 0, time, message));
}

} // namespace app
