// Start-up part by part: the moments bench_startup_parts (made like Brindle.exe) and the empty window
// program write as their steps end, each started afresh, side by side.
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
    const std::wstring line(sysAPI::GetCommandOutput(command).view());
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

int StartupParts(const std::wstring& parts, const std::wstring& empty) {
    static const char* const names[Parts] = {
        "start-up part: process start to program entry (loader, imported libraries, runtime)",
        "start-up part: common controls",
        "start-up part: window class, window, 13 controls, font, icon, archiver check",
        "start-up part: show and first paint",
    };
    std::vector<double> ours[Parts], reference[Parts];
    StepsOf(L"\"" + parts + L"\"");
    for (int round = 0; round < 2 * Repetitions; ++round) {
        const std::vector<double> ourSteps = StepsOf(L"\"" + parts + L"\"");
        const std::vector<double> emptySteps = StepsOf(L"\"" + empty + L"\" --parts");
        if (ourSteps.size() != Parts || emptySteps.size() != Parts) {
            std::fprintf(stderr, "startup parts: a program did not report its steps\n");
            return 1;
        }
        for (int i = 0; i < Parts; ++i) {
            ours[i].push_back(ourSteps[i]);
            reference[i].push_back(emptySteps[i]);
        }
    }
    for (int i = 0; i < Parts; ++i) {
        if (i == 1) {
            std::printf("| %s | %s | empty window: none | - | report |\n", names[i],
                        Format(SpreadOf(ours[i]), " s").c_str());
            continue;
        }
        Row(names[i], SpreadOf(ours[i]), SpreadOf(reference[i]), SpreadOf(Ratios(ours[i], reference[i])),
            "report");
    }
    return 0;
}

} // namespace bench
