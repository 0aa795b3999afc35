// The display: layout of the drawing surface, the time window and range, the mapping of
// samples to pixels, drawing of the waveforms, scale and cursors, and every readout. It
// draws on whatever canvas it is given and tells its host about the details labels.
#pragma once

#include "display/canvas.h"
#include "waveform/workspace.h"

#include <string>
#include <vector>

namespace r470 {

class DielUnitsChooser;
class Prompts;

// What the layout needs to know about the place it draws on.
struct DrawSurface {
    int clientWidth = 0; // screen: the main window's client area
    int clientHeight = 0;
    int filesPanelHeight = 140;
    int normToolbarHeight = 25;
    int windowWidth = 0; // picture: the main window's outer width
    int pageWidth = 0;   // printer: the physical page width in device pixels
    // Screen: device pixels per window pixel. The sizes above are in window pixels; the
    // screen is drawn in device pixels, so a high-density screen gets crisp lines.
    double pixelRatio = 1;
};

// A length in window pixels as device pixels at a pixel ratio.
int DevicePixels(int windowPixels, double ratio);

// The window around the display: repaint, control layout, the details labels, the slot
// buttons and the start panel.
class DisplayHost {
  public:
    virtual ~DisplayHost() = default;
    virtual void RepaintWindow() {}
    virtual void LayoutControls() {}
    virtual void SetLabel(const std::string& /*name*/, const std::string& /*text*/,
                          Colour /*colour*/) {}
    virtual void SetLabelVisible(const std::string& /*name*/, bool /*visible*/) {}
    virtual void ClearLabels() {}
    // The slot buttons beside the details and their colour strips; the start panel. A
    // button's caption is UTF-8, so that a file named in any script shows its name.
    virtual void SetTraceButton(int /*slot*/, const std::string& /*caption*/, Colour /*strip*/) {}
    virtual void ClearTraceButton(int /*slot*/) {}
    virtual void ShowStartPanel(bool /*visible*/) {}
};

struct DisplayState {
    // Layout
    int GraphLeft = 0, GraphRight = 0, GraphTop = 0, GraphBottom = 0;
    int LineHeight = 0, TraceBottom = 0, ScaleGap = 0, ValueWidth = 0;
    int Cursor1ValueX = 0, Cursor2ValueX = 0, DeltaValueX = 0;
    int InfoCol1 = 0, InfoCol2 = 0, InfoCol3 = 0, InfoCol4 = 0, DielTextX = 0;
    // Mapping of the slot last given to SetMapValues
    double PixelsPerNs = 1, PixelsPerLevel = 1;
    // Range and view
    int RangeValue = 0;
    double RangeNs = 0, ViewStartNs = 0, ViewEndNs = 0;
    bool Zoomed = false;
    double StepBase = 0.1, StepMax = 2, RepeatStep = 0.1;
    int RepeatSteps = 1; // RepeatStep in whole base steps, so it ends exactly at StepMax
    // Cursors: -1 is a cursor not placed
    double Cursor1Ns = -1, Cursor2Ns = -1;
    int ActiveCursor = 1;
    int DragCursor = 0;
    bool NoRedraw = false;
    // The difference waveform's grids, chosen at each drawing of it: it lives on DiffRef's
    // (the finer) grid and takes DiffOther's samples by interpolation.
    int DiffRef = 0, DiffOther = 0;
    // The cable type the dielectric was last set from; cleared when it is set another way.
    std::string CableName;
};

Colour TraceColour(int slot);

// The ceiling of a held cursor button's step, in base steps.
constexpr int kStepMaxMultiple = 20;

class Display {
  public:
    Display(Workspace& session, Canvas& canvas, DisplayHost& host);

    DisplayState& state() { return s_; }
    const DisplayState& state() const { return s_; }
    Canvas& canvas() { return *canvas_; }
    // Printing and pictures borrow the display: point it at another canvas and back.
    void SetCanvas(Canvas& canvas) { canvas_ = &canvas; }
    void SetSurface(const DrawSurface& surface) { surface_ = surface; }
    const DrawSurface& Surface() const { return surface_; }

    // Layout and mapping
    void SetDrawParam();
    void SetMapValues(int slot);
    int MapNsToX(double t) const;
    double MapXToNs(int x) const;
    int MapDataToX(int slot, int i) const;
    int MapNsToData(int slot, double t) const;
    double SampleLevel(int slot, int sample) const;
    int MapDataToY(int slot, int i) const;

