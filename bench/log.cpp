// Log growth: WriteMessage into the real window, against whole-text appends to the same kind of box.
#include "app/frm_main.h"
#include "app/startup.h"
#include "benchmarks.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

int Log() {
    const std::wstring entry(5000, L'x');
    const int entries = 2000;
    // Brindle: the real window appending only the new entry.
    std::vector<double> brindle;
    {
        app::frmMain window(app::ProgramFolder());
        if (!window.Create(::GetModuleHandleW(nullptr))) {
            std::fprintf(stderr, "log: the window did not start (Rar.exe beside the bench?)\n");
            return 1;
        }
        window.Show(SW_SHOWNORMAL);
        for (int i = 0; i < entries; ++i) {
            brindle.push_back(Seconds([&] { window.WriteMessage(entry); }));
            PumpMessages();
        }
    }
    // The naive log: the same kind of box, its whole text read and replaced per entry.
    const int naiveEntries = 400;
    std::vector<double> naive;
    {
        app::frmMain window(app::ProgramFolder());
        window.Create(::GetModuleHandleW(nullptr));
        window.Show(SW_SHOWNORMAL);
        const HWND box = window.Control(app::txtOutput);
        for (int i = 0; i < naiveEntries; ++i) {
            naive.push_back(Seconds([&] {
                std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(box)) + 1, L'\0');
                text.resize(
                    static_cast<size_t>(::GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
                text += L"\r\n" + entry;
                ::SetWindowTextW(box, text.c_str());
            }));
            PumpMessages();
        }
    }
    auto sum = [](const std::vector<double>& times, size_t from, size_t count) {
        double total = 0;
        for (size_t i = from; i < from + count; ++i) {
            total += times[i];
        }
        return total;
    };
    const double brindleFirst = sum(brindle, 0, 100), brindleLast = sum(brindle, entries - 100, 100);
    const double naiveFirst = sum(naive, 0, 100), naiveLast = sum(naive, naiveEntries - 100, 100);
    std::printf(
        "| log growth, last 100 / first 100 of 2,000 entries | %.3g s / %.3g s | naive, of %d entries: "
        "%.3g s / %.3g s (%.1f x) | %.2f x | <= 1.5 x |\n",
        brindleLast, brindleFirst, naiveEntries, naiveLast, naiveFirst, naiveLast / naiveFirst,
        brindleLast / brindleFirst);
    return 0;
}

} // namespace bench
