#include "command_line.h"

#include <windows.h>

#include <shellapi.h>

namespace rarstandin {

CommandLine ParseCommandLine(const std::vector<std::wstring>& args) {
    CommandLine line;
    bool switchesEnded = false;
    for (const auto& arg : args) {
        if (!switchesEnded && arg == L"--") {
            switchesEnded = true;
        } else if (!switchesEnded && arg.size() > 1 && arg[0] == L'-') {
            line.switches.push_back(arg.substr(1));
        } else if (line.command.empty()) {
            line.command = arg;
        } else if (line.archive.empty()) {
            line.archive = arg;
        } else {
            line.names.push_back(arg);
        }
    }
    return line;
}

std::vector<std::wstring> ExcludedMasks(const CommandLine& line) {
    std::vector<std::wstring> masks;
    for (const auto& option : line.switches) {
        if (option.size() > 1 && (option[0] == L'x' || option[0] == L'X')) {
            masks.push_back(option.substr(1));
        }
    }
    return masks;
}

std::vector<std::wstring> ProcessArguments() {
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv == nullptr) {
        return args;
    }
    for (int i = 1; i < count; ++i) {
        args.emplace_back(argv[i]);
    }
    ::LocalFree(argv);
    return args;
}

} // namespace rarstandin
