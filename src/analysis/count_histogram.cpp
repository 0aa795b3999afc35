#include "analysis/count_histogram.h"

#include <algorithm>
#include <cmath>

namespace r470 {

bool CountHistogram::OfValues(std::span<const double> x) {
    return Fill(x, false);
}

bool CountHistogram::OfSteps(std::span<const double> x) {
    return Fill(x, true);
}

bool CountHistogram::Fill(std::span<const double> x, bool steps) {
    size_ = 0;
    if (x.size() > kMaxCountRecord)
        return false;
    int lo = 0, hi = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double v = x[i];
        // Also false for a NaN.
        if (!(v >= -kCountReach && v <= kCountReach))
            return false;
        const int k = static_cast<int>(v);
        if (k != v)
            return false;
        lo = i ? std::min(lo, k) : k;
        hi = i ? std::max(hi, k) : k;
    }
    // Steps between values in [lo, hi] are at most hi - lo in size.
    low_ = steps ? 0 : lo;
    const int bins = hi - lo + 1;
    count_.assign(static_cast<std::size_t>(bins) + 1, 0);
    if (steps) {
        for (std::size_t i = 1; i < x.size(); ++i)
            ++count_[static_cast<std::size_t>(std::abs(static_cast<int>(x[i] - x[i - 1]))) + 1];
        size_ = x.empty() ? 0 : x.size() - 1;
    } else {
        for (double v : x)
            ++count_[static_cast<std::size_t>(static_cast<int>(v) - low_) + 1];
        size_ = x.size();
    }
    sum_.assign(count_.size(), 0);
    squares_.assign(count_.size(), 0);
    for (std::size_t b = 1; b < count_.size(); ++b) {
        const double v = low_ + static_cast<double>(b - 1);
        const double c = static_cast<double>(count_[b]);
        sum_[b] = sum_[b - 1] + c * v;
        squares_[b] = squares_[b - 1] + c * (v * v);
        count_[b] += count_[b - 1];
    }
    return true;
}

double CountHistogram::Median() const {
    if (size_ == 0)
        return 0;
    // The first bin whose running total passes the middle index.
    auto it = std::upper_bound(count_.begin(), count_.end(), size_ / 2);
    return low_ + static_cast<double>(it - count_.begin() - 1);
}

CountHistogram::Sums CountHistogram::Between(int a, int b) const {
    Sums s;
    if (a >= b)
        return s;
    const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
    s.n = count_[ub] - count_[ua];
    s.sum = sum_[ub] - sum_[ua];
    s.squares = squares_[ub] - squares_[ua];
    return s;
}

CountHistogram::Sums CountHistogram::Within(double level, double reach) const {
    const int bins = static_cast<int>(count_.size()) - 1;
    if (size_ == 0 || std::isnan(level) || std::isnan(reach))
        return {};
    // The same test a pass over the samples makes, on each value at the edges of the range:
    // rounding is monotonic, so the values it keeps are one run of bins.
    auto near = [&](int b) { return std::abs((low_ + b) - level) <= reach; };
    int a = static_cast<int>(std::clamp(std::ceil(level - reach) - low_, 0.0, double(bins)));
    while (a > 0 && near(a - 1))
        --a;
    while (a < bins && !near(a) && (low_ + a) < level)
        ++a;
    int b = a;
    while (b < bins && near(b))
        ++b;
    return Between(a, b);
}

CountHistogram::Sums CountHistogram::SquaresUpTo(double cap2) const {
    const int bins = static_cast<int>(count_.size()) - 1;
    if (size_ == 0 || !(cap2 >= 0))
        return {};
    const int top = std::max(std::abs(low_), std::abs(low_ + bins - 1));
    int k = static_cast<int>(std::min(std::sqrt(cap2), static_cast<double>(top)));
    auto fits = [&](int v) { return static_cast<double>(v) * v <= cap2; };
    while (k < top && fits(k + 1))
        ++k;
    while (k > 0 && !fits(k))
        --k;
    if (!fits(k))
        return {};
    return Between(std::max(0, -k - low_), std::min(bins, k - low_ + 1));
}

} // namespace r470
