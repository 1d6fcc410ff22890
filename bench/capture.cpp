// Output capture: GetCommandOutput against a bare reader of the same child's output, and its peak memory.
#include "benchmarks.h"
#include "job/command_runner.h"
#include "platform/unique_handle.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <psapi.h>
#include <string>
#include <vector>

namespace bench {

namespace {

// The reference reader: one pipe, a preallocated buffer, no conversion.
void BareCapture(const std::wstring& writer, size_t mib, std::vector<char>& buffer) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    platform::unique_handle readEnd, writeEnd;
    ::CreatePipe(readEnd.addressof(), writeEnd.addressof(), &inherit, 0);
    ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = OutputTo(writeEnd.get());
    PROCESS_INFORMATION process{};
    std::wstring command = writer + L" " + std::to_wstring(mib);
    ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &process);
    platform::unique_handle thread(process.hThread), handle(process.hProcess);
    writeEnd.reset();
    size_t used = 0;
    DWORD got = 0;
    while (used < buffer.size() &&
           ::ReadFile(readEnd.get(), buffer.data() + used,
                      static_cast<DWORD>(std::min<size_t>(32767, buffer.size() - used)), &got, nullptr)) {
        used += got;
    }
}

} // namespace

int Capture(const std::wstring& writer) {
    std::vector<double> brindle64, brindle256;
    for (size_t mib : {64u, 256u}) {
        std::vector<char> buffer((mib << 20) + 1);
        std::vector<double> brindle, bare;
        for (int i = 0; i < 3; ++i) {
            brindle.push_back(
                Seconds([&] { sysAPI::GetCommandOutput(writer + L" " + std::to_wstring(mib)); }));
            bare.push_back(Seconds([&] { BareCapture(writer, mib, buffer); }));
        }
        // Throughput ratio: Brindle's bytes per second over the bare reader's.
        const std::string figure = "output capture " + std::to_string(mib) + " MiB (throughput vs bare)";
        Row(figure.c_str(), SpreadOf(brindle), SpreadOf(bare), SpreadOf(Ratios(bare, brindle)), ">= 0.8");
        (mib == 64 ? brindle64 : brindle256) = brindle;
    }
    std::vector<double> linearity;
    for (size_t i = 0; i < brindle64.size(); ++i) {
        linearity.push_back(brindle256[i] / brindle64[i] / 4.0);
    }
    Row("output capture 256 MiB time / (4 x 64 MiB time)", SpreadOf(brindle256), SpreadOf(brindle64),
        SpreadOf(linearity), "0.85 - 1.15");
    return 0;
}

int CapturePeak(const std::wstring& writer, size_t mib) {
    PROCESS_MEMORY_COUNTERS before{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before);
    const std::wstring text = sysAPI::GetCommandOutput(writer + L" " + std::to_wstring(mib));
    PROCESS_MEMORY_COUNTERS after{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof after);
    const double output = static_cast<double>(mib << 20);
    std::printf("| output capture peak memory, %zu MiB | %.0f MiB peak commit | %zu MiB output (%zu UTF-16 "
                "characters) | %.2f x | <= 2.5 x |\n",
                mib, static_cast<double>(after.PeakPagefileUsage - before.PagefileUsage) / (1 << 20), mib,
                text.size(), static_cast<double>(after.PeakPagefileUsage - before.PagefileUsage) / output);
    return 0;
}

} // namespace bench
