// Drawing of the waveforms, the scale and the readout labels; clearing; zoom; full redraw.
#include "display/display.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/units.h"

#include <algorithm>

namespace r470 {

std::vector<int> Display::SlotsSelectedLast() const {
    std::vector<int> order;
    for (int k = 1; k <= kDiffSlot; ++k) {
        int slot = (session_.set.CurTrace + k - 1) % kDiffSlot + 1;
        if (Slot(slot).Loaded && Slot(slot).Shown)
            order.push_back(slot);
    }
    return order;
}

void Display::WriteText(int x, int y, const std::string& text, Colour colour) {
    Colour saved = canvas_->FontColour();
    canvas_->SetFontColour(colour);
    canvas_->TextOut(x, y, text);
    canvas_->SetFontColour(saved);
}

void Display::DrawTrace(int slot, double t0) {
    // The difference waveform is placed on the grid of one of its pair, the reference.
    const bool diff = slot == kDiffSlot;
    int ref = slot;
    if (diff) {
        if (!SetDiffGrid())
            return;
        ref = s_.DiffRef;
        if (Slot(s_.DiffOther).data.header.SampleCount < 1)
            return;
    } else if (slot < 1 || slot > kFileSlots) {
        return;
    }
    int count = Slot(ref).data.header.SampleCount;
    if (count < 1)
        return;
    SetMapValues(ref);
    Canvas& c = *canvas_;
    Colour saved = c.PenColour();
    c.SetPenColour(TraceColour(slot));

    int n, d;
    if (t0 == 0) {
        n = MapNsToData(ref, s_.ViewStartNs);
        d = MapNsToData(ref, s_.ViewEndNs);
    } else {
        n = MapNsToData(ref, t0);
        d = n;
        int x0 = MapDataToX(ref, n);
        do {
            --n;
            ++d;
        } while (!(n <= 1 || d >= count || MapDataToX(ref, n) < x0 - 2));
        n = std::max(n, 1);
        d = std::min(d, count);
    }
    // Only where both waveforms of the pair have samples.
    if (diff)
        d = std::min(d, DiffLastSample());
    auto yOf = [&](int i) { return diff ? MapDiffToY(i) : MapDataToY(slot, i); };

    const int top = s_.GraphTop;
    const int bottom = s_.TraceBottom - 1;
    int x = MapDataToX(ref, n);
    int y = yOf(n);
    c.MoveTo(x, y);
    for (int i = n + 1; i <= d; ++i) {
        int x2 = MapDataToX(ref, i);
        int y2 = yOf(i);
        bool yIn = y >= top && y <= bottom;
        bool y2In = y2 >= top && y2 <= bottom;
        if (yIn || y2In) {
            // Each end is clamped to the band rather than the segment being clipped.
            if (y < top)
                c.MoveTo(x, top);
            else if (y > bottom)
                c.MoveTo(x, bottom);
            c.LineTo(x2, std::clamp(y2, top, bottom));
        }
        x = x2;
        y = y2;
    }
    // The level scale last set is the compared waveform's, as after any difference value.
    if (diff)
        s_.PixelsPerLevel = PixelsPerLevelOf(s_.DiffOther);
    c.SetPenColour(saved);
}

void Display::RedrawTraces() {
    ClearTraceArea();
    if (session_.set.TraceCount == 0)
        return;
    for (int slot : SlotsSelectedLast())
        DrawTrace(slot, 0);
    DrawCursors(true);
}

void Display::ClearArea(int x1, int y1, int x2, int y2) {
    if (session_.target != OutputTarget::Screen)
        return;
    Colour saved = canvas_->PenColour();
    canvas_->SetPenColour(kWhite);
    canvas_->Rectangle(x1, y1, x2, y2);
    canvas_->SetPenColour(saved);
}

void Display::ClearTraceArea() {
    ClearArea(s_.GraphLeft, s_.GraphTop, s_.GraphRight, s_.TraceBottom);
}

void Display::ClearRangeArea() {
    ClearArea(s_.GraphLeft, s_.TraceBottom + 1, s_.GraphRight,
              s_.TraceBottom + s_.ScaleGap + 2 * s_.LineHeight);
}

void Display::ClearGraph() {
    ClearArea(s_.GraphLeft, s_.GraphTop, s_.GraphRight, s_.GraphBottom);
}

void Display::ClearTextArea() {
    host_.ClearLabels();
}

void Display::ShowRange(Colour colour) {
    if (session_.set.TraceCount == 0)
        return;
    Canvas& c = *canvas_;
    double span = s_.Zoomed ? s_.ViewEndNs - s_.ViewStartNs : s_.RangeNs;
    int y = s_.TraceBottom + s_.ScaleGap;
    for (int k = 0; k <= 4; ++k) {
        double value = span / 4 * k + s_.ViewStartNs;
        std::string text = FormatAxisValue(Diel(), Units(), value);
        int x = k < 4 ? s_.GraphLeft +
                            Nearest(static_cast<double>(s_.GraphRight - s_.GraphLeft) / 4 * k)
                      : s_.GraphRight - c.TextWidth(text) - 1;
        WriteText(x, y, text, colour);
        if (k >= 1 && k <= 3) {
            c.MoveTo(x, s_.TraceBottom);
            c.LineTo(x, s_.TraceBottom + s_.ScaleGap);
        }
    }
    c.MoveTo(s_.GraphLeft, s_.TraceBottom);
    c.LineTo(s_.GraphRight, s_.TraceBottom);
}

void Display::RangeText() {
    int y = ReadoutY();
    Colour colour = canvas_->FontColour();
    WriteText(s_.InfoCol1, y, MessageText(205), colour);
    WriteText(s_.Cursor1ValueX + s_.ValueWidth, y, MessageText(206), colour);
    WriteText(s_.Cursor2ValueX + s_.ValueWidth, y, MessageText(207), colour);
}

void Display::Zoom(Prompts& prompts) {
    if (NoTraces(session_.set, prompts))
        return;
    DrawCursors(false);
    ClearRangeArea();
    if (s_.Zoomed) {
        s_.ViewStartNs = 0;
        s_.ViewEndNs = s_.RangeNs;
    } else {
        // A cursor left beyond the range by Rng- (or unset) would make the window start
        // after it ends: the nearest end of the range is the centre instead.
        double c = std::clamp(CursorNs(s_.ActiveCursor), 0.0, s_.RangeNs);
        s_.ViewStartNs = std::max(0.0, c - s_.RangeNs / 4);
        s_.ViewEndNs = std::min(s_.RangeNs, c + s_.RangeNs / 4);
    }
    s_.Zoomed = !s_.Zoomed;
    RedrawTraces();
    RangeText();
    ShowRange(kBlack);
    ShowDiel(kBlack);
}

void Display::Redraw() {
    if (s_.NoRedraw)
        return;
    ClearGraph();
    s_.NoRedraw = true;
    SetDrawParam();
    host_.RepaintWindow();
    host_.LayoutControls();
    if (session_.set.TraceCount == 0) {
        s_.NoRedraw = false;
        return;
    }
    RedrawTraces();
    RangeText();
    ShowRange(kBlack);
    DrawCursors(true);
    TraceText(session_.set.CurTrace, true);
    ShowGain();
    ShowDiel(kBlack);
    s_.NoRedraw = false;
}

} // namespace r470
