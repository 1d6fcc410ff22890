// The search tree: 2,000 folders, 20,000 files, 2,000 archives, some of them hidden.
#include "benchmarks.h"
#include "support.h"

#include <windows.h>

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
            Touch(name);
            if (files % 97 == 0) {
                ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN);
            }
        }
    }
    std::printf("tree: %zu folders, %d files\n", folders.size(), files);
    return 0;
}

} // namespace bench
