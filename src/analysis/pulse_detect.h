// The signal tools the waveform analysis is built from: a robust noise figure, the baseline,
// a smoothing matched to the pulse, excursions above the noise, and the tangent onset of an
// edge. All work on samples with the baseline already taken off, in sample units.
#pragma once

#include <span>
#include <vector>

namespace r470 {

// Below this the converter's own quantisation is the noise (a uniform step of one count).
constexpr double kMinNoise = 0.3;

// The root mean square of `v` with values beyond 3.5 times it left out, repeated until it
// settles: the few large values of edges and peaks do not count as noise.
double ClippedRms(std::span<const double> v);

// Noise of a record from its first differences: slow humps and tails hardly change from
// one sample to the next, so they do not pass for noise. At least kMinNoise.
double NoiseFromSteps(std::span<const double> x);

// The quiescent level: the median, then the mean of the samples within reach of it, so
// that a level between two counts is found between them.
double QuietLevel(std::span<const double> x, double noise);

// A baseline that follows slow drift: at each sample, the straight line fitted to the samples
// within `reach` of it that are not `masked` (edges, pulses), widened until it holds `reach`
// of them, level where the slope is within the noise. Masked stretches are bridged by the
// nearest quiet samples on either side.
std::vector<double> QuietTrend(std::span<const double> x, std::span<const char> masked, int reach);

// Centred running mean over 2 * half + 1 samples (shorter at the ends).
std::vector<double> Smooth(std::span<const double> x, int half);

// One excursion from the baseline: samples [first, last] where the smoothed signal stays
// beyond the low threshold on one side, with its extreme at `peak`.
struct Lobe {
    int first = 0;
    int last = 0;
    int peak = 0;
    int sign = 1;      // +1 above the baseline, -1 below
    double height = 0; // |smoothed| at the peak
};

// The excursions of `smoothed` from index `from` on that go beyond `low`; the caller keeps
// those whose height passes its own high threshold.
std::vector<Lobe> FindLobes(std::span<const double> smoothed, int from, double low);

// The top of a lobe's leading edge: the first index where the smoothed signal reaches 90% of
// its height (a flat-topped pulse has its extreme anywhere on the top).
int EdgeTop(std::span<const double> smoothed, const Lobe& lobe);

// How far an excursion must go to count, and where it is said to have ended.
struct Thresholds {
    double high = 0;
    double low = 0;
    double smoothedNoise = 0;
};

// From the noise of the raw signal and of its smoothed form (noise of a running mean of
// `half`, measured on the record itself, so correlated noise is not underrated).
Thresholds ThresholdsFor(std::span<const double> smoothed, int half, double noise);

// The onset of the edge that leaves the baseline near `start` and tops out at `top` on the
// side `sign`, by the tangent at its steepest point meeting the level it leaves (`level`:
// the baseline, 0, or what an earlier pulse's tail leaves there), in samples from the first,
// to a fraction of a sample. The steepest point is looked for from `earliest` on, by straight
// lines fitted to `raw` over a quarter of the rise; `start` and `top` come from a signal
// smoothed over 2 * smoothHalf + 1 samples.
double TangentOnset(std::span<const double> raw, int earliest, int start, int top, int sign,
                    int smoothHalf, double level = 0);

// The foot of the edge that tops out at `top` on the side `sign`: the lowest point of the
// smoothed signal within `span` samples before the top (an edge's length), from `earliest`
// on. Splits an edge from the slower hump it rises out of.
int EdgeFoot(std::span<const double> smoothed, int earliest, int top, int sign, int span);

} // namespace r470
