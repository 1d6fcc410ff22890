// Brindle's benchmarks. Each figure is measured in the same run as its reference and printed as a table
// row: Brindle's time, the reference's time, and their ratio, each as min / median / max. Brindle is
// measured through the window of the real Brindle.exe, with the archiver beside it, as a user drives it.
//
//   bench_brindle make-tree DIR              the search tree: 2,000 folders, 20,000 files, 2,000 archives
//   bench_brindle search DIR BRINDLE         an only-batch run over the tree against dir /s /b and a
//                                            bare walk
//   bench_brindle run DIR BRINDLE            a whole run over 500 archives against a for /r batch
//   bench_brindle capture DIR BRINDLE MIB    a run whose archiver writes MIB MiB: time against the text
//                                            reader, peak memory, the window's answers during the run
//   bench_brindle startup BRINDLE EMPTY      start to window shown, against an empty window program
//   bench_brindle log                        the log box's appends against a bare edit control's
//
// BENCH_REPETITIONS sets how often each figure is measured (5 where it is not set).

#include "bench.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace bench;

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"make-tree" && argc == 3) {
        return MakeTree(argv[2]);
    }
    if (command == L"search" && argc == 4) {
        return Search(argv[2], argv[3]);
    }
    if (command == L"run" && argc == 4) {
        return WholeRun(argv[2], argv[3]);
    }
    if (command == L"capture" && argc == 5) {
        return Capture(argv[2], argv[3], std::wcstoul(argv[4], nullptr, 10));
    }
    if (command == L"startup" && argc == 4) {
        return Startup(argv[2], argv[3]);
    }
    if (command == L"log") {
        return Log();
    }
    std::fprintf(stderr, "usage: see the head of bench/bench_main.cpp\n");
    return 2;
}
