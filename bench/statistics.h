// Summary figures of repeated measurements.
#pragma once

#include <algorithm>
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
