// Runs through Brindle's window that start the archiver: a whole run over 500 archives against the
// hand-written `for /r` batch, and a run whose archiver writes a large output against the text reader
// (Brindle's capture is that reader) and a bare read of the pipe, with Brindle's peak memory and the
// window's answers to a poll while the output comes.
#include "bench.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

namespace {

std::wstring ArchiverBeside(const std::wstring& exe) {
    return exe.substr(0, exe.find_last_of(L'\\')) + L"\\Rar.exe";
}

} // namespace

int WholeRun(const std::wstring& root, const std::wstring& exe) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    for (int folder = 0; folder < 50; ++folder) {
        const std::wstring path = root + L"\\set " + std::to_wstring(folder);
        ::CreateDirectoryW(path.c_str(), nullptr);
        for (int i = 0; i < 10; ++i) {
            WriteText(path + L"\\archive " + std::to_wstring(i) + L".rar");
        }
    }
    // The batch a user would write instead, run by the interpreter with its output read as Brindle reads.
    const std::wstring batch = root + L"-for-r.bat";
    WriteText(batch, L"@echo off\r\nfor /r \"" + root + L"\" %%f in (*.rar) do \"" + ArchiverBeside(exe) +
                         L"\" d \"%%f\" *.htm\r\n");
    const ShownProgram brindle(exe, BrindleClass);
    if (brindle.window() == nullptr) {
        std::fprintf(stderr, "run: Brindle's window did not show (Rar.exe beside it?)\n");
        return 1;
    }
    SetUp(brindle.window(), root, L"*.htm", true, false);
    std::vector<double> ours, handWritten;
    for (int i = 0; i < Repetitions(); ++i) {
        const WindowRun run = Execute(brindle.window());
        if (!run.ended) {
            std::fprintf(stderr, "run: the run did not end\n");
            return 1;
        }
        ours.push_back(run.seconds);
        handWritten.push_back(Seconds([&] { ReadText(L"cmd /d /c \"" + batch + L"\""); }));
    }
    Row("whole run, 500 archives, no-op archiver, through the window vs the hand-written `for /r` batch",
        ours, handWritten, "<= 1.05");
    return 0;
}

int Capture(const std::wstring& root, const std::wstring& exe, size_t mib) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    WriteText(root + L"\\output.rar");
    // The archiver writes this much for each archive; Brindle and the interpreter pass it on.
    ::SetEnvironmentVariableW(L"BENCH_ARCHIVER_MIB", std::to_wstring(mib).c_str());
    const std::wstring command =
        L"cmd /d /c \"\"" + ArchiverBeside(exe) + L"\" d \"" + root + L"\\output.rar\" *.htm\"";
    const size_t bytes = mib << 20;
    // The bare read's buffer is made and touched before any timing: a reader that returns text cannot do
    // without growing one, so this shows what the pipe itself costs.
    std::vector<char> buffer(bytes + 32768, 1);
    std::vector<double> ours, reader, bare, peakMiB, ratios, slowest, answers;
    for (int i = 0; i < Repetitions(); ++i) {
        {
            // A fresh Brindle.exe each time, as the peak of a process only ever grows.
            const ShownProgram brindle(exe, BrindleClass);
            if (brindle.window() == nullptr) {
                std::fprintf(stderr, "capture: Brindle's window did not show (Rar.exe beside it?)\n");
                return 1;
            }
            SetUp(brindle.window(), root, L"*.htm", false, false);
            PROCESS_MEMORY_COUNTERS before{}, after{};
            ::GetProcessMemoryInfo(brindle.process(), &before, sizeof before);
            const WindowRun run = Execute(brindle.window(), true);
            ::GetProcessMemoryInfo(brindle.process(), &after, sizeof after);
            if (!run.ended || LogLength(brindle.window()) < bytes) {
                std::fprintf(stderr, "capture: the run did not end, or its output is not all in the log\n");
                return 1;
            }
            ours.push_back(run.seconds);
            // Under Wine the peak working set is the Linux side's peak resident size.
            peakMiB.push_back(static_cast<double>(after.PeakWorkingSetSize - before.WorkingSetSize) /
                              (1 << 20));
            ratios.push_back(peakMiB.back() / static_cast<double>(mib));
            slowest.push_back(
                run.answers.empty() ? 0 : *std::max_element(run.answers.begin(), run.answers.end()));
            answers.insert(answers.end(), run.answers.begin(), run.answers.end());
        }
        reader.push_back(Seconds([&] { ReadText(command); }));
        bare.push_back(Seconds([&] {
            PipedCommand running(command, CREATE_NO_WINDOW);
            DWORD got = 0;
            for (size_t used = 0; used < bytes && running.Read(buffer.data() + used, 32768, got);
                 used += got) {
            }
        }));
    }
    const std::string figure = "output capture, " + std::to_string(mib) + " MiB, run through the window vs ";
    Row(figure + "the text reader (Brindle's capture while runs held the window's thread)", ours, reader,
        "<= 1.2");
    Row(figure + "bare pipe read", ours, bare, "report");
    std::printf(
        "| output capture, %zu MiB: Brindle.exe's peak memory growth over the output | %s | %zu MiB output "
        "| %s | <= 2.5 x |\n",
        mib, Format(SpreadOf(peakMiB), " MiB").c_str(), mib, Format(SpreadOf(ratios), " x").c_str());
    // The reference column holds every answer of every run.
    const auto unanswered =
        std::count_if(answers.begin(), answers.end(), [](double answer) { return answer >= 5; });
    std::printf("| the window's answer to a poll every 20 ms during the %zu MiB run: the slowest of each run "
                "(%zu polls, %d waited the 5 s timeout) | %s | all answers: %s | - | slowest <= 0.1 s |\n",
                mib, answers.size(), static_cast<int>(unanswered), Format(SpreadOf(slowest), " s").c_str(),
                Format(SpreadOf(answers), " s").c_str());
    std::fflush(stdout);
    return 0;
}

} // namespace bench
