#pragma once
// Start-up in parts, for the benchmark: seconds since the process was created, and a line with the
// parts that a window program writes to its standard output when asked.

#include <windows.h>

#include <cstdio>

namespace bench {

inline double SecondsSinceProcessStart() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    ::GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 1e7;
}

// Writes the moments (seconds since process start) after each part, space-separated, on one line.
inline void WriteParts(const double* moments, int count) {
    char line[256];
    int used = 0;
    for (int i = 0; i < count && used < static_cast<int>(sizeof line) - 32; ++i) {
        used += std::snprintf(line + used, sizeof line - used, "%.6f ", moments[i]);
    }
    line[used++] = '\n';
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(used), &written, nullptr);
}

} // namespace bench
