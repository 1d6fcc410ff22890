// Log growth: the log box's own append (app::AppendLogEntry, on an edit control made as the window makes
// its log, room reserved while hidden) against the textbook append (select the end, replace the selection,
// scroll to the caret) to bare edit controls of the same styles, size and font, one drawing as it goes and
// one with its drawing held around the append as the log box's is. Entry by entry in turn, so all three
// meet the same moments of a shared machine; blocks of 500 entries keep a single slow moment from deciding.
#include "app/dpi.h"
#include "app/layout.h"
#include "app/log_box.h"
#include "bench.h"
#include "job/log_entry.h"

#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr int Entries = 2000;
constexpr int Block = 500;

void TextbookAppend(HWND edit, const std::wstring& entry, bool drawingHeld) {
    // The edit control keeps WM_SETREDRAW to itself under Wine, so the hold goes to the default handler,
    // as the log box's does.
    if (drawingHeld) {
        ::DefWindowProcW(edit, WM_SETREDRAW, FALSE, 0);
    }
    const LRESULT length = ::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    if (drawingHeld) {
        ::DefWindowProcW(edit, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(edit, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
    }
}

double Sum(const std::vector<double>& times, int from) {
    return std::accumulate(times.begin() + from, times.begin() + from + Block, 0.0);
}

} // namespace

int Log() {
    const app::ControlClass log = app::ClassFor(app::ControlKind::Log);
    int width = 0, height = 0;
    for (const app::ControlRow& row : app::ControlTable()) {
        if (row.id == app::txtOutput) {
            width = app::TwipsToPixels(row.width, app::DesignDpi);
            height = app::TwipsToPixels(row.height, app::DesignDpi);
        }
    }
    const HWND frame = ::CreateWindowExW(0, L"STATIC", L"log", WS_OVERLAPPEDWINDOW, 0, 0, width + 40,
                                         3 * height + 80, nullptr, nullptr, nullptr, nullptr);
    const HFONT font = app::CreateDesignFont(app::DesignDpi);
    HWND boxes[3];
    for (int i = 0; i < 3; ++i) {
        boxes[i] = ::CreateWindowExW(log.exStyle, log.name, L"", log.style, 8, 8 + i * (height + 8), width,
                                     height, frame, nullptr, nullptr, nullptr);
        ::SendMessageW(boxes[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        ::SendMessageW(boxes[i], EM_SETLIMITTEXT, 0, 0);
    }
    app::ReserveLogRoom(boxes[0]);
    ::ShowWindow(frame, SW_SHOWNORMAL);
    ::UpdateWindow(frame);

    const std::wstring message(5000, L'x');
    std::vector<double> brindle, bare, held;
    for (int i = 0; i < Entries; ++i) {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        const std::wstring entry = job::LogEntry(i == 0, now, message);
        brindle.push_back(Seconds([&] { app::AppendLogEntry(boxes[0], message, now); }));
        bare.push_back(Seconds([&] { TextbookAppend(boxes[1], entry, false); }));
        held.push_back(Seconds([&] { TextbookAppend(boxes[2], entry, true); }));
        MSG pending;
        while (::PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&pending);
        }
    }
    ::DestroyWindow(frame);
    ::DeleteObject(font);

    const double ourFirst = Sum(brindle, 0), ourLast = Sum(brindle, Entries - Block);
    const double bareFirst = Sum(bare, 0), bareLast = Sum(bare, Entries - Block);
    const double heldFirst = Sum(held, 0), heldLast = Sum(held, Entries - Block);
    std::printf("| log growth, last 500 / first 500 of 2,000 entries | %.3g s / %.3g s | bare edit control: "
                "%.3g s / %.3g s (%.2f x) | %.2f x | <= 1.5 x |\n",
                ourLast, ourFirst, bareLast, bareFirst, bareLast / bareFirst, ourLast / ourFirst);
    // Holding the drawing takes away a cost every append pays alike, so what grows with the text weighs more
    // in the ratio; the bare control held the same way is the floor of an append that holds its drawing.
    std::printf(
        "| log growth, bare edit control with drawing held, last 500 / first 500 | %.3g s / %.3g s | - | "
        "%.2f x | report |\n| log, last 500 entries: Brindle vs bare edit control / with drawing held | "
        "%.3g s | %.3g s / %.3g s | %.2f x / %.2f x | report |\n",
        heldLast, heldFirst, heldLast / heldFirst, ourLast, bareLast, heldLast, ourLast / bareLast,
        ourLast / heldLast);
    std::fflush(stdout);
    return 0;
}

} // namespace bench
