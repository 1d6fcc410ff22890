// Start-up: from the process's start to its window shown, Brindle against the smallest window program.
#include "bench.h"

#include <cstdio>
#include <vector>

namespace bench {

int Startup(const std::wstring& brindle, const std::wstring& empty) {
    // A first start brings the program and its libraries into the caches, as for every later one.
    if (const ShownProgram first(brindle, BrindleClass); first.window() == nullptr) {
        std::fprintf(stderr, "startup: Brindle's window did not show (Rar.exe beside it?)\n");
        return 1;
    }
    std::vector<double> ours, reference;
    // Three times the usual rounds: each start is short, and the machine is shared. The two take turns
    // going first, so neither always meets the moment after the other's exit.
    for (int i = 0; i < 3 * Repetitions(); ++i) {
        for (int turn = 0; turn < 2; ++turn) {
            if ((i + turn) % 2 == 0) {
                const ShownProgram program(brindle, BrindleClass);
                ours.push_back(program.secondsToWindow());
            } else {
                const ShownProgram program(empty, L"BenchEmptyWindow");
                reference.push_back(program.secondsToWindow());
            }
        }
    }
    Row("start-up to window shown vs an empty window program", ours, reference, "<= 1.2");
    return 0;
}

} // namespace bench
