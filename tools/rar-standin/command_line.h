#pragma once
// The archiver's command line: a command, switches starting with '-', the archive, then names or masks.

#include <string>
#include <vector>

namespace rarstandin {

struct CommandLine {
    std::wstring command;
    std::vector<std::wstring> switches;
    std::wstring archive;
    std::vector<std::wstring> names;
};

// args without the program name. Switches may come anywhere before "--".
CommandLine ParseCommandLine(const std::vector<std::wstring>& args);
// The masks of the -x switches: members they match are left alone.
std::vector<std::wstring> ExcludedMasks(const CommandLine& line);
// The process's arguments, split as the C runtime would, without the program name.
std::vector<std::wstring> ProcessArguments();

} // namespace rarstandin
