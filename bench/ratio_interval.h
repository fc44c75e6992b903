// How far the ratio of two sides' quantiles can be trusted: the ratio is
// computed again over resamplings of both sides' measurements, and the 5th
// and 95th percentiles of those ratios bound it. A tail made of a few rare
// stalls moves a lot between resamplings, and so between runs.
#pragma once
#include <vector>

struct ratio_interval {
    double ratio;
    double low;
    double high;
};

// Quantile q (0 to 1) of values: the element at rank q * size once sorted.
double quantile(std::vector<double> values, double q);

ratio_interval quantile_ratio(const std::vector<double>& top, const std::vector<double>& bottom, double q);
