// The names of the distance axis units on tdrtool's command line.
#pragma once

#include "app/tdrtool_cli.h"
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

// "--length L" (greater than 0) and "--units feet|metres" (metres when not given).
struct LengthOption {
    std::optional<double> length;
    int units = r470::AxisMetres;

    static bool Takes(const std::string& name) { return name == "--length" || name == "--units"; }
    bool Feet() const { return units == r470::AxisFeet; }
    // False for a bad value.
    bool Read(const std::string& name, const std::string& value) {
        if (name == "--length") {
            std::optional<double> v = ParseNumber<double>(value);
            length = v && *v > 0 ? v : std::nullopt;
            return length.has_value();
        }
        std::optional<int> u = ParseAxisUnits(value);
        if (!u || *u == r470::AxisTime)
            return false;
        units = *u;
        return true;
    }
};

} // namespace tdrtool
