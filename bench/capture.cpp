// Output capture: GetCommandOutput against the straightforward reader that returns the same text (which
// GetCommandOutput now is, but for its pairwise look at split characters), beside a bare read of the pipe,
// and its peak memory.
#include "benchmarks.h"
#include "platform/child_process.h"
#include "platform/command_runner.h"
#include "platform/unique_handle.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <psapi.h>
#include <string>
#include <vector>

namespace bench {

namespace {

// The writer started with its output on a pipe whose read end only this process holds.
platform::PipedChild StartWriter(const std::wstring& writer, size_t mib) {
    return platform::PipedChild(writer + L" " + std::to_wstring(mib));
}

// The bare reader: a buffer allocated and touched before timing, no conversion. Nothing that returns the
// text can reach it; it shows what the pipe itself costs.
void BareCapture(const std::wstring& writer, size_t mib, std::vector<char>& buffer) {
    platform::PipedChild running = StartWriter(writer, mib);
    size_t used = 0;
    DWORD got = 0;
    while (used < buffer.size() &&
           running.Read(buffer.data() + used,
                        static_cast<DWORD>(std::min<size_t>(32767, buffer.size() - used)), got)) {
        used += got;
    }
}

// The straightforward reader that returns the text: ReadFile in a loop, each chunk converted from the
// ANSI code page and appended to a growing string. A lead byte that ends a chunk waits for its trail byte.
std::wstring TextCapture(const std::wstring& writer, size_t mib) {
    platform::PipedChild running = StartWriter(writer, mib);
    std::wstring text;
    char chunk[32768];
    DWORD carried = 0, got = 0;
    while (running.Read(chunk + carried, sizeof chunk - carried, got) && got > 0) {
        DWORD bytes = carried + got;
        carried = ::IsDBCSLeadByte(static_cast<BYTE>(chunk[bytes - 1])) ? 1 : 0;
        bytes -= carried;
        const size_t held = text.size();
        text.resize(held + bytes);
        const int made = ::MultiByteToWideChar(CP_ACP, 0, chunk, static_cast<int>(bytes), text.data() + held,
                                               static_cast<int>(bytes));
        text.resize(held + static_cast<size_t>(made));
        if (carried != 0) {
            chunk[0] = chunk[bytes];
        }
    }
    return text;
}

// The Linux side's resident size of this process, now and at its peak (VmRSS and VmHWM), read through
// drive Z:; Wine's own counters do not follow the peak. known is false where there is no /proc.
struct ResidentSizes {
    bool known = false;
    size_t now = 0;
    size_t peak = 0;
};

std::string ReadWhole(const std::wstring& path) {
    const platform::unique_handle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    // Files under /proc report no size, so they are read to their end.
    while (file && ::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
        text.append(chunk, got);
    }
    return text;
}

// This process's folder under /proc. Z:\proc\self would be the Wine server's, which opens files for its
// clients; but a name is looked up in the process itself, so /proc/self/task/N exists for this process's
// threads only, the first of which has the process's number.
std::wstring OwnProcFolder() {
    WIN32_FIND_DATAW entry{};
    const platform::unique_hfind search(::FindFirstFileW(L"Z:\\proc\\*", &entry));
    if (!search) {
        return {};
    }
    do {
        const std::wstring name = entry.cFileName;
        if (!name.empty() && name.find_first_not_of(L"0123456789") == std::wstring::npos &&
            ::GetFileAttributesW((L"Z:\\proc\\self\\task\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES) {
            return L"Z:\\proc\\" + name;
        }
    } while (::FindNextFileW(search.get(), &entry));
    return {};
}

ResidentSizes LinuxResidentSizes(const std::wstring& procFolder) {
    ResidentSizes sizes;
    if (procFolder.empty()) {
        return sizes;
    }
    const std::string status = ReadWhole(procFolder + L"\\status");
    const auto kib = [&](const char* field, size_t& value) {
        const size_t at = status.find(field);
        if (at == std::string::npos) {
            return false;
        }
        value = static_cast<size_t>(std::strtoull(status.c_str() + at + std::strlen(field), nullptr, 10))
                << 10;
        return true;
    };
    sizes.known = kib("VmRSS:", sizes.now) && kib("VmHWM:", sizes.peak);
    return sizes;
}

} // namespace

int Capture(const std::wstring& writer) {
    std::vector<double> brindle64, brindle256;
    // 1 MiB is some 3,000 archives' reports, what a real run prints; the larger sizes show how it scales.
    for (size_t mib : {1u, 64u, 256u}) {
        std::vector<double> brindle, bare, reader;
        size_t ours = 0, theirs = 0;
        for (int i = 0; i < (mib == 1 ? 20 : 4); ++i) {
            const auto timeBrindle = [&] {
                brindle.push_back(Seconds(
                    [&] { ours = sysAPI::GetCommandOutput(writer + L" " + std::to_wstring(mib)).size(); }));
            };
            const auto timeReader = [&] {
                reader.push_back(Seconds([&] { theirs = TextCapture(writer, mib).size(); }));
            };
            // The one that goes second may find the memory the first has just freed still mapped, so they
            // take turns going first.
            if (i % 2 == 0) {
                timeBrindle();
                timeReader();
            } else {
                timeReader();
                timeBrindle();
            }
            // Held only around its own reading, so a 32-bit process has room for the others' text.
            std::vector<char> buffer((mib << 20) + 1);
            bare.push_back(Seconds([&] { BareCapture(writer, mib, buffer); }));
        }
        if (ours != theirs) {
            std::fprintf(stderr, "capture: Brindle returned %zu characters, the text reader %zu\n", ours,
                         theirs);
        }
        // Throughput ratios: Brindle's bytes per second over the reference's.
        const std::string size = std::to_string(mib) + " MiB";
        Row(("output capture " + size + " (throughput vs text reader)").c_str(), SpreadOf(brindle),
            SpreadOf(reader), SpreadOf(Ratios(reader, brindle)), "report");
        Row(("output capture " + size + " (throughput vs bare pipe read)").c_str(), SpreadOf(brindle),
            SpreadOf(bare), SpreadOf(Ratios(bare, brindle)), "report");
        if (mib == 64) {
            brindle64 = brindle;
        } else if (mib == 256) {
            brindle256 = brindle;
        }
    }
    std::vector<double> linearity;
    for (size_t i = 0; i < brindle64.size(); ++i) {
        linearity.push_back(brindle256[i] / brindle64[i] / 4.0);
    }
    Row("output capture 256 MiB time / (4 x 64 MiB time)", SpreadOf(brindle256), SpreadOf(brindle64),
        SpreadOf(linearity), "0.85 - 1.15");
    return 0;
}

int CapturePeak(const std::wstring& writer, size_t mib, bool textReader) {
    const std::wstring procFolder = OwnProcFolder();
    const ResidentSizes residentBefore = LinuxResidentSizes(procFolder);
    PROCESS_MEMORY_COUNTERS before{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before);
    // Measured while the text is still held.
    PROCESS_MEMORY_COUNTERS after{};
    ResidentSizes residentAfter;
    size_t characters = 0;
    const auto measure = [&](size_t size) {
        characters = size;
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof after);
        residentAfter = LinuxResidentSizes(procFolder);
    };
    if (textReader) {
        measure(TextCapture(writer, mib).size());
    } else {
        measure(sysAPI::GetCommandOutput(writer + L" " + std::to_wstring(mib)).size());
    }

    const double output = static_cast<double>(mib << 20);
    const char* const who = textReader ? " (the text reader, for comparison)" : "";
    if (residentBefore.known && residentAfter.known) {
        const double peak = static_cast<double>(residentAfter.peak - residentBefore.now);
        std::printf("| output capture peak memory, %zu MiB%s | %.0f MiB peak resident | %zu MiB output (%zu "
                    "UTF-16 characters) | %.2f x | %s |\n",
                    mib, who, peak / (1 << 20), mib, characters, peak / output,
                    textReader ? "report" : "<= 2.5 x");
    }
    // Wine's peak-commit counter does not follow the peak (it shows the same for both readers); kept
    // beside the resident figure, which is the one that counts where /proc can be read.
    const double commit = static_cast<double>(after.PeakPagefileUsage - before.PagefileUsage);
    std::printf(
        "| output capture peak memory, %zu MiB%s, by the peak-commit counter | %.0f MiB peak commit | "
        "%zu MiB output (%zu UTF-16 characters) | %.2f x | %s |\n",
        mib, who, commit / (1 << 20), mib, characters, commit / output,
        residentBefore.known || textReader ? "report" : "<= 2.5 x");
    return 0;
}

} // namespace bench
