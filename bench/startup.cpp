// Start-up to the window shown, against an empty window program, and Brindle's memory at idle.
#include "benchmarks.h"
#include "platform/unique_handle.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <cstdio>
#include <psapi.h>
#include <string>
#include <vector>

namespace bench {

namespace {

// Starts a window program and answers the seconds until its window shows, then closes it.
double TimeToWindow(const std::wstring& exe, const wchar_t* windowClass, DWORD* processId = nullptr,
                    bool close = true) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe + L"\"";
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

int Startup(const std::wstring& brindle, const std::wstring& empty) {
    std::vector<double> ours, reference;
    TimeToWindow(brindle, L"BrindleMainWindow");
    // Three times the usual rounds: each start is short, and the machine is shared.
    for (int i = 0; i < 3 * Repetitions; ++i) {
        ours.push_back(TimeToWindow(brindle, L"BrindleMainWindow"));
        reference.push_back(TimeToWindow(empty, L"BenchEmptyWindow"));
    }
    Row("start-up to window shown", SpreadOf(ours), SpreadOf(reference), SpreadOf(Ratios(ours, reference)),
        "<= 1.2");
    return 0;
}

int Idle(const std::wstring& brindle) {
    DWORD processId = 0;
    TimeToWindow(brindle, L"BrindleMainWindow", &processId, false);
    ::Sleep(1000);
    platform::unique_handle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS_EX counters{};
    ::GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    std::printf("| private memory at idle | %.1f MiB private, %.1f MiB working set | - | - | report |\n",
                static_cast<double>(counters.PrivateUsage) / (1 << 20),
                static_cast<double>(counters.WorkingSetSize) / (1 << 20));
    ::PostMessageW(::FindWindowW(L"BrindleMainWindow", nullptr), WM_CLOSE, 0, 0);
    ::WaitForSingleObject(process.get(), 10000);
    return 0;
}

} // namespace bench
