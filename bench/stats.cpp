#include "stats.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace bench {

double Seconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    work();
    ::QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<double> Repeat(int repetitions, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        times.push_back(Seconds(work));
    }
    return times;
}

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    if (values.empty()) {
        return {};
    }
    return {values.front(), values[values.size() / 2], values.back()};
}

std::vector<double> Ratios(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        ratios.push_back(b[i] > 0 ? a[i] / b[i] : 0);
    }
    return ratios;
}

std::string Format(const Spread& spread, const char* unit) {
    char text[96];
    std::snprintf(text, sizeof text, "%.3g / %.3g / %.3g%s", spread.min, spread.median, spread.max, unit);
    return text;
}

void Row(const char* figure, const Spread& brindle, const Spread& reference, const Spread& ratio,
         const char* target) {
    std::printf("| %s | %s | %s | %s | %s |\n", figure, Format(brindle, " s").c_str(),
                Format(reference, " s").c_str(), Format(ratio, "").c_str(), target);
    std::fflush(stdout);
}

} // namespace bench
