// A small timing harness: medians of repeated runs, printed one figure per line together with
// the ratio to a baseline taken in the same run, since these machines are shared and noisy.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

template <typename Work>
double MedianSeconds(int repeats, Work&& work) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const auto begin = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double>(end - begin).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void Figure(const char* name, double value, const char* unit) {
    std::printf("%-48s %14.3f %s\n", name, value, unit);
}

// Prints "name  ratio  (target ...)" and returns whether the target was met.
inline bool Ratio(const char* name, double ratio, double target, bool higherIsBetter = true) {
    const bool met = higherIsBetter ? ratio >= target : ratio <= target;
    std::printf("%-48s %14.3f ratio (target %s %.2f: %s)\n", name, ratio,
                higherIsBetter ? ">=" : "<=", target, met ? "met" : "NOT met");
    return met;
}

// Prints a figure with the least value it should reach and whether it does.
inline bool AtLeast(const char* name, double value, const char* unit, double target) {
    const bool met = value >= target;
    std::printf("%-48s %14.3f %s (target >= %.0f: %s)\n", name, value, unit, target,
                met ? "met" : "NOT met");
    return met;
}

// Keeps the optimiser from discarding a computed value.
template <typename T>
inline void Keep(const T& value) {
    asm volatile("" : : "r,m"(value) : "memory");
}

} // namespace bench
