#pragma once
// A child process started hidden, with its standard output and standard error leading into one pipe,
// that cannot hold the run however it fails or whatever it asks:
// - only the pipe's write end is handed down: the read end and the process and thread handles are not
//   inheritable, so neither the child nor anything it starts can hold or read them;
// - standard input is NUL, which reads as end of input at once;
// - a crash ends the crashing process: no fault or critical-error dialog (the error mode the child
//   inherits, and a job that forces it on every process of the run), on a window station no user sees;
// - a question on the console is answered with end of input (ConsoleAnswers) while the read waits.

#include "platform/console_answers.h"
#include "platform/hidden_desktop.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <optional>
#include <string_view>

namespace platform {

class PipedChild {
  public:
    // Starts commandLine in folder (this process's current folder when empty). Throws Win32Error naming
    // the call that failed; "CreateProcessW" when the command could not be started.
    explicit PipedChild(std::wstring_view commandLine, std::wstring_view folder = {});

    // Reads what the pipe holds, up to size bytes, into buffer. False at the end of the output (every
    // process holding the write end has closed it or ended) and on a failed read; got may be 0.
    bool Read(char* buffer, DWORD size, DWORD& got);

    HANDLE process() const noexcept { return process_.get(); }

  private:
    unique_handle readEnd_;
    unique_handle readDone_;
    unique_handle job_;
    HiddenDesktop desktop_;
    unique_handle process_;
    unique_handle thread_;
    std::optional<ConsoleAnswers> console_;
};

} // namespace platform
