// The benchmarks' Rar.exe: it touches no archive and reports one line, so a benchmark measures the run,
// not the archives; with BENCH_ARCHIVER_MIB set it writes that many MiB of 80-byte lines instead, in
// writes of mixed sizes, as an archiver's output reaches the pipe in pieces of any length.
#include <windows.h>

#include <cstdlib>
#include <vector>

int main() {
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    char mib[16] = {};
    if (::GetEnvironmentVariableA("BENCH_ARCHIVER_MIB", mib, sizeof mib) == 0) {
        static const char line[] = "Deleting from archive\r\n";
        return ::WriteFile(out, line, sizeof line - 1, &written, nullptr) ? 0 : 1;
    }
    constexpr size_t Line = 80;
    std::vector<char> text(65536 + Line);
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = i % Line == Line - 2 ? '\r' : i % Line == Line - 1 ? '\n' : static_cast<char>('a' + i % 26);
    }
    static const size_t sizes[] = {512, 4096, 100, 65536, 7, 32768, 1500, 16384};
    const size_t total = static_cast<size_t>(std::strtoull(mib, nullptr, 10)) << 20;
    for (size_t done = 0, turn = 0; done < total; ++turn) {
        const size_t size = sizes[turn % 8] < total - done ? sizes[turn % 8] : total - done;
        if (!::WriteFile(out, text.data() + done % Line, static_cast<DWORD>(size), &written, nullptr)) {
            return 1;
        }
        done += size;
    }
    return 0;
}