    // The difference waveform (slot 5): lower-numbered slot of the pair minus the higher.
    // Chooses DiffRef and DiffOther; false when no pair is set.
    bool SetDiffGrid();
    // For sample n of DiffRef: the level difference in pixels, a zero difference in the
    // middle of the trace band, limited to +-32000; and its drawing position.
    double DiffValue(int n) const;
    int MapDiffToY(int n) const;
    // The last sample of DiffRef that both waveforms of the pair reach.
    int DiffLastSample() const;

    // Range
    void SetCurRangeN();
    void SetRange(bool keepSpan);
    void SetCurIncrVal();
    void ChangeXUnits(int units);
    // The display's starting state from the first waveform of a set.
    void SeedFromFirstWaveform(int slot);

    // Drawing
    void DrawTrace(int slot, double t0);
    void RedrawTraces();
    void ClearArea(int x1, int y1, int x2, int y2);
    void ClearTraceArea();
    void ClearRangeArea();
    void ClearGraph();
    void ClearTextArea();
    void ShowRange(Colour colour);
    void RangeText();
    void Zoom(Prompts& prompts);
    void Redraw();

    // Cursors and readouts
    void DrawCursor(int k, int mode);
    void DrawCursors(bool draw);
    void MoveCursor(int k, double delta, Prompts& prompts);
    void SwitchActiveCursor();
    // The passive cursor wiped and drawn dashed, the active one solid: after every change
    // of a cursor's role or position.
    void ShowCursorRoles();
    // Makes a slot the selected waveform (its button was clicked): beeps for an empty slot,
    // refuses a hidden one, else draws it on top and shows its details.
    void SelectTrace(int slot, Prompts& prompts);
    void CursorText(Colour colour);
    void ShowCurToCur(Colour colour);
    void ShowDiel(Colour colour);
    void ShowGain();
    // The range value of the details, rewritten whenever the range or its unit changes.
    void ShowRangeDetail();
    void FixedText(int slot);
    void TraceText(int slot, bool clear);
    std::string GainText(int slot) const;
    std::string DielText() const;
    // The chosen cable type in the details panel, or nothing when there is none.
    void ShowCableName();

    // Display controls: each refuses with "No traces loaded" when nothing is loaded.
    void GainUp(Prompts& prompts);
    void GainDown(Prompts& prompts);
    void TraceUp(Prompts& prompts);
    void TraceDown(Prompts& prompts);
    // dir 1 doubles the range, dir 0 halves it.
    void ChangeRange(int dir, Prompts& prompts);
    void ChangeDiel(int value, Prompts& prompts);
    // "Change dielectric units": asks for the unit and rewrites the readouts in it.
    void ChangeDielUnits(DielUnitsChooser& chooser, Prompts& prompts);

    // Cursor stepping by buttons and keys: a press starts at the base step, each step
    // grows the next by one base step up to the ceiling.
    void StepPress();
    // One step of a held cursor button: moves by the current step, then grows it.
    void StepCursor(int k, int direction, Prompts& prompts);
    void StepRelease();
    // The step back at one base step (a press, a first load).
    void ResetStep();

    // Mouse dragging, at positions in device pixels of the drawing surface.
    void MouseDown(int x, int y);
    void MouseMove(int x);
    void MouseUp();

  private:
    double& CursorNs(int k) { return k == 1 ? s_.Cursor1Ns : s_.Cursor2Ns; }
    double CursorNs(int k) const { return k == 1 ? s_.Cursor1Ns : s_.Cursor2Ns; }
    int ReadoutY() const { return s_.TraceBottom + s_.ScaleGap + s_.LineHeight; }
    void WriteText(int x, int y, const std::string& text, Colour colour);
    // Loaded and shown slots, starting after the selected one so that it is drawn last.
    std::vector<int> SlotsSelectedLast() const;
    const TraceSlot& Slot(int n) const { return session_.set.Slot(n); }
    double PixelsPerLevelOf(int slot) const;
    int Diel() const { return session_.DisplayDiel; }
    int Units() const { return session_.settings.XAxisUnits; }
    // One gain step of the selected trace, up (+1) or down (-1), stopping at the limit.
    void StepGain(int dir, Prompts& prompts);

    Workspace& session_;
    Canvas* canvas_;
    DisplayHost& host_;
    DrawSurface surface_;
    DisplayState s_;
};

} // namespace r470
