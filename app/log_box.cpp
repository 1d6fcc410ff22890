#include "app/log_box.h"

#include "app/controls.h"
#include "job/log_entry.h"
#include "platform/unique_handle.h"

#include <algorithm>

namespace app {

namespace {

// Moveable local memory is freed unless handed on (release) to the edit control.
using platform::unique_hlocal;

// A moveable block locked for as long as its text is read or written.
class LockedText {
  public:
    explicit LockedText(HLOCAL memory) : memory_(memory), text_(static_cast<wchar_t*>(::LocalLock(memory))) {}
    ~LockedText() {
        if (text_ != nullptr) {
            ::LocalUnlock(memory_);
        }
    }
    LockedText(const LockedText&) = delete;
    LockedText& operator=(const LockedText&) = delete;

    wchar_t* text() const noexcept { return text_; }

  private:
    HLOCAL memory_;
    wchar_t* text_;
};

// The box grows its buffer to the exact size each append needs, moving the whole log every time. Handing
// it a buffer with room ahead, twice what it holds, keeps the cost of an append at the entry's length.
// held is the length of the text in the box, needed the length it is about to reach.
void MakeRoom(HWND edit, size_t held, size_t needed) {
    const HLOCAL current = EditGetHandle(edit);
    if (current == nullptr) {
        return;
    }
    const size_t capacity = ::LocalSize(current) / sizeof(wchar_t);
    if (capacity > needed) {
        return;
    }
    const size_t room = std::max(needed + 1, capacity * 2);
    unique_hlocal larger(::LocalAlloc(LMEM_MOVEABLE, room * sizeof(wchar_t)));
    if (!larger) {
        return; // the box still grows its own buffer
    }
    {
        // With common controls 6 the buffer holds UTF-16 whichever way the box was made.
        const LockedText text(current);
        const LockedText copy(larger.get());
        if (text.text() == nullptr || copy.text() == nullptr) {
            return;
        }
        std::copy(text.text(), text.text() + held, copy.text());
        copy.text()[held] = L'\0';
    }
    // The box owns the larger buffer from here on; the one it gives back is freed with this owner.
    EditSetHandle(edit, larger.release());
    larger.reset(current);
}

} // namespace

DrawingHeld::DrawingHeld(HWND edit)
    : edit_(edit), shown_((::GetWindowLongPtrW(edit, GWL_STYLE) & WS_VISIBLE) != 0) {
    // The edit control keeps WM_SETREDRAW to itself (under Wine it never reaches the default handler), so
    // the default handler is called for it directly.
    if (shown_) {
        ::DefWindowProcW(edit_, WM_SETREDRAW, FALSE, 0);
    }
}

DrawingHeld::~DrawingHeld() {
    if (shown_) {
        ::DefWindowProcW(edit_, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(edit_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
    }
}

void ReserveLogRoom(HWND edit) {
    constexpr size_t InitialRoom = 32 * 1024; // characters: some 200 entries of a batch written
    MakeRoom(edit, 0, InitialRoom);
}

namespace {

// Appends text at the end of the box and puts the caret after it, in view.
void AppendAtEnd(HWND edit, const std::wstring& text) {
    const size_t length = TextLength(edit);
    const DrawingHeld held(edit);
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
