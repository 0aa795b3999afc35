#include "analysis/pulse_detect.h"

#include "analysis/count_histogram.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace r470 {

namespace {

// The clipped figure of whole numbers from their histogram, round by round as below.
double ClippedRmsOf(const CountHistogram& h) {
    if (h.Size() == 0)
        return 0;
    const double size = static_cast<double>(h.Size());
    double rms = std::sqrt(h.SquaresUpTo(std::numeric_limits<double>::infinity()).squares / size);
    for (int round = 0; round < 30 && rms > 0; ++round) {
        const double cap = 3.5 * rms;
        const CountHistogram::Sums kept = h.SquaresUpTo(cap * cap);
        if (kept.n == 0)
            break;
        double next = std::sqrt(kept.squares / static_cast<double>(kept.n));
        bool settled = std::abs(next - rms) <= 1e-9 * rms;
        rms = next;
        if (settled)
            break;
    }
    return rms;
}

// Kept from call to call, as the analysis makes several a trace.
CountHistogram& Histogram() {
    static thread_local CountHistogram h;
    return h;
}

} // namespace

double ClippedRms(std::span<const double> v) {
    if (v.empty())
        return 0;
    if (CountHistogram& h = Histogram(); h.OfValues(v))
        return ClippedRmsOf(h);
    const double size = static_cast<double>(v.size());
    // Sums in four parts, so that no addition waits for the one before.
    const std::size_t whole = v.size() / 4 * 4;
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    for (std::size_t i = 0; i < whole; i += 4) {
        s0 += v[i] * v[i];
        s1 += v[i + 1] * v[i + 1];
        s2 += v[i + 2] * v[i + 2];
        s3 += v[i + 3] * v[i + 3];
    }
    for (std::size_t i = whole; i < v.size(); ++i)
        s0 += v[i] * v[i];
    double rms = std::sqrt(((s0 + s1) + (s2 + s3)) / size);
    // A round keeps the squares up to (3.5 rms)^2. A smaller set has a smaller mean square,
    // so the figure only falls and a round drops only some of the largest squares: those
    // above a floor are kept sorted apart, the rest summed once, and a round costs a few
    // steps instead of a pass over the record (the analysis runs this several times a trace).
    static thread_local std::vector<double> tail;     // the squares above the floor, ascending
    static thread_local std::vector<double> tailSums; // and their running sums
    double floor = std::numeric_limits<double>::infinity();
    double body = 0;
    std::size_t bodyCount = 0, kept = 0;
    for (int round = 0; round < 30 && rms > 0; ++round) {
        const double cap = 3.5 * rms;
        const double cap2 = cap * cap;
        if (cap2 < floor) {
            floor = cap2 / 9;
            // Every square is written to the tail and only those within it counted: a test
            // and branch per value would guess wrong on every other block of four.
            tail.resize(v.size());
            std::size_t inTail = 0;
            auto toTail = [&](double q) {
                tail[inTail] = q;
                inTail += (q > floor) & (q <= cap2);
            };
            double b0 = 0, b1 = 0, b2 = 0, b3 = 0;
            std::size_t c0 = 0, c1 = 0, c2 = 0, c3 = 0;
            std::size_t i = 0;
            for (; i < whole; i += 4) {
                const double q0 = v[i] * v[i], q1 = v[i + 1] * v[i + 1], q2 = v[i + 2] * v[i + 2],
                             q3 = v[i + 3] * v[i + 3];
                b0 += q0 <= floor ? q0 : 0.0;
                b1 += q1 <= floor ? q1 : 0.0;
                b2 += q2 <= floor ? q2 : 0.0;
                b3 += q3 <= floor ? q3 : 0.0;
                c0 += q0 <= floor;
                c1 += q1 <= floor;
                c2 += q2 <= floor;
                c3 += q3 <= floor;
                toTail(q0);
                toTail(q1);
                toTail(q2);
                toTail(q3);
            }
            for (; i < v.size(); ++i) {
                const double q = v[i] * v[i];
                b0 += q <= floor ? q : 0.0;
                c0 += q <= floor;
                toTail(q);
            }
            tail.resize(inTail);
            body = (b0 + b1) + (b2 + b3);
            bodyCount = c0 + c1 + c2 + c3;
            std::sort(tail.begin(), tail.end());
            tailSums.resize(tail.size() + 1);
            tailSums[0] = 0;
            for (std::size_t i = 0; i < tail.size(); ++i)
                tailSums[i + 1] = tailSums[i] + tail[i];
            kept = tail.size();
        }
        while (kept > 0 && tail[kept - 1] > cap2)
            --kept;
        const std::size_t n = bodyCount + kept;
        if (n == 0)
            break;
        double next = std::sqrt((body + tailSums[kept]) / static_cast<double>(n));
        bool settled = std::abs(next - rms) <= 1e-9 * rms;
        rms = next;
        if (settled)
            break;
    }
    return rms;
}

