#pragma once
// A child process started hidden, with its standard output and standard error leading into one pipe, in a
// job that holds everything it starts:
// - only the pipe's write end is handed down: the read end and the process and thread handles are not
//   inheritable, so neither the child nor anything it starts can hold or read them;
// - standard input is NUL, which reads as end of input at once;
// - a crash ends the crashing process: no fault or critical-error dialog (the error mode the child
//   inherits, and a job that forces it on every process of the run);
// - no process of the run can leave the job, and the job ends them all when its handle closes, so none
//   outlives this object, nor this program however it ends.
// What happens (output read, a process of the run started or ended) is taken one notice at a time, from
// one completion port that both the pipe and the job report to.

#include "platform/unique_handle.h"

#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct ChildNotice {
    enum class Kind {
        Output,         // bytes read from the pipe
        ProcessStarted, // a process joined the run (the first is the child itself)
        ProcessEnded,   // a process of the run ended
        Finished,       // the output has ended and every process of the run has ended
    };
    Kind kind = Kind::Finished;
    std::string_view output;       // Output: valid until the next call of Next
    DWORD processId = 0;           // ProcessStarted, ProcessEnded
    std::wstring image;            // ProcessStarted: the process's program file, empty when unknown
    std::optional<DWORD> exitCode; // ProcessEnded: nothing when the process could not be looked at
};

class PipedChild {
  public:
    // Starts commandLine in folder (this process's current folder when empty). Throws Win32Error naming
    // the call that failed; "CreateProcessW" when the command could not be started.
    explicit PipedChild(std::wstring_view commandLine, std::wstring_view folder = {});
    ~PipedChild();
    PipedChild(const PipedChild&) = delete;
    PipedChild& operator=(const PipedChild&) = delete;

    // Waits for what happens next. Processes are told in the order they started; after Finished, Next
    // answers Finished again.
    ChildNotice Next();

    // May be called from any thread while this object lives.
    // Ends the child itself, the first process of the run; what it started goes on.
    void EndChild() noexcept;
    // Ends every process of the run at once, each with exitCode.
    void EndAll(UINT exitCode) noexcept;

  private:
    struct Process {
        DWORD id;
        unique_handle handle;
        bool announced = false;
        bool ended = false;
    };

    void StartRead();
    void OnJobMessage(DWORD message, DWORD processId);
    static ChildNotice EndedNotice(const Process& process);
    bool EveryProcessEnded() const;
    std::optional<ChildNotice> TakeReady();

    unique_handle readEnd_;
    unique_handle job_;
    unique_handle port_;
    unique_handle process_;
    std::vector<char> buffer_;
    OVERLAPPED reading_{};
    bool readPending_ = false;
    bool outputEnded_ = false;
    bool jobEmpty_ = false;
    // Every process of the run in the order it started; each is told once its program file is known (a
    // process that has just started may not tell it yet) and the ones before it have been told.
    std::vector<Process> processes_;
    std::deque<ChildNotice> ready_;
};

} // namespace platform
