// Brindle's benchmarks. Each figure is measured in the same run as its reference and printed as a table
// row: Brindle's time, the reference's time, and their ratio, each as min / median / max.
//
//   bench_brindle make-tree DIR            the search tree: 2,000 folders, 20,000 files, 2,000 archives
//   bench_brindle search DIR               AutoListFiles against dir /s /b and a bare walk
//   bench_brindle capture WRITER           GetCommandOutput against a bare ReadFile loop
//   bench_brindle capture-peak WRITER MIB  peak memory of one capture
//   bench_brindle log                      WriteMessage into the real window against whole-text appends
//   bench_brindle run DIR RAR              a whole run over 500 archives against a for /r batch
//   bench_brindle startup BRINDLE EMPTY    start to window shown, against an empty window program
//   bench_brindle idle BRINDLE             private memory of Brindle at idle

#include "app/frm_main.h"
#include "app/startup.h"
#include "job/archive_finder.h"
#include "platform/command_runner.h"
#include "job/run_driver.h"
#include "platform/ansi_text.h"
#include "platform/sys_api.h"
#include "platform/unique_handle.h"
#include "stats.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace bench;

namespace {

constexpr int Repetitions = 5;

// Text for the console and the reference batch, in the ANSI code page.
std::string Narrow(const std::wstring& text) {
    return platform::TryToAnsi(text).value_or("(not in the ANSI code page)");
}

void Row(const char* figure, const Spread& brindle, const Spread& reference, const Spread& ratio,
         const char* target) {
    std::printf("| %s | %s | %s | %s | %s |\n", figure, Format(brindle, " s").c_str(),
                Format(reference, " s").c_str(), Format(ratio, "").c_str(), target);
    std::fflush(stdout);
}

void Touch(const std::wstring& path) {
    platform::unique_handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Start-up information that sends a child's standard output and error to one handle.
STARTUPINFOW OutputTo(HANDLE output) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    return startup;
}

// Runs a command with its output discarded and waits for it.
void RunQuietly(std::wstring command, const std::wstring& folder) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    platform::unique_handle nul(
        ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup = OutputTo(nul.get());
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        platform::unique_handle thread(process.hThread), handle(process.hProcess);
        ::WaitForSingleObject(process.hProcess, INFINITE);
    }
}

int MakeTree(const std::wstring& root) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    std::vector<std::wstring> folders{root};
    std::vector<int> depth{0};
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFFF; };
    for (int i = 1; i < 2000; ++i) {
        size_t parent = next() % folders.size();
        while (depth[parent] >= 6) {
            parent = next() % folders.size();
        }
        const std::wstring folder = folders[parent] + L"\\folder " + std::to_wstring(i);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        if (i % 50 == 0) {
            ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
        }
        folders.push_back(folder);
        depth.push_back(depth[parent] + 1);
    }
    int files = 0;
    for (size_t f = 0; f < folders.size(); ++f) {
        for (int k = 0; k < 10; ++k, ++files) {
            const std::wstring name = folders[f] + (k == 0 ? L"\\archive " + std::to_wstring(f) + L".rar"
                                                           : L"\\page " + std::to_wstring(k) + L".htm");
            Touch(name);
            if (files % 97 == 0) {
                ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN);
            }
        }
    }
    std::printf("tree: %zu folders, %d files\n", folders.size(), files);
    return 0;
}

// The floor: a recursive listing with the cheapest search the system offers.
size_t BareWalk(const std::wstring& folder) {
    size_t archives = 0;
    WIN32_FIND_DATAW data;
    platform::unique_hfind find(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                                   FindExSearchNameMatch, nullptr,
                                                   FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return 0;
    }
    std::vector<std::wstring> subfolders;
    do {
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
            continue;
        }
        const std::wstring name = data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L"..") {
                subfolders.push_back(folder + L"\\" + name);
            }
        } else if (name.size() > 4 && ::lstrcmpiW(name.c_str() + name.size() - 4, L".rar") == 0) {
            ++archives;
        }
    } while (::FindNextFileW(find.get(), &data));
    for (const auto& subfolder : subfolders) {
        archives += BareWalk(subfolder);
    }
    return archives;
}

int Search(const std::wstring& root) {
    std::vector<double> brindle, dir, walk;
    size_t found = 0;
    for (int i = 0; i < Repetitions; ++i) {
        brindle.push_back(Seconds([&] {
            job::JobState form;
            job::AutoListFiles(form, root, L"*.rar", true);
            found = static_cast<size_t>(std::count(form.strFileList.begin(), form.strFileList.end(), L'|'));
        }));
        dir.push_back(Seconds([&] { RunQuietly(L"cmd /c dir /s /b /a:-h-s *.rar", root); }));
        walk.push_back(Seconds([&] { BareWalk(root); }));
    }
    std::fprintf(stderr, "search: %zu archives found\n", found);
    Row("archive search vs `dir /s /b`", SpreadOf(brindle), SpreadOf(dir), SpreadOf(Ratios(brindle, dir)),
        "<= 0.5");
    Row("archive search vs bare walk", SpreadOf(brindle), SpreadOf(walk), SpreadOf(Ratios(brindle, walk)),
        "<= 1.5");
    return 0;
}

