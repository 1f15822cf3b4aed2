// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Timing and memory figures shared by the benchmark programs.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <vector>

namespace tovix::bench {

using Clock = std::chrono::steady_clock;

// The process's resident set in bytes, from /proc/self/statm.
inline long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long total = 0;
    long resident = 0;
    statm >> total >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// The wall time of one call of f in milliseconds.
template <class F>
double Milliseconds(F f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The median of the values; 0 when there are none.
inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The value below which the share p (0 .. 1) of the values lies.
inline double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

}  // namespace tovix::bench
