#pragma once
#include <algorithm>
#include <cstddef>
#include <vector>

// The q-quantile (0..1) of the samples, which it reorders.
inline double quantile(std::vector<double>& samples, double q) {
    if (samples.empty()) return 0;
    auto at = samples.begin() + static_cast<std::ptrdiff_t>(q * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), at, samples.end());
    return *at;
}
