#include "bench/ratio_interval.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int resamplings = 400;

// Puts the element of rank q * size in its sorted place and returns it.
double select_quantile(std::vector<double>& values, double q) {
    auto at = values.begin() + std::min(values.size() - 1, static_cast<size_t>(q * double(values.size())));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// A fixed seed: the same measurements always give the same interval.
class draws {
public:
    size_t below(size_t bound) {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return static_cast<size_t>((state_ >> 33) % bound);
    }

private:
    uint64_t state_ = 1;
};

double resampled_quantile(const std::vector<double>& values, double q, draws& pick, std::vector<double>& scratch) {
    scratch.resize(values.size());
    for (double& value : scratch) value = values[pick.below(values.size())];
    return select_quantile(scratch, q);
}

}  // namespace

double quantile(std::vector<double> values, double q) { return select_quantile(values, q); }

ratio_interval quantile_ratio(const std::vector<double>& top, const std::vector<double>& bottom, double q) {
    draws pick;
    std::vector<double> scratch, ratios;
    for (int i = 0; i < resamplings; ++i) {
        const double numerator = resampled_quantile(top, q, pick, scratch);
        ratios.push_back(numerator / resampled_quantile(bottom, q, pick, scratch));
    }
    return {quantile(top, q) / quantile(bottom, q), quantile(ratios, 0.05), quantile(ratios, 0.95)};
}
