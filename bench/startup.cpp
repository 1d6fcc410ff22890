// Start-up to the window shown, against an empty window program and against the floor of the design (the
// same window made with no Brindle code), and Brindle's memory at idle.
#include "benchmarks.h"
#include "platform/unique_handle.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <psapi.h>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr wchar_t BrindleClass[] = L"BrindleMainWindow";
constexpr wchar_t EmptyClass[] = L"BenchEmptyWindow";
constexpr wchar_t DesignedClass[] = L"BenchDesignedWindow";

// Starts a window program and answers the seconds until its window shows, then closes it.
double TimeToWindow(const std::wstring& exe, const wchar_t* windowClass, DWORD* processId = nullptr,
                    bool close = true, const wchar_t* arguments = L"") {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
    double seconds = 0;
    seconds = Seconds([&] {
        ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                         &startup, &process);
        for (;;) {
            const HWND window = ::FindWindowW(windowClass, nullptr);
            if (window != nullptr && ::IsWindowVisible(window)) {
                break;
            }
            ::Sleep(1);
        }
    });
    platform::unique_handle thread(process.hThread), handle(process.hProcess);
    if (processId != nullptr) {
        *processId = process.dwProcessId;
    }
    if (close) {
        ::PostMessageW(::FindWindowW(windowClass, nullptr), WM_CLOSE, 0, 0);
        ::WaitForSingleObject(process.hProcess, 10000);
    }
    return seconds;
}

} // namespace

int Startup(const std::wstring& brindle, const std::wstring& empty, const std::wstring& designed) {
    // Each round starts the programs in turn, from a different one each time, so none always meets the
    // moment after another's exit.
    const std::vector<std::function<double()>> programs = {
        [&] { return TimeToWindow(brindle, BrindleClass); },
        [&] { return TimeToWindow(empty, EmptyClass); },
        [&] { return TimeToWindow(designed, DesignedClass, nullptr, true, L"--controls"); },
        [&] { return TimeToWindow(designed, DesignedClass); },
    };
    const size_t count = designed.empty() ? 2 : programs.size();
    std::vector<std::vector<double>> times(count);
    TimeToWindow(brindle, BrindleClass);
    // Three times the usual rounds: each start is short, and the machine is shared.
    for (int i = 0; i < 3 * Repetitions; ++i) {
        for (size_t j = 0; j < count; ++j) {
            const size_t program = (static_cast<size_t>(i) + j) % count;
            times[program].push_back(programs[program]());
        }
    }
    const auto& ours = times[0];
    const auto& reference = times[1];
    Row("start-up to window shown", SpreadOf(ours), SpreadOf(reference), SpreadOf(Ratios(ours, reference)),
        "<= 1.2");
    if (count == 2) {
        return 0;
    }
    const auto& bareControls = times[2];
    const auto& designedEmpty = times[3];
    Row("start-up, floor: the window of the design, its 13 controls by bare CreateWindowEx, no Brindle code "
        "(first column), vs the empty window",
        SpreadOf(bareControls), SpreadOf(reference), SpreadOf(Ratios(bareControls, reference)), "report");
    Row("start-up, floor: an empty window made like Brindle.exe (manifest with common controls 6, icon, same "
        "libraries; first column), vs the empty window",
        SpreadOf(designedEmpty), SpreadOf(reference), SpreadOf(Ratios(designedEmpty, reference)), "report");
    Row("start-up: Brindle vs the window of the design by bare CreateWindowEx", SpreadOf(ours),
        SpreadOf(bareControls), SpreadOf(Ratios(ours, bareControls)), "report");
    return 0;
}

int Idle(const std::wstring& brindle) {
    DWORD processId = 0;
    TimeToWindow(brindle, BrindleClass, &processId, false);
    ::Sleep(1000);
    platform::unique_handle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS_EX counters{};
    ::GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    std::printf("| private memory at idle | %.1f MiB private, %.1f MiB working set | - | - | report |\n",
                static_cast<double>(counters.PrivateUsage) / (1 << 20),
                static_cast<double>(counters.WorkingSetSize) / (1 << 20));
    ::PostMessageW(::FindWindowW(BrindleClass, nullptr), WM_CLOSE, 0, 0);
    ::WaitForSingleObject(process.get(), 10000);
    return 0;
}

} // namespace bench
