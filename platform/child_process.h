#pragma once
// A child process started hidden, with no standard input and its standard output and standard error
// leading into one pipe. Only the write end is handed down: the read end and the process and thread
// handles are not inheritable, so neither the child nor anything it starts can hold or read them.

#include "platform/unique_handle.h"

#include <windows.h>

#include <string_view>

namespace platform {

class PipedChild {
  public:
    // Starts commandLine in folder (this process's current folder when empty). Throws Win32Error naming
    // the call that failed: "CreatePipe" or "CreateProcessW".
    explicit PipedChild(std::wstring_view commandLine, std::wstring_view folder = {});

    // Reads what the pipe holds, up to size bytes, into buffer. False at the end of the output (every
    // process holding the write end has closed it or ended) and on a failed read; got may be 0.
    bool Read(char* buffer, DWORD size, DWORD& got);

    HANDLE process() const noexcept { return process_.get(); }

  private:
    unique_handle readEnd_;
    unique_handle process_;
    unique_handle thread_;
};

} // namespace platform
