// The archive search alone: AutoListFiles against `dir /s /b` and a bare walk of the same tree.
#include "benchmarks.h"
#include "job/archive_finder.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

int Search(const std::wstring& root) {
    std::vector<double> brindle, dir, walk;
    size_t found = 0;
    // The first round brings the tree's listing into the caches for all three and is left out; more
    // rounds than elsewhere, as a search is short and the machine is shared.
    for (int i = 0; i < 2 * Repetitions; ++i) {
        brindle.push_back(Seconds([&] {
            job::JobState form;
            job::AutoListFiles(form, root, L"*.rar", true);
            found = static_cast<size_t>(std::count(form.strFileList.begin(), form.strFileList.end(), L'|'));
        }));
        dir.push_back(Seconds([&] { RunQuietly(L"cmd /c dir /s /b /a:-h-s *.rar", root); }));
        walk.push_back(Seconds([&] { BareWalk(root); }));
    }
    for (auto* times : {&brindle, &dir, &walk}) {
        times->erase(times->begin());
    }
    std::fprintf(stderr, "search: %zu archives found\n", found);
    Row("archive search vs `dir /s /b`", SpreadOf(brindle), SpreadOf(dir), SpreadOf(Ratios(brindle, dir)),
        "<= 0.5");
    Row("archive search vs bare walk", SpreadOf(brindle), SpreadOf(walk), SpreadOf(Ratios(brindle, walk)),
        "<= 1.5");
    return 0;
}

} // namespace bench
