// Summary figures of repeated measurements.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

struct Summary {
    double median = 0;
    double minimum = 0;
    double maximum = 0;
};

inline Summary Summarise(std::vector<double> samples)
{
    Summary summary;
    if (samples.empty())
        return summary;
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    summary.median = samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
    summary.minimum = samples.front();
    summary.maximum = samples.back();
    return summary;
}

// One row of the benchmark's Markdown table.
inline void PrintRow(const std::string& what, const char* unit, const Summary& s, double scale = 1.0)
{
    std::printf("| %s | %.3f | %.3f | %.3f | %s |\n", what.c_str(), s.median * scale, s.minimum * scale,
                s.maximum * scale, unit);
}
