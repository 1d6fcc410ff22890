#pragma once
// What several benchmarks share: files, quiet child processes, the message pump and the bare walk.

#include <windows.h>

#include <string>

namespace bench {

// How often each figure and its reference are measured.
inline constexpr int Repetitions = 5;

// Text for the console and the reference batches, in the ANSI code page.
std::string Narrow(const std::wstring& text);
// Creates an empty file, or empties an existing one.
void Touch(const std::wstring& path);
// Start-up information that sends a child's standard output and error to one handle.
STARTUPINFOW OutputTo(HANDLE output);
// Runs a command with its output discarded and waits for it; folder empty for the current one.
void RunQuietly(std::wstring command, const std::wstring& folder);
// Dispatches every message waiting for this thread.
void PumpMessages();
// The floor of any search: a recursive listing with the cheapest search the system offers, skipping
// hidden and system entries; answers the number of *.rar files. FindExInfoStandard also asks for each
// entry's 8.3 alias.
size_t BareWalk(const std::wstring& folder, FINDEX_INFO_LEVELS level = FindExInfoBasic);

} // namespace bench
