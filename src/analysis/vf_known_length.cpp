#include "analysis/vf_known_length.h"

#include "waveform/units.h"

#include <cmath>

namespace r470 {

double VelocityFactor(double length, bool feet, double ns) {
    const double metres = feet ? length / kFeetPerMetre : length;
    // The display's distance is proportional to the factor: the distance at factor 1 over
    // this time, against the real length, is the factor.
    return metres / NsToMetres(1000, ns);
}

KnownLengthFactor FactorFromKnownLength(double length, bool feet, double ns) {
    KnownLengthFactor out;
    if (!(length > 0) || !std::isfinite(length)) {
        out.refusal = "Enter the length of the piece of cable, a number greater than 0.";
        return out;
    }
    if (!(ns > 0) || !std::isfinite(ns)) {
        out.refusal = "The cursors stand at the same time. Put cursor 1 on the launch and "
                      "cursor 2 on the far end of the cable.";
        return out;
    }
    const double factor = VelocityFactor(length, feet, ns);
    const double rounded = std::nearbyint(factor * 1000);
    if (!(rounded >= kMinDiel && rounded <= kMaxDiel)) {
        std::string len = Fixed(length, 2);
        out.refusal = len + (feet ? " ft" : " m") + " over " + Fixed(ns, 1) +
                      " ns gives a velocity factor of " + Fixed(factor, 3) +
                      ", outside 0.300 to 0.999. Check the length and the cursors.";
        return out;
    }
    out.diel = static_cast<int>(rounded);
    return out;
}

} // namespace r470
