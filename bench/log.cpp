// Log growth: WriteMessage into the real window against the textbook append (select the end, replace the
// selection) to a bare edit control of the same styles, size and font, entry by entry in turn so both
// meet the same moments of a shared machine. Blocks of 500 entries keep single slow moments from
// deciding the verdict.
#include "app/frm_main.h"
#include "app/log_box.h"
#include "app/startup.h"
#include "benchmarks.h"
#include "job/log_entry.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <cstdio>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr int Entries = 2000;
constexpr int Block = 500;

// An edit control styled as Brindle's log, alone in a window of its own.
class BareLog {
  public:
    explicit BareLog(HWND model) {
        RECT rect{};
        ::GetClientRect(model, &rect);
        frame_ = ::CreateWindowExW(0, L"STATIC", L"bare log", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   rect.right + 40, rect.bottom + 60, nullptr, nullptr, nullptr, nullptr);
        const DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL |
                            ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL;
        edit_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, 8, 8, rect.right, rect.bottom,
                                  frame_, nullptr, nullptr, nullptr);
        ::SendMessageW(edit_, WM_SETFONT, ::SendMessageW(model, WM_GETFONT, 0, 0), FALSE);
        ::SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
    }
    ~BareLog() { ::DestroyWindow(frame_); }
    BareLog(const BareLog&) = delete;
    BareLog& operator=(const BareLog&) = delete;

    // The textbook append; with drawing held, made invisible to drawing around it and painted once after,
    // by the very hold Brindle's log box uses.
    void Append(const std::wstring& text, bool drawingHeld = false) {
        std::optional<app::DrawingHeld> held;
        if (drawingHeld) {
            held.emplace(edit_);
        }
        const LRESULT length = ::SendMessageW(edit_, WM_GETTEXTLENGTH, 0, 0);
        ::SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(length), length);
        ::SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        ::SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
    }
    LRESULT Length() const { return ::SendMessageW(edit_, WM_GETTEXTLENGTH, 0, 0); }

  private:
    HWND frame_ = nullptr;
    HWND edit_ = nullptr;
};

double Sum(const std::vector<double>& times, size_t from, size_t count) {
    return std::accumulate(times.begin() + static_cast<std::ptrdiff_t>(from),
                           times.begin() + static_cast<std::ptrdiff_t>(from + count), 0.0);
}

} // namespace

int Log() {
    const std::wstring message(5000, L'x');
    app::frmMain window(app::ProgramFolder());
    if (!window.Create(::GetModuleHandleW(nullptr))) {
        std::fprintf(stderr, "log: the window did not start (Rar.exe beside the bench?)\n");
        return 1;
    }
    window.Show(SW_SHOWNORMAL);
    BareLog bare(window.Control(app::txtOutput)), held(window.Control(app::txtOutput));
    std::vector<double> brindle, reference, heldReference;
    for (int i = 0; i < Entries; ++i) {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        // The very entry WriteMessage makes, so both boxes take the same text.
        const std::wstring entry = job::LogEntry(bare.Length() == 0, now, message);
        brindle.push_back(Seconds([&] { window.WriteMessage(message); }));
        reference.push_back(Seconds([&] { bare.Append(entry); }));
        heldReference.push_back(Seconds([&] { held.Append(entry, true); }));
        PumpMessages();
    }
    const double ourFirst = Sum(brindle, 0, Block), ourLast = Sum(brindle, Entries - Block, Block);
    const double bareFirst = Sum(reference, 0, Block), bareLast = Sum(reference, Entries - Block, Block);
    const double heldFirst = Sum(heldReference, 0, Block),
                 heldLast = Sum(heldReference, Entries - Block, Block);
    std::printf("| log growth, last 500 / first 500 of 2,000 entries | %.3g s / %.3g s | bare edit control: "
                "%.3g s / %.3g s (%.2f x) | %.2f x | <= 1.5 x |\n",
                ourLast, ourFirst, bareLast, bareFirst, bareLast / bareFirst, ourLast / ourFirst);
    // Where the last block's time goes: the same appends to a bare control are the edit control's own work.
    std::printf(
        "| log, last 500 entries: Brindle vs bare edit control | %.3g s | %.3g s | %.2f x | report |\n",
        ourLast, bareLast, ourLast / bareLast);
    // Holding the drawing takes away a cost that is the same for every append, so what grows with the
    // text weighs more in the ratio; the bare control appended the same way shows what the control adds.
    std::printf("| log growth, bare edit control with drawing held as Brindle's, last 500 / first 500 | "
                "%.3g s / %.3g s | - | %.2f x | report |\n",
                heldLast, heldFirst, heldLast / heldFirst);
    std::printf("| log, last 500 entries: Brindle vs bare edit control with drawing held | %.3g s | %.3g s | "
                "%.2f x | report |\n",
                ourLast, heldLast, ourLast / heldLast);
    std::fflush(stdout);
    return 0;
}

} // namespace bench