double NoiseFromSteps(std::span<const double> x) {
    if (x.size() < 3)
        return kMinNoise;
    if (CountHistogram& h = Histogram(); h.OfSteps(x))
        return std::max(ClippedRmsOf(h) / std::sqrt(2.0), kMinNoise);
    std::vector<double> steps(x.size() - 1);
    for (std::size_t i = 1; i < x.size(); ++i)
        steps[i - 1] = x[i] - x[i - 1];
    return std::max(ClippedRms(steps) / std::sqrt(2.0), kMinNoise);
}

double QuietLevel(std::span<const double> x, double noise) {
    if (x.empty())
        return 0;
    const double reach = 3 * noise + 0.5;
    if (CountHistogram& h = Histogram(); h.OfValues(x)) {
        double level = h.Median();
        for (int round = 0; round < 4; ++round) {
            const CountHistogram::Sums s = h.Within(level, reach);
            if (s.n == 0)
                break;
            level = s.sum / static_cast<double>(s.n);
        }
        return level;
    }
    std::vector<double> v(x.begin(), x.end());
    auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    double level = *mid;
    for (int round = 0; round < 4; ++round) {
        // Four running sums, so that no addition waits for the one before.
        double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        int n0 = 0, n1 = 0, n2 = 0, n3 = 0;
        const std::size_t whole = x.size() / 4 * 4;
        auto near = [&](double s) { return std::abs(s - level) <= reach; };
        for (std::size_t i = 0; i < whole; i += 4) {
            const double a = x[i], b = x[i + 1], c = x[i + 2], d = x[i + 3];
            s0 += near(a) ? a : 0.0;
            s1 += near(b) ? b : 0.0;
            s2 += near(c) ? c : 0.0;
            s3 += near(d) ? d : 0.0;
            n0 += near(a);
            n1 += near(b);
            n2 += near(c);
            n3 += near(d);
        }
        for (std::size_t i = whole; i < x.size(); ++i)
            if (near(x[i])) {
                s0 += x[i];
                ++n0;
            }
        const int n = n0 + n1 + n2 + n3;
        if (n == 0)
            break;
        level = ((s0 + s1) + (s2 + s3)) / n;
    }
    return level;
}

