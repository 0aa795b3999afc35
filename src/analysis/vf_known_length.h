// The velocity factor of a cable measured on a piece of known length: the time from its
// launch to its far end, turned into a distance backwards.
#pragma once

#include <string>

namespace r470 {

struct KnownLengthFactor {
    int diel = 0;        // velocity factor x 1000; 0 when refused
    std::string refusal; // why the length and time give no usable factor
};

// The factor that makes `length` (feet when `feet`, else metres) the distance of the
// two-way time `ns` between the cursors: the inverse of the display's time-to-distance
// conversion, with its constants, rounded to three decimals. Refused when the length or
// time is not positive or the factor falls outside 0.300..0.999.
KnownLengthFactor FactorFromKnownLength(double length, bool feet, double ns);

// The factor unrounded and unchecked: `length` over the distance `ns` covers at factor 1.
double VelocityFactor(double length, bool feet, double ns);

} // namespace r470
