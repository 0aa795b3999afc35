#include "analysis/both_ends.h"

#include "analysis/vf_known_length.h"
#include "waveform/units.h"

#include <cmath>

namespace r470 {

BothEndsFix LocateFromBothEnds(double length, bool feet, double nsA, double nsB) {
    BothEndsFix fix;
    if (!(length > 0) || !std::isfinite(length)) {
        fix.refusal = "Enter the length of the cable, a number greater than 0.";
        return fix;
    }
    if (!(nsA > 0) || !(nsB > 0) || !std::isfinite(nsA) || !std::isfinite(nsB)) {
        fix.refusal = "The fault must lie after the launch on both waveforms (" + Fixed(nsA, 1) +
                      " ns and " + Fixed(nsB, 1) + " ns from them).";
        return fix;
    }
    const double factor = VelocityFactor(length, feet, nsA + nsB);
    const double rounded = std::nearbyint(factor * 1000);
    if (!(rounded >= kMinDiel && rounded <= kMaxDiel)) {
        fix.refusal = Fixed(length, 2) + (feet ? " ft" : " m") + " over " + Fixed(nsA, 1) + " + " +
                      Fixed(nsB, 1) + " ns gives a velocity factor of " + Fixed(factor, 3) +
                      ", outside 0.300 to 0.999: these cannot be one fault on this cable. "
                      "Check the length and the events taken.";
        return fix;
    }
    fix.diel = static_cast<int>(rounded);
    fix.fromA = length * nsA / (nsA + nsB);
    fix.fromB = length - fix.fromA;
    return fix;
}

std::optional<double> FaultTimeFromLaunch(const TraceAnalysis& a, std::optional<double> atNs) {
    if (!a.hasLaunch)
        return std::nullopt;
    if (atNs)
        return *atNs - a.launchOnsetNs;
    if (a.largest < 0)
        return std::nullopt;
    return a.events[static_cast<std::size_t>(a.largest)].onsetNs - a.launchOnsetNs;
}

std::string BothEndsText(const BothEndsFix& fix, bool feet, const std::string& nameA,
                         const std::string& nameB) {
    const char* unit = feet ? " ft" : " m";
    auto label = [](const char* end, const std::string& name) {
        return std::string("From ") + end + (name.empty() ? "" : " (" + name + ")") + ": ";
    };
    return label("A", nameA) + Fixed(fix.fromA, 2) + unit + "\n" + label("B", nameB) +
           Fixed(fix.fromB, 2) + unit + "\nPVF " + Fixed(fix.diel / 1000.0, 3);
}

} // namespace r470
