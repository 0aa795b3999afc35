// Gain, vertical offset, range, dielectric and dielectric unit commands of the display.
#include "display/display_controls.h"

#include "display/display.h"
#include "shell/prompts.h"
#include "waveform/units.h"

#include <algorithm>
#include <cstdint>

namespace r470 {

namespace {
constexpr int kMaxGainDb = 24;
constexpr int kSmallestGainCode = -16;
} // namespace

int GainCodeUp(int g) {
    // A stored code of 0 (a flat line, reported as -6 dB) would double to itself for ever;
    // it steps up to 0 dB like -2 does.
    if (g == -2 || g == 0)
        return 1;
    if (g < 0)
        return g / 2;
    return 2 * g;
}

int GainCodeDown(int g) {
    int next;
    if (g == 1)
        next = -2;
    else if (g > 0)
        next = g / 2;
    else if (g == 0)
        next = -4; // one step below the -6 dB that code 0 reports
    else
        next = 2 * g;
    return std::max(next, kSmallestGainCode);
}

RangeLimits RangeTableLimits(int units) {
    if (units == AxisFeet)
        return {8, 131072};
    if (units == AxisTime)
        return {100, 409600};
    return {4, 32768};
}

int SteppedRange(int rangeValue, int dir, int units) {
    // Wide enough for the doubling of any value a first load can leave.
    std::int64_t v = dir == 0 ? Nearest(rangeValue / 2.0) : 2 * std::int64_t{rangeValue};
    RangeLimits lim = RangeTableLimits(units);
    return static_cast<int>(std::clamp<std::int64_t>(v, lim.smallest, lim.largest));
}

int ClampDiel(int value) {
    return std::clamp(value, kMinDiel, kMaxDiel);
}

void Display::StepGain(int dir, Prompts& prompts) {
    if (NoTraces(session_.set, prompts))
        return;
    int slot = session_.set.CurTrace;
    if (slot == kDiffSlot) {
        prompts.Beep();
        return;
    }
    TraceSlot& sl = session_.set.Slot(slot);
    const int gain = sl.data.header.DispGain;
    if (dir > 0 ? GetGaindBs(gain) >= kMaxGainDb : GetGaindBs(gain) <= -kMaxGainDb)
        return;
    sl.data.header.DispGain =
        static_cast<std::int16_t>(dir > 0 ? GainCodeUp(gain) : GainCodeDown(gain));
    sl.Changed = true;
    RedrawTraces();
    ShowGain();
}

void Display::GainUp(Prompts& prompts) {
    StepGain(+1, prompts);
}

void Display::GainDown(Prompts& prompts) {
    StepGain(-1, prompts);
}

void Display::TraceUp(Prompts& prompts) {
    if (NoTraces(session_.set, prompts))
        return;
    session_.set.Slot(session_.set.CurTrace).TraceOffset -= session_.TraceStep;
    RedrawTraces();
}

void Display::TraceDown(Prompts& prompts) {
    if (NoTraces(session_.set, prompts))
        return;
    session_.set.Slot(session_.set.CurTrace).TraceOffset += session_.TraceStep;
    RedrawTraces();
}

void Display::ChangeRange(int dir, Prompts& prompts) {
    if (NoTraces(session_.set, prompts))
        return;
    ShowRange(kWhite);
    s_.RangeValue = SteppedRange(s_.RangeValue, dir, Units());
    SetCurRangeN();
    s_.ViewStartNs = 0;
    s_.ViewEndNs = s_.RangeNs;
    s_.Zoomed = false;
    RedrawTraces();
    RangeText();
    ShowRange(kBlack);
    ShowRangeDetail();
    SetCurIncrVal();
}

void Display::ChangeDiel(int value, Prompts& prompts) {
    if (NoTraces(session_.set, prompts))
        return;
    ShowDiel(kWhite);
    CursorText(kWhite);
    ShowCurToCur(kWhite);
    ShowRange(kWhite);
    session_.DisplayDiel = ClampDiel(value);
    // A dielectric set by other means is no longer the chosen cable's.
    if (!s_.CableName.empty()) {
        s_.CableName.clear();
        ShowCableName();
    }
    ShowDiel(kBlack);
    CursorText(kBlack);
    ShowCurToCur(kBlack);
    ShowRange(kBlack);
    // The range in distance follows the dielectric, on the axis and in the details alike.
    ShowRangeDetail();
    // Every waveform takes the display's dielectric, even when the clamp kept it as it was.
    for (int n = 1; n <= kDiffSlot; ++n) {
        TraceSlot& sl = session_.set.Slot(n);
        if (sl.Loaded) {
            sl.data.header.Diel = static_cast<std::uint16_t>(session_.DisplayDiel);
            sl.Changed = true;
        }
    }
}

void Display::ChangeDielUnits(DielUnitsChooser& chooser, Prompts& prompts) {
    if (NoTraces(session_.set, prompts))
        return;
    std::optional<int> units = chooser.ChooseDielUnits(session_.settings.DielUnits);
    if (!units || *units < DielPvf || *units > DielVHalf)
        return;
    ClearTextArea();
    ShowDiel(kWhite);
    session_.settings.DielUnits = static_cast<std::int16_t>(*units);
    TraceText(session_.set.CurTrace, false);
    ShowDiel(kBlack);
}

} // namespace r470
