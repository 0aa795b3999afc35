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
    // Whole numbers within reach, in one pass without a branch: adding 1.5 x 2^52 and taking
    // it away again rounds a value to a whole number, and leaves only those as they were.
    // Four lanes, so that no step waits for the one before.
    constexpr double kRound = 6755399441055744.0;
    // Most records of fractions show one in their first values.
    for (std::size_t i = 0; i < std::min<std::size_t>(x.size(), 8); ++i)
        if ((x[i] + kRound) - kRound != x[i])
            return false;
    double lo[4], hi[4], off[4] = {0, 0, 0, 0};
    std::fill(lo, lo + 4, x.empty() ? 0 : x[0]);
    std::fill(hi, hi + 4, x.empty() ? 0 : x[0]);
    auto take = [&](int j, double v) {
        off[j] += std::abs((v + kRound) - kRound - v);
        lo[j] = std::min(lo[j], v);
        hi[j] = std::max(hi[j], v);
    };
    const std::size_t whole = x.size() / 4 * 4;
    for (std::size_t i = 0; i < whole; i += 4) {
        take(0, x[i]);
        take(1, x[i + 1]);
        take(2, x[i + 2]);
        take(3, x[i + 3]);
    }
    for (std::size_t i = whole; i < x.size(); ++i)
        take(0, x[i]);
    const double low = std::min(std::min(lo[0], lo[1]), std::min(lo[2], lo[3]));
    const double high = std::max(std::max(hi[0], hi[1]), std::max(hi[2], hi[3]));
    // A NaN or an infinity leaves an offset that is not 0.
    if (!((off[0] + off[1]) + (off[2] + off[3]) == 0) || !(low >= -kCountReach) ||
        !(high <= kCountReach))
        return false;
    // Steps between values in [lo, hi] are at most hi - lo in size.
    low_ = steps ? 0 : static_cast<int>(low);
    const int bins = static_cast<int>(high - low) + 1;
    // Neighbouring samples in four counts of their own: a quiet stretch adds to one bin over
    // and over, and each addition would wait for the one before.
    lanes_.assign(4 * static_cast<std::size_t>(bins), 0);
    // In locals: a count written through the vector could be this object's own field.
    std::uint32_t* lanes = lanes_.data();
    const int first = low_;
    if (steps) {
        for (std::size_t i = 1; i < x.size(); ++i)
            ++lanes[4 * static_cast<std::size_t>(std::abs(static_cast<int>(x[i] - x[i - 1]))) +
                    (i & 3)];
        size_ = x.empty() ? 0 : x.size() - 1;
    } else {
        for (std::size_t i = 0; i < x.size(); ++i)
            ++lanes[4 * static_cast<std::size_t>(static_cast<int>(x[i]) - first) + (i & 3)];
        size_ = x.size();
    }
    count_.assign(static_cast<std::size_t>(bins) + 1, 0);
    sum_.assign(count_.size(), 0);
    squares_.assign(count_.size(), 0);
    for (std::size_t b = 1; b < count_.size(); ++b) {
        const std::uint32_t* lane = &lanes_[4 * (b - 1)];
        const std::size_t n = std::size_t{lane[0]} + lane[1] + lane[2] + lane[3];
        const double v = low_ + static_cast<double>(b - 1);
        const double c = static_cast<double>(n);
        count_[b] = count_[b - 1] + n;
        sum_[b] = sum_[b - 1] + c * v;
        squares_[b] = squares_[b - 1] + c * (v * v);
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
