#pragma once
// What the benchmarks share: timing and the table's rows, child processes, the bare walk, and window
// programs started and driven from this process, Brindle.exe through its window as a user drives it.

#include "platform/unique_handle.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// The benchmarks, each printing its rows of the performance table.
int MakeTree(const std::wstring& root);
int Search(const std::wstring& root, const std::wstring& brindle);
int WholeRun(const std::wstring& root, const std::wstring& brindle);
int Capture(const std::wstring& root, const std::wstring& brindle, size_t mib);
int Startup(const std::wstring& brindle, const std::wstring& empty);
int Log();

// How often each figure and its reference are measured: BENCH_REPETITIONS, 5 where it is not set.
int Repetitions();

struct Spread {
    double min = 0, median = 0, max = 0;
};
double Seconds(const std::function<void()>& work);
Spread SpreadOf(std::vector<double> values);
std::string Format(const Spread& spread, const char* unit);
// One table row: a figure, its reference, and their ratios, each repetition's figure over its own
// reference's (both taken at the same moment of a shared machine); all as min / median / max.
void Row(const std::string& figure, const std::vector<double>& brindle, const std::vector<double>& reference,
         const char* target);

// Writes a file with text in it (ANSI), or empty.
void WriteText(const std::wstring& path, const std::wstring& text = L"");

// A child whose standard output and error go to a pipe only this process reads. With CREATE_NO_WINDOW it
// gets a console of its own, as Brindle's child does; without, it shares this console.
class PipedCommand {
  public:
    PipedCommand(std::wstring command, DWORD flags, const std::wstring& folder = L"");
    ~PipedCommand();
    PipedCommand(const PipedCommand&) = delete;
    PipedCommand& operator=(const PipedCommand&) = delete;
    // False at the end of the output.
    bool Read(char* into, DWORD size, DWORD& got);

  private:
    platform::unique_handle read_, process_;
};
// Runs a command in this console, its output read and dropped, as `dir` typed at a prompt.
void RunInConsole(const std::wstring& command, const std::wstring& folder);
// The straightforward capture, which Brindle's is: each chunk converted from the ANSI code page as it
// arrives and appended to a growing string, a lead byte that ends a chunk kept for the next.
std::wstring ReadText(const std::wstring& command);

// The floor of any search: a recursive listing with the cheapest call the system offers, skipping hidden
// and system entries; answers the number of *.rar files. FindExInfoStandard also asks for the 8.3 aliases
// the batch's short paths are made of.
size_t BareWalk(const std::wstring& folder, FINDEX_INFO_LEVELS level = FindExInfoBasic);

inline constexpr wchar_t BrindleClass[] = L"BrindleMainWindow";

// A window program started from its own folder, until its window is closed.
class ShownProgram {
  public:
    ShownProgram(const std::wstring& exe, const wchar_t* windowClass);
    ~ShownProgram();
    ShownProgram(const ShownProgram&) = delete;
    ShownProgram& operator=(const ShownProgram&) = delete;
    // Null when the window did not show within 20 seconds.
    HWND window() const noexcept { return window_; }
    HANDLE process() const noexcept { return process_.get(); }
    // From the process's start to its window shown.
    double secondsToWindow() const noexcept { return seconds_; }

  private:
    platform::unique_handle process_;
    HWND window_ = nullptr;
    double seconds_ = 0;
};

// Brindle's window given the folder, the pattern and the two options, as the user would set them.
void SetUp(HWND brindle, const std::wstring& folder, const std::wstring& pattern, bool subfolders,
           bool onlyBatch);
struct WindowRun {
    bool ended = false;
    double seconds = 0;
    std::vector<double> answers; // to the polls made during the run
};
// Clicks Execute and waits until the run has ended: Execute enabled again and the caption as at rest. With
// poll, the window is also sent a message every 20 ms and each answer's time kept.
WindowRun Execute(HWND brindle, bool poll = false);
// The characters in Brindle's log box.
size_t LogLength(HWND brindle);

} // namespace bench
