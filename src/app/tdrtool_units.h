// The names of the distance axis units on tdrtool's command line.
#pragma once

#include "waveform/units.h"

#include <optional>
#include <string>

namespace tdrtool {

// "feet", "metres" (or "meters") or "time"; nothing for any other name.
inline std::optional<int> ParseAxisUnits(const std::string& name) {
    if (name == "feet")
        return r470::AxisFeet;
    if (name == "metres" || name == "meters")
        return r470::AxisMetres;
    if (name == "time")
        return r470::AxisTime;
    return std::nullopt;
}

} // namespace tdrtool
