// Start-up part by part: the moments bench_startup_parts (made like Brindle.exe), the empty window program
// and the window of the design made with no Brindle code write as their steps end, each started afresh,
// side by side.
#include "benchmarks.h"
#include "platform/command_runner.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr int Parts = 4;

// The seconds each step took, from the moments one start wrote; empty when it wrote none.
std::vector<double> StepsOf(const std::wstring& command) {
    const std::wstring line = sysAPI::GetCommandOutput(command);
    double moments[Parts];
    if (std::swscanf(line.c_str(), L"%lf %lf %lf %lf", &moments[0], &moments[1], &moments[2], &moments[3]) !=
        Parts) {
        return {};
    }
    std::vector<double> steps{moments[0]};
    for (int i = 1; i < Parts; ++i) {
        steps.push_back(moments[i] - moments[i - 1]);
    }
    return steps;
}

} // namespace

int StartupParts(const std::wstring& parts, const std::wstring& empty, const std::wstring& designed) {
    static const char* const names[Parts] = {
        "process start to program entry (loader, imported libraries, runtime)",
        "common controls",
        "window class, window, 13 controls, font, icon, archiver check",
        "show and first paint",
    };
    const std::wstring commands[] = {L"\"" + parts + L"\"", L"\"" + empty + L"\" --parts",
                                     L"\"" + designed + L"\" --controls --parts"};
    const size_t programs = designed.empty() ? 2 : 3;
    std::vector<double> steps[3][Parts];
    StepsOf(commands[0]);
    for (int round = 0; round < 2 * Repetitions; ++round) {
        for (size_t j = 0; j < programs; ++j) {
            const size_t program = (static_cast<size_t>(round) + j) % programs;
            const std::vector<double> taken = StepsOf(commands[program]);
            if (taken.size() != Parts) {
                std::fprintf(stderr, "startup parts: a program did not report its steps\n");
                return 1;
            }
            for (int i = 0; i < Parts; ++i) {
                steps[program][i].push_back(taken[i]);
            }
        }
    }
    for (int i = 0; i < Parts; ++i) {
        const std::string figure = std::string("start-up part: ") + names[i];
        if (i == 1) {
            std::printf("| %s | %s | empty window: none | - | report |\n", figure.c_str(),
                        Format(SpreadOf(steps[0][i]), " s").c_str());
            continue;
        }
        Row(figure.c_str(), SpreadOf(steps[0][i]), SpreadOf(steps[1][i]),
            SpreadOf(Ratios(steps[0][i], steps[1][i])), "report");
    }
    if (programs == 2) {
        return 0;
    }
    for (int i = 0; i < Parts; ++i) {
        const std::string figure =
            std::string("start-up part vs the window of the design by bare CreateWindowEx: ") + names[i];
        Row(figure.c_str(), SpreadOf(steps[0][i]), SpreadOf(steps[2][i]),
            SpreadOf(Ratios(steps[0][i], steps[2][i])), "report");
    }
    return 0;
}

} // namespace bench
