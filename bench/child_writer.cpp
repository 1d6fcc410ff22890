// Writes N MiB to standard output in writes of mixed sizes, for the output-capture benchmark.
#include <windows.h>

#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    const size_t total = (argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1) << 20;
    static const size_t sizes[] = {512, 4096, 100, 65536, 7, 32768, 1500, 16384};
    std::vector<char> chunk(65536);
    for (size_t i = 0; i < chunk.size(); ++i) {
        chunk[i] = static_cast<char>('a' + i % 26);
    }
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    size_t done = 0;
    for (size_t turn = 0; done < total; ++turn) {
        size_t size = sizes[turn % 8];
        if (size > total - done) {
            size = total - done;
        }
        DWORD written = 0;
        if (!::WriteFile(out, chunk.data(), static_cast<DWORD>(size), &written, nullptr)) {
            return 1;
        }
        done += size;
    }
    return 0;
}
