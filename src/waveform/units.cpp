#include "waveform/units.h"

#include <cmath>
#include <cstdio>

namespace r470 {

int Nearest(double v) {
    // Halves to even, as the default rounding mode sends them; below 2^51 adding and taking
    // away 1.5 x 2^52 rounds the same way without a call to the library.
    constexpr double kRound = 6755399441055744.0;
    double r = std::abs(v) < 2251799813685248.0 ? (v + kRound) - kRound : std::nearbyint(v);
    if (r > 2147483647.0)
        return 2147483647;
    if (r < -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(r);
}

double NsToMetres(int diel, double t) {
    return t * kMetresPerNsAtPvf1 * (diel / 1000.0);
}

double MetresToNs(int diel, double d) {
    // A dielectric of 0 would divide by zero; the display never holds one, files may.
    if (diel <= 0)
        return 0;
    return d / ((diel / 1000.0) * kMetresPerNsAtPvf1);
}

double NsToAxisUnits(int diel, int units, double t) {
    if (units == AxisFeet)
        return NsToMetres(diel, t) * kFeetPerMetre;
    if (units == AxisTime)
        return t;
    return NsToMetres(diel, t);
}

std::string Fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s == "-0" || s.rfind("-0.", 0) == 0) {
        // "-0.00" is not a value anyone wants to read: a tiny negative prints as zero.
        if (s.find_first_not_of("-0.") == std::string::npos)
            s.erase(0, 1);
    }
    return s;
}

std::string TrimZeros(std::string s) {
    if (s.find('.') == std::string::npos)
        return s;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s;
}

std::string FormatAxisValue(int diel, int units, double t) {
    if (units == AxisFeet) {
        double f = NsToMetres(diel, t) * kFeetPerMetre;
        return TrimZeros(Fixed(f, f < 1000 ? 1 : 0)) + "ft";
    }
    if (units == AxisTime) {
        if (t < 1000)
            return TrimZeros(Fixed(t, 1)) + "ns";
        return TrimZeros(Fixed(t / 1000, 3)) + "\xB5s";
    }
    double m = NsToMetres(diel, t);
    int decimals = m < 100 ? 2 : m < 1000 ? 1 : 0;
    return TrimZeros(Fixed(m, decimals)) + "m";
}

double VelocityValue(int dielUnits, int axisUnits, int diel) {
    double v = diel / 1000.0;
    if (dielUnits != DielPvf)
        v = v * kLightSpeed / 1000000;
    if (dielUnits == DielVHalf)
        v = v / 2;
    if (dielUnits != DielPvf && axisUnits == AxisFeet)
        v = v * kFeetPerMetre;
    return v;
}

double GainFactor(int dispGain) {
    return dispGain >= 0 ? dispGain : 1.0 / -dispGain;
}

int GetGaindBs(int g) {
    int c = 1;
    int r = 0;
    if (g > 1) {
        do {
            c = 2 * c;
            r += 6;
        } while (c < g);
    } else if (g < 1) {
        do {
            c = c == 1 ? -2 : c < 0 ? 2 * c : c / 2;
            r -= 6;
        } while (c > g);
    }
    return r;
}

} // namespace r470
