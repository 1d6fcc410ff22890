#pragma once

#include "platform/child_process.h"

#include <optional>
#include <string>
#include <string_view>

namespace sysAPI {

// Hears what a command does while it runs, on the thread that runs it.
class CommandListener {
  public:
    virtual ~CommandListener() = default;
    // The command has started; until Detached, child may be ended from any thread.
    virtual void Attached(platform::PipedChild& child) { (void)child; }
    // The command is about to end for good; child may no longer be used.
    virtual void Detached() {}
    // Output as it arrives, converted from the ANSI code page; never a character split in two.
    virtual void OnOutput(std::wstring_view text) = 0;
    // A process of the command's run started (the first is the command itself), or ended.
    virtual void OnProcessStarted(DWORD processId, const std::wstring& image) {
        (void)processId, (void)image;
    }
    virtual void OnProcessEnded(DWORD processId, std::optional<DWORD> exitCode) {
        (void)processId, (void)exitCode;
    }
};

// Runs commandLine as a hidden child, in folder when one is given, with standard output and standard
// error in one pipe and no standard input, and tells listener what it writes there, until every process
// holding the pipe has closed it and every process of the run has ended. On failure to start, the
// listener hears one of two failure texts as output, which the caller logs like output.
void GetCommandOutput(std::wstring_view commandLine, std::wstring_view folder, CommandListener& listener);

// Everything the command writes, as one text.
std::wstring GetCommandOutput(std::wstring_view commandLine, std::wstring_view folder = {});

} // namespace sysAPI
