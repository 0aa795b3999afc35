// The two cursors: drawing, moving, stepping, dragging, and the readout line.
#include "display/display.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/units.h"

#include <algorithm>
#include <cstdlib>

namespace r470 {

namespace {
enum CursorMode { Erase = 0, Active = 1, Passive = 2, ByRole = 3 };
constexpr int kGrabPixels = 10;
} // namespace

void Display::DrawCursor(int k, int mode) {
    if (session_.set.TraceCount == 0)
        return;
    double t = CursorNs(k);
    if (t < s_.ViewStartNs || t > s_.ViewEndNs)
        return;
    Canvas& c = *canvas_;
    Colour savedColour = c.PenColour();
    PenStyle savedStyle = c.GetPenStyle();
    bool solid = mode == Erase || mode == Active || (mode == ByRole && k == s_.ActiveCursor);
    c.SetPenColour(mode == Erase ? kWhite : kBlack);
    c.SetPenStyle(solid ? PenStyle::Solid : PenStyle::Dash);
    int x = MapNsToX(t);
    c.MoveTo(x, s_.GraphTop);
    c.LineTo(x, s_.TraceBottom);
    c.SetPenColour(savedColour);
    c.SetPenStyle(savedStyle);

    if (mode == Erase) {
        // The white line wiped the waveforms under it: put back the stretch around it.
        for (int slot : SlotsSelectedLast())
            DrawTrace(slot, t);
        CursorText(kWhite);
        return;
    }
    if (mode == Active && k != s_.ActiveCursor) {
        ShowCurToCur(kWhite);
        s_.ActiveCursor = k;
        ShowCurToCur(kBlack);
    }
    CursorText(kBlack);
}

void Display::DrawCursors(bool draw) {
    int mode = draw ? ByRole : Erase;
    DrawCursor(2, mode);
    DrawCursor(1, mode);
    if (s_.Cursor2Ns > -1)
        ShowCurToCur(draw ? kBlack : kWhite);
}

void Display::MoveCursor(int k, double delta, Prompts& prompts) {
    if (NoTraces(session_.set, prompts))
        return;
    ShowCurToCur(kWhite);
    DrawCursor(k, Erase);
    CursorNs(k) = std::clamp(CursorNs(k) + delta, s_.ViewStartNs, s_.ViewEndNs);
    s_.ActiveCursor = k;
    ShowCursorRoles();
    ShowCurToCur(kBlack);
}

void Display::ShowCursorRoles() {
    // A dashed pen over a solid line leaves it solid: the passive cursor is wiped first,
    // so the user always sees which cursor the arrows move.
    const int active = s_.ActiveCursor == 2 ? 2 : 1;
    const int passive = 3 - active;
    DrawCursor(passive, Erase);
    DrawCursor(active, Active);
    DrawCursor(passive, Passive);
}

void Display::SwitchActiveCursor() {
    if (session_.set.TraceCount == 0)
        return;
    ShowCurToCur(kWhite);
    s_.ActiveCursor = s_.ActiveCursor == 1 ? 2 : 1;
    ShowCursorRoles();
    ShowCurToCur(kBlack);
}

void Display::SelectTrace(int slot, Prompts& prompts) {
    if (slot < 1 || slot > kDiffSlot || !Slot(slot).Loaded) {
        prompts.Beep();
        return;
    }
    if (!Slot(slot).Shown) {
        prompts.ShowMessageBox(MessageText(138), MessageText(MsgProblem), MbOk);
        return;
    }
    session_.set.CurTrace = slot;
    RedrawTraces();
    TraceText(slot, true);
    if (s_.Cursor2Ns > -1)
        ShowCurToCur(kBlack);
}

void Display::ResetStep() {
    s_.RepeatSteps = 1;
    s_.RepeatStep = s_.StepBase;
}

void Display::StepPress() {
    SetCurIncrVal();
    ResetStep();
}

void Display::StepCursor(int k, int direction, Prompts& prompts) {
    MoveCursor(k, direction * s_.RepeatStep, prompts);
    // Counted in whole base steps: adding the base step in floating point would drift
    // past the ceiling (0.3 added twenty times is more than 20 x 0.3).
    if (s_.RepeatSteps < kStepMaxMultiple) {
        ++s_.RepeatSteps;
        s_.RepeatStep = s_.RepeatSteps * s_.StepBase;
    }
}

void Display::StepRelease() {
    SetCurIncrVal();
}

void Display::CursorText(Colour colour) {
    if (session_.set.TraceCount == 0 || (s_.ActiveCursor != 1 && s_.ActiveCursor != 2))
        return;
    double active = CursorNs(s_.ActiveCursor);
    if (active < 0 || active < s_.ViewStartNs || active > s_.ViewEndNs)
        return;
    int y = ReadoutY();
    WriteText(s_.Cursor1ValueX, y, FormatAxisValue(Diel(), Units(), s_.Cursor1Ns), colour);
    WriteText(s_.Cursor2ValueX, y, FormatAxisValue(Diel(), Units(), s_.Cursor2Ns), colour);
}

void Display::ShowCurToCur(Colour colour) {
    double d = s_.ActiveCursor == 1 ? s_.Cursor1Ns - s_.Cursor2Ns : s_.Cursor2Ns - s_.Cursor1Ns;
    WriteText(s_.DeltaValueX, ReadoutY(), FormatAxisValue(Diel(), Units(), d), colour);
}

std::string Display::DielText() const {
    int dielUnits = session_.settings.DielUnits;
    double v = VelocityValue(dielUnits, Units(), Diel());
    std::string name = dielUnits == DielV       ? MessageText(57)
                       : dielUnits == DielVHalf ? MessageText(58)
                                                : MessageText(56);
    std::string text = name + " " + Fixed(v, dielUnits == DielPvf ? 3 : 0);
    if (dielUnits != DielPvf) {
        if (Units() == AxisFeet)
            text += MessageText(203);
        else if (Units() == AxisMetres)
            text += MessageText(204);
    }
    return text;
}

void Display::ShowDiel(Colour colour) {
    if (session_.set.TraceCount < 1)
        return;
    if (colour != kWhite && Units() == AxisTime)
        return;
    WriteText(s_.DielTextX, ReadoutY(), DielText(), colour);
}

void Display::MouseDown(int x, int y) {
    s_.DragCursor = 0;
    if (session_.set.TraceCount == 0)
        return;
    bool inBand = y >= s_.GraphTop && y <= s_.TraceBottom;
    // The reach is the same on the window at any pixel density.
    const int reach = DevicePixels(kGrabPixels, surface_.pixelRatio);
    for (int k : {2, 1}) // cursor 1 is tested last so it wins when both are in reach
        if (inBand && std::abs(x - MapNsToX(CursorNs(k))) <= reach)
            s_.DragCursor = k;
    if (s_.DragCursor != 0) {
        if (s_.ActiveCursor != s_.DragCursor) {
            ShowCurToCur(kWhite);
            s_.ActiveCursor = s_.DragCursor;
            ShowCurToCur(kBlack);
        }
        ShowCursorRoles();
    }
}

void Display::MouseMove(int x) {
    int k = s_.DragCursor;
    if (k == 0)
        return;
    DrawCursor(k, Erase);
    ShowCurToCur(kWhite);
    CursorNs(k) = MapXToNs(x);
    ShowCursorRoles();
    ShowCurToCur(kBlack);
}

void Display::MouseUp() {
    s_.DragCursor = 0;
}

} // namespace r470
