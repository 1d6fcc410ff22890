// Brindle's benchmarks. Each figure is measured in the same run as its reference and printed as a table
// row: Brindle's time, the reference's time, and their ratio, each as min / median / max.
//
//   bench_brindle make-tree DIR            the search tree: 2,000 folders, 20,000 files, 2,000 archives
//   bench_brindle search DIR               AutoListFiles against dir /s /b and a bare walk
//   bench_brindle capture WRITER           GetCommandOutput against a bare ReadFile loop
//   bench_brindle capture-peak WRITER MIB [reader]  peak memory of one capture (or of the text reader's)
//   bench_brindle log                      WriteMessage into the real window against whole-text appends
//   bench_brindle window-run DIR BRINDLE    an only-batch run through Brindle.exe's window over the tree
//   bench_brindle run-parts DIR            each step of that run on its own, beside a bare walk
//   bench_brindle run DIR RAR              a whole run over 500 archives against a for /r batch
//   bench_brindle startup BRINDLE EMPTY [DESIGNED]  start to window shown, against an empty window program
//                                          and the window of the design made with no Brindle code
//   bench_brindle startup-parts PARTS EMPTY [DESIGNED]  start-up step by step, against the same steps of
//                                          the empty window and of the window of the design
//   bench_brindle idle BRINDLE             private memory of Brindle at idle

#include "benchmarks.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace bench;

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"make-tree" && argc == 3) {
        return MakeTree(argv[2]);
    }
    if (command == L"search" && argc == 3) {
        return Search(argv[2]);
    }
    if (command == L"capture" && argc == 3) {
        return Capture(argv[2]);
    }
    if (command == L"capture-peak" && (argc == 4 || argc == 5)) {
        return CapturePeak(argv[2], std::wcstoul(argv[3], nullptr, 10),
                           argc == 5 && std::wstring(argv[4]) == L"reader");
    }
    if (command == L"log") {
        return Log();
    }
    if (command == L"window-run" && argc == 4) {
        return WindowRun(argv[2], argv[3]);
    }
    if (command == L"run-parts" && argc == 3) {
        return RunParts(argv[2]);
    }
    if (command == L"run" && argc == 4) {
        return WholeRun(argv[2], argv[3]);
    }
    if (command == L"startup" && (argc == 4 || argc == 5)) {
        return Startup(argv[2], argv[3], argc == 5 ? argv[4] : L"");
    }
    if (command == L"startup-parts" && (argc == 4 || argc == 5)) {
        return StartupParts(argv[2], argv[3], argc == 5 ? argv[4] : L"");
    }
    if (command == L"idle" && argc == 3) {
        return Idle(argv[2]);
    }
    std::fprintf(stderr, "usage: see the head of bench/bench_main.cpp\n");
    return 2;
}
