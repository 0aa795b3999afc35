// Layout of the drawing surface, the mapping of times and samples to pixels, and the range.
#include "display/display.h"
#include "shell/messages.h"
#include "waveform/units.h"

#include <algorithm>
#include <cmath>

namespace r470 {

Display::Display(Workspace& session, Canvas& canvas, DisplayHost& host)
    : session_(session), canvas_(&canvas), host_(host) {}

Colour TraceColour(int slot) {
    switch (slot) {
    case 1:
        return {255, 0, 0};
    case 2:
        return {0, 128, 0};
    case 3:
        return {0, 0, 255};
    case 4:
        return {0, 255, 255};
    default:
        return kBlack;
    }
}

int DevicePixels(int windowPixels, double ratio) {
    return ratio == 1 || ratio <= 0 ? windowPixels : Nearest(windowPixels * ratio);
}

void Display::SetDrawParam() {
    Canvas& c = *canvas_;
    s_.GraphLeft = 0;
    s_.GraphTop = 0;
    if (session_.target == OutputTarget::Screen) {
        const double r = surface_.pixelRatio;
        s_.GraphTop =
            UsesNormalToolbar(session_.settings) ? DevicePixels(surface_.normToolbarHeight, r) : 0;
        s_.GraphRight = DevicePixels(surface_.clientWidth, r);
        s_.GraphBottom = DevicePixels(surface_.clientHeight - surface_.filesPanelHeight, r);
    } else {
        int w =
            session_.target == OutputTarget::Printer ? surface_.pageWidth : surface_.windowWidth;
        s_.GraphLeft = w / 15;
        s_.GraphRight = w - w / 15;
        s_.GraphTop = s_.GraphLeft;
        s_.GraphBottom = Nearest(s_.GraphRight * 0.5);
        c.SetFont("Arial", 10, kBlack);
        c.SetPenColour(kBlack);
        c.MoveTo(s_.GraphLeft - 1, s_.GraphTop - 1);
        c.LineTo(s_.GraphRight + 1, s_.GraphTop - 1);
        c.LineTo(s_.GraphRight + 1, s_.GraphBottom + 1);
        c.LineTo(s_.GraphLeft - 1, s_.GraphBottom + 1);
        c.LineTo(s_.GraphLeft - 1, s_.GraphTop - 1);
    }
    s_.InfoCol1 = s_.GraphLeft;
    s_.ValueWidth = c.TextWidth("XXXXXXXXXX");
    s_.InfoCol2 = s_.InfoCol1 + c.TextWidth(MessageText(301));
    s_.InfoCol3 = s_.InfoCol2 + c.TextWidth("XXXXXXXXXX   ");
    s_.InfoCol4 = s_.InfoCol3 + c.TextWidth(MessageText(300));
    s_.Cursor1ValueX = c.TextWidth(MessageText(205)) + s_.InfoCol1;
    s_.Cursor2ValueX = s_.Cursor1ValueX + s_.ValueWidth + c.TextWidth(MessageText(206));
    s_.DeltaValueX = s_.Cursor2ValueX + s_.ValueWidth + c.TextWidth(MessageText(207));
    s_.DielTextX = s_.GraphRight - c.TextWidth(MessageText(302));
    s_.LineHeight = c.TextHeight("M");
    s_.TraceBottom = s_.GraphBottom - 3 * s_.LineHeight;
    s_.ScaleGap = s_.GraphBottom / 50;
    // On a tall window the gap would push the readout line under the details panel; it
    // never needs more than a line to stay whole (648 x 489 gives 6 and stays so).
    if (session_.target == OutputTarget::Screen)
        s_.ScaleGap = std::min(s_.ScaleGap, std::max(0, s_.LineHeight));
}

void Display::SetMapValues(int slot) {
    double span = s_.ViewEndNs - s_.ViewStartNs;
    s_.PixelsPerNs = span > 0 ? (s_.GraphRight - s_.GraphLeft) / span : 0;
    s_.PixelsPerLevel =
        static_cast<double>(s_.TraceBottom - s_.GraphTop) / (Slot(slot).data.header.MaxSample + 1);
}

int Display::MapNsToX(double t) const {
    if (t < s_.ViewStartNs)
        return s_.GraphLeft;
    if (t > s_.ViewEndNs)
        return s_.GraphRight;
    double span = s_.ViewEndNs - s_.ViewStartNs;
    if (span <= 0)
        return s_.GraphLeft;
    return s_.GraphLeft + Nearest((t - s_.ViewStartNs) * (s_.GraphRight - s_.GraphLeft) / span);
}

double Display::MapXToNs(int x) const {
    if (s_.PixelsPerNs <= 0)
        return s_.ViewStartNs;
    double t = (x - s_.GraphLeft + 1) / s_.PixelsPerNs + s_.ViewStartNs - 1.0;
    return std::clamp(t, s_.ViewStartNs, s_.ViewEndNs);
}

int Display::MapDataToX(int slot, int i) const {
    double t = (i - 1) * Slot(slot).NsPerSample;
    if (t <= s_.ViewStartNs)
        return s_.GraphLeft;
    if (t > s_.ViewEndNs)
        return s_.GraphRight;
    return s_.GraphLeft + Nearest((t - s_.ViewStartNs) * s_.PixelsPerNs);
}

int Display::MapNsToData(int slot, double t) const {
    const TraceSlot& sl = Slot(slot);
    // A waveform without a sample interval has all its samples at time 0.
    int n = sl.NsPerSample > 0 ? Nearest(t / sl.NsPerSample) : 1;
    n = std::max(n, 1);
    return std::min<int>(n, sl.data.header.SampleCount);
}

double Display::SampleLevel(int slot, int sample) const {
    const TraceHeader& h = Slot(slot).data.header;
    int mid = (h.MaxSample + 1) / 2;
    return mid + GainFactor(h.DispGain) * (sample - mid);
}

int Display::MapDataToY(int slot, int i) const {
    const TraceSlot& sl = Slot(slot);
    int sample = sl.data.samples[static_cast<std::size_t>(std::clamp(i, 1, 2048) - 1)];
    double y = (SampleLevel(slot, sample) + sl.TraceOffset) * s_.PixelsPerLevel;
    y = std::clamp(y, -32000.0, 32000.0);
    return s_.GraphTop + Nearest(y) + 1;
}

void Display::SetCurRangeN() {
    if (Units() == AxisFeet)
        s_.RangeNs = MetresToNs(Diel(), s_.RangeValue / kFeetPerMetre);
    else if (Units() == AxisTime)
        s_.RangeNs = s_.RangeValue;
    else
        s_.RangeNs = MetresToNs(Diel(), s_.RangeValue);
}

void Display::SetRange(bool keepSpan) {
    s_.RangeValue = Units() == AxisFeet ? 8 : Units() == AxisTime ? 100 : 4;
    if (!keepSpan)
        s_.RangeNs *= 0.8;
    // The doubling stops before the value leaves an int; no waveform gets near it.
    while (NsToAxisUnits(Diel(), Units(), s_.RangeNs) > s_.RangeValue && s_.RangeValue < (1 << 29))
        s_.RangeValue *= 2;
    SetCurRangeN();
    s_.ViewStartNs = 0;
    s_.ViewEndNs = s_.RangeNs;
    s_.Zoomed = false;
    SetCurIncrVal();
}

void Display::SetCurIncrVal() {
    s_.StepBase = Nearest(s_.RangeNs / 600 * 10) / 10.0;
    if (s_.StepBase < 0.1)
        s_.StepBase = 0.1;
    s_.StepMax = kStepMaxMultiple * s_.StepBase;
}

void Display::SeedFromFirstWaveform(int slot) {
    const TraceSlot& sl = Slot(slot);
    // A file may hold a dielectric the display cannot use (0 would divide by zero).
    session_.DisplayDiel = std::clamp<int>(sl.data.header.Diel, kMinDiel, kMaxDiel);
    s_.CableName.clear();
    s_.Cursor1Ns = s_.Cursor2Ns = Nearest(sl.data.header.Cursor * sl.NsPerSample);
    s_.ActiveCursor = 1;
    s_.Zoomed = false;
    s_.RangeNs = sl.data.header.SampleCount * sl.NsPerSample;
    SetRange(true);
    SetCurIncrVal();
    ResetStep();
}

void Display::ChangeXUnits(int units) {
    bool any = session_.set.TraceCount > 0;
    if (any) {
        ShowRange(kWhite);
        DrawCursors(false);
        ShowDiel(kWhite);
    }
    session_.settings.XAxisUnits = static_cast<std::int16_t>(units);
    SaveSettings(session_.paths.settingsFile, session_.settings);
    SetRange(false);
    if (any) {
        RedrawTraces();
        ShowRange(kBlack);
        DrawCursors(true);
        TraceText(session_.set.CurTrace, true);
        ShowDiel(kBlack);
    }
}

} // namespace r470
