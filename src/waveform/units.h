// The time axis and its conversions: nanoseconds of two-way travel time to distance, axis
// text and velocity, at a dielectric given as PVF x 1000.
#pragma once

#include <string>

namespace r470 {

constexpr double kMetresPerNsAtPvf1 = 0.1499;
constexpr double kLightSpeed = 2.998e8;
constexpr double kFeetPerMetre = 3.28;

enum AxisUnits : int { AxisFeet = 0, AxisMetres = 1, AxisTime = 2 };
enum DielUnitCode : int { DielPvf = 0, DielV = 1, DielVHalf = 2 };

constexpr int kMinDiel = 300;
constexpr int kMaxDiel = 999;

// Rounds to the nearest integer, halves to even.
int Nearest(double v);

double NsToMetres(int diel, double t);
double MetresToNs(int diel, double d);
double NsToAxisUnits(int diel, int units, double t);

// `v` in fixed point with exactly `decimals` decimals (none and no point for 0).
std::string Fixed(double v, int decimals);
std::string TrimZeros(std::string s);
std::string FormatAxisValue(int diel, int units, double t);
double VelocityValue(int dielUnits, int axisUnits, int diel);

// Display gain: positive codes multiply, negative divide.
double GainFactor(int dispGain);
int GetGaindBs(int dispGain);

} // namespace r470
