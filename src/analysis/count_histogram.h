// Records of whole numbers (the converter's counts, and differences or steps of them) held as
// a histogram, so that a median and the sums over a range of values cost a look-up instead of
// a sort or a pass over the record. Sums of whole numbers this small are exact in any order:
// every figure is the one a plain pass over the samples gives, to the last bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace r470 {

// Values beyond this, or records longer than kMaxCountRecord, take the general path.
constexpr int kCountReach = 1 << 12;
constexpr std::size_t kMaxCountRecord = std::size_t{1} << 20;

class CountHistogram {
  public:
    struct Sums {
        std::size_t n = 0;
        double sum = 0;     // of the values
        double squares = 0; // of their squares
    };

    // Of the values of `x`; false when one is not a whole number within kCountReach.
    bool OfValues(std::span<const double> x);
    // Of the sizes of the steps |x[i] - x[i - 1]|, on the same condition on `x`.
    bool OfSteps(std::span<const double> x);

    std::size_t Size() const { return size_; }
    // The value at index Size() / 2 in ascending order (what nth_element puts there).
    double Median() const;
    // The values v with |v - level| <= reach.
    Sums Within(double level, double reach) const;
    // The values v with v * v <= cap2.
    Sums SquaresUpTo(double cap2) const;

  private:
    bool Fill(std::span<const double> x, bool steps);
    // The values of bins [a, b).
    Sums Between(int a, int b) const;

    int low_ = 0; // the value of bin 0
    std::size_t size_ = 0;
    // Running totals by bin: entry b holds the bins before b.
    std::vector<std::size_t> count_;
    std::vector<double> sum_, squares_;
    std::vector<std::uint32_t> lanes_; // counts while filling, four to a bin
};

} // namespace r470
