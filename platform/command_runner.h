#pragma once

#include <string>
#include <string_view>

namespace sysAPI {

// Runs commandLine as a hidden child, in folder when one is given, with standard output and standard
// error in one pipe and no standard input, and returns everything written there as text, once every
// process holding the pipe has closed it. Each chunk is converted from the ANSI code page as it arrives.
// On failure the answer is one of two failure texts, which the caller logs like output.
std::wstring GetCommandOutput(std::wstring_view commandLine, std::wstring_view folder = {});

} // namespace sysAPI