// The reference reader: one pipe, a preallocated buffer, no conversion.
void BareCapture(const std::wstring& writer, size_t mib, std::vector<char>& buffer) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    platform::unique_handle readEnd, writeEnd;
    ::CreatePipe(readEnd.addressof(), writeEnd.addressof(), &inherit, 0);
    ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = OutputTo(writeEnd.get());
    PROCESS_INFORMATION process{};
    std::wstring command = writer + L" " + std::to_wstring(mib);
    ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &process);
    platform::unique_handle thread(process.hThread), handle(process.hProcess);
    writeEnd.reset();
    size_t used = 0;
    DWORD got = 0;
    while (used < buffer.size() &&
           ::ReadFile(readEnd.get(), buffer.data() + used,
                      static_cast<DWORD>(std::min<size_t>(32767, buffer.size() - used)), &got, nullptr)) {
        used += got;
    }
}

int Capture(const std::wstring& writer) {
    std::vector<double> brindle64, brindle256;
    for (size_t mib : {64u, 256u}) {
        std::vector<char> buffer((mib << 20) + 1);
        std::vector<double> brindle, bare;
        for (int i = 0; i < 3; ++i) {
            brindle.push_back(
                Seconds([&] { sysAPI::GetCommandOutput(writer + L" " + std::to_wstring(mib)); }));
            bare.push_back(Seconds([&] { BareCapture(writer, mib, buffer); }));
        }
        // Throughput ratio: Brindle's bytes per second over the bare reader's.
        const std::string figure = "output capture " + std::to_string(mib) + " MiB (throughput vs bare)";
        Row(figure.c_str(), SpreadOf(brindle), SpreadOf(bare), SpreadOf(Ratios(bare, brindle)), ">= 0.8");
        (mib == 64 ? brindle64 : brindle256) = brindle;
    }
    std::vector<double> linearity;
    for (size_t i = 0; i < brindle64.size(); ++i) {
        linearity.push_back(brindle256[i] / brindle64[i] / 4.0);
    }
    Row("output capture 256 MiB time / (4 x 64 MiB time)", SpreadOf(brindle256), SpreadOf(brindle64),
        SpreadOf(linearity), "0.85 - 1.15");
    return 0;
}

int CapturePeak(const std::wstring& writer, size_t mib) {
    PROCESS_MEMORY_COUNTERS before{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before);
    const std::wstring text = sysAPI::GetCommandOutput(writer + L" " + std::to_wstring(mib));
    PROCESS_MEMORY_COUNTERS after{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof after);
    const double output = static_cast<double>(mib << 20);
    std::printf("| output capture peak memory, %zu MiB | %.0f MiB peak commit | %zu MiB output (%zu UTF-16 "
                "characters) | %.2f x | <= 2.5 x |\n",
                mib, static_cast<double>(after.PeakPagefileUsage - before.PagefileUsage) / (1 << 20), mib,
                text.size(), static_cast<double>(after.PeakPagefileUsage - before.PagefileUsage) / output);
    return 0;
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&message);
    }
}

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

struct QuietView : job::RunView {
    void ShowError(const std::wstring& text) override {
        std::fprintf(stderr, "error: %s\n", Narrow(text).c_str());
    }
    void WriteMessage(const std::wstring&) override {}
    void SetBusy(bool) override {}
};

int WholeRun(const std::wstring& root, const std::wstring& rar) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    for (int folder = 0; folder < 50; ++folder) {
        const std::wstring path = root + L"\\set " + std::to_wstring(folder);
        ::CreateDirectoryW(path.c_str(), nullptr);
        for (int i = 0; i < 10; ++i) {
            Touch(path + L"\\archive " + std::to_wstring(i) + L".rar");
        }
    }
    const std::wstring rarShort = sysAPI::GetShortPath(rar);
    const std::wstring batch = app::ProgramFolder() + L"\\for-r.bat";
    {
        platform::unique_handle file(::CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        const std::string text = "@echo off\r\nfor /r \"" + Narrow(root) + "\" %%f in (*.rar) do " +
                                 Narrow(rarShort) + " d \"%%f\" *.htm\r\n";
        DWORD written = 0;
        ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    std::vector<double> brindle, reference;
    for (int i = 0; i < Repetitions; ++i) {
        brindle.push_back(Seconds([&] {
            job::JobState form;
            form.strRarExe = rarShort;
            form.cmbFileTypeText = [] { return std::wstring(L"*.htm"); };
            QuietView view;
            job::RunCleanUp(form, job::RunInputs{root, true, false}, view);
        }));
        reference.push_back(Seconds([&] { sysAPI::GetCommandOutput(sysAPI::GetShortPath(batch)); }));
    }
    Row("whole run, 500 archives, no-op archiver", SpreadOf(brindle), SpreadOf(reference),
        SpreadOf(Ratios(brindle, reference)), "<= 1.05");
    return 0;
}

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

int Startup(const std::wstring& brindle, const std::wstring& empty) {
    std::vector<double> ours, reference;
    TimeToWindow(brindle, L"BrindleMainWindow");
    for (int i = 0; i < Repetitions; ++i) {
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

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"make-tree" && argc == 3) {
        return MakeTree(argv[2]);
    }
    if (command == L"search" && argc == 3) {
        return Search(argv[2]);
    }
    if (command == L"capture" && argc == 3) {
        return Capture(argv[2]);
    }
    if (command == L"capture-peak" && argc == 4) {
        return CapturePeak(argv[2], std::wcstoul(argv[3], nullptr, 10));
    }
    if (command == L"log") {
        return Log();
    }
    if (command == L"run" && argc == 4) {
        return WholeRun(argv[2], argv[3]);
    }
    if (command == L"startup" && argc == 4) {
        return Startup(argv[2], argv[3]);
    }
    if (command == L"idle" && argc == 3) {
        return Idle(argv[2]);
    }
    std::fprintf(stderr, "usage: see the head of bench/bench_main.cpp\n");
    return 2;
}
