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

// A length's unit: feet or metres.
inline std::optional<int> ParseLengthUnits(const std::string& name) {
    std::optional<int> u = ParseAxisUnits(name);
    return u && *u != r470::AxisTime ? u : std::nullopt;
}

// A length: a number greater than 0.
inline std::optional<double> ParseLength(const std::string& text) {
    std::optional<double> v = ParseNumber<double>(text);
    return v && *v > 0 ? v : std::nullopt;
}

} // namespace tdrtool
