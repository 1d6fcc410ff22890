#pragma once
// The operating-system procedures that answer in-band and never raise: the short-path helper and the
// folder picker. (The command runner, the third of them, is in platform/command_runner.h.)

#include <windows.h>

#include <string>
#include <string_view>

namespace sysAPI {

// The complete short (8.3) form of path, through the ANSI code page; empty when there is none, also
// when the path holds a character that the code page cannot represent.
std::wstring GetShortPath(std::wstring_view path);

// Shows the shell's folder picker owned by owner, opened at startFolder unless that is empty; the chosen
// folder's path, or empty on cancel.
std::wstring BrowseForFolder(std::wstring_view title, HWND owner, const std::wstring& startFolder = {});

} // namespace sysAPI
