#pragma once

// What the plain timed benchmark programs share: timing a piece of work, and
// the medians they report.

#include <algorithm>
#include <chrono>
#include <vector>

// The wall-clock milliseconds the work takes.
template<typename F> double Milliseconds(F&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of the ratios of runs made side by side: a load that slows one
// run slows its reference as much, so the ratio holds still where times do not.
inline double MedianRatio(const std::vector<double>& subject, const std::vector<double>& reference)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < subject.size() && i < reference.size(); ++i)
        ratios.push_back(subject[i] / reference[i]);
    return Median(ratios);
}
