#pragma once
// Timing, the min/median/max of repeated measurements, and the rows of the performance table.

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Spread {
    double min = 0, median = 0, max = 0;
};

// Seconds taken by one call of work.
double Seconds(const std::function<void()>& work);
// Runs work repetitions times, giving the seconds of each.
std::vector<double> Repeat(int repetitions, const std::function<void()>& work);
Spread SpreadOf(std::vector<double> values);
// Ratios of paired measurements (a[i] / b[i]), so each ratio compares figures of the same moment.
std::vector<double> Ratios(const std::vector<double>& a, const std::vector<double>& b);
std::string Format(const Spread& spread, const char* unit);
// Prints one table row: a figure in seconds, its reference in seconds, their ratio, the target.
void Row(const char* figure, const Spread& brindle, const Spread& reference, const Spread& ratio,
         const char* target);

} // namespace bench
