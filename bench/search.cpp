// The archive search as the user feels it: an only-batch run over the tree through Brindle's window,
// against `dir /s /b`, a bare walk, and the search's floor, a bare walk that asks for the 8.3 aliases the
// batch's short paths are made of. Every step after the search takes some milliseconds, so the run is the
// search.
#include "bench.h"

#include <cstdio>
#include <vector>

namespace bench {

int MakeTree(const std::wstring& root) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    std::vector<std::wstring> folders{root};
    std::vector<int> depth{0};
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFFF; };
    for (int i = 1; i < 2000; ++i) {
        size_t parent = next() % folders.size();
        while (depth[parent] >= 6) {
            parent = next() % folders.size();
        }
        const std::wstring folder = folders[parent] + L"\\folder " + std::to_wstring(i);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        if (i % 50 == 0) {
            ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
        }
        folders.push_back(folder);
        depth.push_back(depth[parent] + 1);
    }
    int files = 0;
    for (size_t f = 0; f < folders.size(); ++f) {
        for (int k = 0; k < 10; ++k, ++files) {
            const std::wstring name = folders[f] + (k == 0 ? L"\\archive " + std::to_wstring(f) + L".rar"
                                                           : L"\\page " + std::to_wstring(k) + L".htm");
            WriteText(name);
            if (files % 97 == 0) {
                ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN);
            }
        }
    }
    std::fprintf(stderr, "tree: %zu folders, %d files\n", folders.size(), files);
    return 0;
}

int Search(const std::wstring& root, const std::wstring& exe) {
    const ShownProgram brindle(exe, BrindleClass);
    if (brindle.window() == nullptr) {
        std::fprintf(stderr, "search: Brindle's window did not show (Rar.exe beside it?)\n");
        return 1;
    }
    SetUp(brindle.window(), root, L"*.htm", true, true);
    // A first run brings the tree's listing into the caches, as it is for the references.
    Execute(brindle.window());
    std::vector<double> ours, dir, walk, aliases;
    // More rounds than elsewhere: a search is short, and the machine is shared.
    for (int i = 0; i < 2 * Repetitions(); ++i) {
        const WindowRun run = Execute(brindle.window());
        if (!run.ended) {
            std::fprintf(stderr, "search: the run did not end\n");
            return 1;
        }
        ours.push_back(run.seconds);
        dir.push_back(Seconds([&] { RunInConsole(L"cmd /c dir /s /b /a:-h-s *.rar", root); }));
        walk.push_back(Seconds([&] { BareWalk(root); }));
        aliases.push_back(Seconds([&] { BareWalk(root, FindExInfoStandard); }));
    }
    std::fprintf(stderr, "search: %zu archives in the tree\n", BareWalk(root));
    ::DeleteFileW((root + L"\\Brindle.BAT").c_str());
    ::DeleteFileW((root + L"\\RARLIST.LST").c_str());
    const std::string figure = "archive search (only-batch run through the window) vs ";
    Row(figure + "`dir /s /b`", ours, dir, "<= 0.5");
    Row(figure + "bare walk", ours, walk, "<= 1.2");
    Row(figure + "bare walk asking for 8.3 aliases (its floor)", ours, aliases, "report");
    return 0;
}

} // namespace bench