std::vector<double> QuietTrend(std::span<const double> x, std::span<const char> masked, int reach) {
    const int n = static_cast<int>(x.size());
    // Running sums over the quiet samples of 1, t, t^2, x, t x and x^2, t from the middle.
    struct Sums {
        double n = 0, t = 0, tt = 0, x = 0, tx = 0, xx = 0;
        Sums operator-(const Sums& o) const {
            return {n - o.n, t - o.t, tt - o.tt, x - o.x, tx - o.tx, xx - o.xx};
        }
    };
    // Kept from call to call: a fresh block this size each time costs more than the sums.
    // One row for each sum, so that the six are stored apart and stay apart while summed.
    static thread_local std::vector<double> rows;
    const std::size_t m = x.size() + 1;
    rows.resize(6 * m);
    double* const pn = rows.data();
    double *const pt = pn + m, *const ptt = pt + m, *const px = ptt + m, *const ptx = px + m,
                  *const pxx = ptx + m;
    const double mid = n / 2.0;
    // Summed in six locals: reading each entry back from the one just stored, or two sums
    // packed into one register, makes each addition wait longer for the last.
    double sn = 0, st = 0, stt = 0, sx = 0, stx = 0, sxx = 0;
    pn[0] = pt[0] = ptt[0] = px[0] = ptx[0] = pxx[0] = 0;
    for (int i = 0; i < n; ++i) {
        if (!masked[i]) {
            const double t = i - mid;
            sn += 1;
            st += t;
            stt += t * t;
            sx += x[i];
            stx += t * x[i];
            sxx += x[i] * x[i];
        }
        pn[i + 1] = sn;
        pt[i + 1] = st;
        ptt[i + 1] = stt;
        px[i + 1] = sx;
        ptx[i + 1] = stx;
        pxx[i + 1] = sxx;
    }
    auto prefix = [&](int i) { return Sums{pn[i], pt[i], ptt[i], px[i], ptx[i], pxx[i]}; };
    std::vector<double> out(x.size());
    if (pn[n] == 0)
        return out;
    reach = std::max(reach, 2);
    // The trend is slow: fitted at every `stride`-th sample and the last, straight between.
    const int stride = std::max(1, reach / 8);
    int done = -1;
    for (int i = 0; i < n; i = i == n - 1 ? n : std::min(i + stride, n - 1)) {
        Sums w;
        for (int r = reach;; r *= 2) {
            const int a = std::max(0, i - r), b = std::min(n - 1, i + r);
            w = prefix(b + 1) - prefix(a);
            if (w.n >= reach || (a == 0 && b == n - 1))
                break;
        }
        const double mt = w.t / w.n, mx = w.x / w.n;
        const double var = w.tt - w.n * mt * mt;
        double slope = var > 1e-9 ? (w.tx - w.n * mt * mx) / var : 0;
        // A slope the noise could give is left out: carried across a masked stretch it would
        // tilt the level there for nothing.
        if (w.n > 2) {
            const double rss = std::max(0.0, w.xx - w.n * mx * mx - slope * slope * var);
            if (std::abs(slope) < 2.5 * std::sqrt(rss / (w.n - 2) / var))
                slope = 0;
        }
        out[i] = mx + slope * (i - mid - mt);
        // The first fit has no earlier one to join (and nothing before the record to read).
        if (done >= 0) {
            const double from = out[done];
            const double perSample = (out[i] - from) / (i - done);
            for (int k = done + 1; k < i; ++k)
                out[k] = from + perSample * (k - done);
        }
        done = i;
    }
    return out;
}

std::vector<double> Smooth(std::span<const double> x, int half) {
    const int n = static_cast<int>(x.size());
    static thread_local std::vector<double> prefix;
    prefix.resize(x.size() + 1);
    prefix[0] = 0;
    // Summed in a local: reading each entry back from the one just stored costs more.
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        sum += x[i];
        prefix[i + 1] = sum;
    }
    std::vector<double> out(x.size());
    // Within the record the mean is over the whole window: one division for all of them.
    const double inWindow = 1.0 / (2 * half + 1);
    auto at = [&](int i) {
        const int a = std::max(0, i - half), b = std::min(n - 1, i + half);
        const double sum = prefix[b + 1] - prefix[a];
        return b - a == 2 * half ? sum * inWindow : sum / (b - a + 1);
    };
    // Whole windows from `lo` up to `hi`, without a test for each.
    const int lo = half < 0 ? n : std::min(half, n);
    const int hi = std::clamp(n - half, lo, n);
    int i = 0;
    for (; i < lo; ++i)
        out[i] = at(i);
    for (; i < hi; ++i)
        out[i] = (prefix[i + half + 1] - prefix[i - half]) * inWindow;
    for (; i < n; ++i)
        out[i] = at(i);
    return out;
}

std::vector<Lobe> FindLobes(std::span<const double> sm, int from, double low) {
    std::vector<Lobe> lobes;
    const int n = static_cast<int>(sm.size());
    int i = std::max(0, from);
    while (i < n) {
        if (std::abs(sm[i]) <= low) {
            ++i;
            continue;
        }
        Lobe lobe;
        lobe.sign = sm[i] > 0 ? 1 : -1;
        lobe.first = lobe.peak = i;
        while (i < n && sm[i] * lobe.sign > low) {
            if (sm[i] * lobe.sign > sm[lobe.peak] * lobe.sign)
                lobe.peak = i;
            ++i;
        }
        lobe.last = i - 1;
        lobe.height = sm[lobe.peak] * lobe.sign;
        lobes.push_back(lobe);
    }
    return lobes;
}

