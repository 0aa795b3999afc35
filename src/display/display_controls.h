// The display controls: gain, vertical offset, range and dielectric steps, and the choice
// of dielectric unit. The stepping rules are plain functions so they can be checked on
// numbers; the commands themselves are operations of the display.
#pragma once

#include <optional>

namespace r470 {

// The display gain code one step up or down (the codes run -16 .. -2, 1, 2 .. 16).
int GainCodeUp(int dispGain);
int GainCodeDown(int dispGain);

struct RangeLimits {
    int smallest;
    int largest;
};
// The ends of the range table in the given X-axis unit.
RangeLimits RangeTableLimits(int xAxisUnits);
// The range after one press of Rng+ (dir 1) or Rng- (dir 0): doubled or halved, then kept
// inside the table.
int SteppedRange(int rangeValue, int dir, int xAxisUnits);

// The dielectric kept to what the display can use.
int ClampDiel(int value);

// The dielectric units dialog: the chosen unit code, or nothing when cancelled.
class DielUnitsChooser {
  public:
    virtual ~DielUnitsChooser() = default;
    virtual std::optional<int> ChooseDielUnits(int current) = 0;
};

} // namespace r470