int EdgeTop(std::span<const double> sm, const Lobe& lobe) {
    for (int i = lobe.first; i <= lobe.peak; ++i)
        if (sm[i] * lobe.sign >= 0.9 * lobe.height)
            return i;
    return lobe.peak;
}

Thresholds ThresholdsFor(std::span<const double> sm, int half, double noise) {
    const int width = 2 * half + 1;
    const double white = noise / std::sqrt(static_cast<double>(width));
    double measured = white;
    if (static_cast<int>(sm.size()) > 2 * width) {
        // Running means a whole window apart share no sample: their difference shows the
        // noise of the smoothed signal as it is, correlated or not.
        std::vector<double> d(sm.size() - static_cast<std::size_t>(width));
        for (std::size_t i = 0; i < d.size(); ++i)
            d[i] = sm[i + static_cast<std::size_t>(width)] - sm[i];
        measured = ClippedRms(d) / std::sqrt(2.0);
    }
    Thresholds t;
    // Never below white noise's share.
    t.smoothedNoise = std::max(measured, white);
    t.high = std::max(5.5 * t.smoothedNoise, 3.5 * noise);
    t.low = 0.5 * t.high;
    return t;
}

namespace {

struct Line {
    double value; // at the centre sample
    double slope; // per sample
};

// Least-squares straight line through samples [a, b], given at `centre`.
Line FitLine(std::span<const double> x, int a, int b, int centre) {
    double n = 0, st = 0, sv = 0, stt = 0, stv = 0;
    for (int i = a; i <= b; ++i) {
        double t = i - centre;
        n += 1;
        st += t;
        sv += x[i];
        stt += t * t;
        stv += t * x[i];
    }
    double den = n * stt - st * st;
    if (n < 2 || den == 0)
        return {x[centre], 0};
    double slope = (n * stv - st * sv) / den;
    return {(sv - slope * st) / n, slope};
}

} // namespace

double TangentOnset(std::span<const double> raw, int earliest, int start, int top, int sign,
                    int smoothHalf, double level) {
    const int n = static_cast<int>(raw.size());
    if (n < 3)
        return start;
    // The edge as the smoothing found it is longer by the running mean's width.
    const int rise = std::max(1, top - start - 2 * smoothHalf);
    const int half = std::max(1, static_cast<int>(std::lround(rise / 4.0)));
    const int lo = std::max({earliest, start - rise, half});
    const int hi = std::min(top + smoothHalf, n - 1 - half);
    // The steepest stretch found on wide fits, which noise cannot steer far; then the
    // tangent on the short fits within it.
    const int wide = std::max(half, smoothHalf);
    auto steepestIn = [&](int from, int to, int w) {
        int best = std::clamp(from, w, std::max(w, n - 1 - w));
        double bestSlope = -1e300;
        for (int k = std::max(from, w); k <= std::min(to, n - 1 - w); ++k) {
            double slope = FitLine(raw, k - w, k + w, k).slope * sign;
            if (slope > bestSlope) {
                bestSlope = slope;
                best = k;
            }
        }
        return best;
    };
    const int coarse = steepestIn(lo, hi, wide);
    const int steepest = steepestIn(std::max(lo, coarse - wide), std::min(hi, coarse + wide), half);
    const Line tangent =
        FitLine(raw, std::max(0, steepest - half), std::min(n - 1, steepest + half), steepest);
    if (tangent.slope * sign <= 0)
        return start;
    double onset = steepest - (tangent.value - level) / tangent.slope;
    return std::clamp(onset, static_cast<double>(std::max(0, earliest) - 1.0),
                      static_cast<double>(steepest));
}

int EdgeFoot(std::span<const double> sm, int earliest, int top, int sign, int span) {
    int foot = top;
    for (int i = top; i >= std::max(earliest, top - span); --i)
        if (sm[i] * sign < sm[foot] * sign)
            foot = i;
    return foot;
}

} // namespace r470
