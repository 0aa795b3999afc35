// A display with a recording canvas and host, and helpers to put waveforms into slots.
#pragma once

#include "display/display.h"
#include "display/recording_canvas.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <map>

namespace r470::test {

struct RecordingHost : DisplayHost {
    struct Label {
        std::string text;
        Colour colour;
        bool visible = true;
    };
    std::map<std::string, Label> labels;
    int repaints = 0, layouts = 0, clears = 0;
    void RepaintWindow() override { ++repaints; }
    void LayoutControls() override { ++layouts; }
    void SetLabel(const std::string& n, const std::string& t, Colour c) override {
        labels[n].text = t;
        labels[n].colour = c;
    }
    void SetLabelVisible(const std::string& n, bool v) override { labels[n].visible = v; }
    void ClearLabels() override {
        ++clears;
        for (auto& [name, l] : labels)
            l.text.clear();
    }
    std::string Text(const std::string& n) { return labels.count(n) ? labels[n].text : ""; }
    // Slot buttons: the caption of each labelled button; a blanked one is removed.
    std::map<int, std::string> buttons;
    void SetTraceButton(int slot, const std::string& caption, Colour) override {
        buttons[slot] = caption;
    }
    void ClearTraceButton(int slot) override { buttons.erase(slot); }
};

struct DisplayFixture : ::testing::Test {
    Workspace session;
    RecordingCanvas canvas;
    RecordingHost host;
    ScriptedPrompts prompts;
    Display display{session, canvas, host};

    // A screen of 648 x 489 with the normal toolbar: graph 25..349, band to 310.
    void SetUp() override {
        session.DisplayDiel = 660;
        display.SetSurface({648, 489, 140, 25, 648, 0});
        display.SetDrawParam();
    }

    // Fills slot n like a load does, with samples from `level(i)` (i from 0).
    template <class F>
    TraceSlot& Load(int n, int count, double nsPerSample, F level, int maxSample = 255) {
        TraceSlot& s = session.set.Slot(n);
        TraceSlot fresh;
        s = fresh;
        s.Loaded = s.Shown = true;
        s.NsPerSample = nsPerSample;
        s.data.header.SampleCount = static_cast<std::uint16_t>(count);
        s.data.header.MaxSample = static_cast<std::uint16_t>(maxSample);
        s.data.header.Diel = 660;
        s.data.header.DispGain = 1;
        for (int i = 0; i < count; ++i)
            s.data.samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(level(i));
        s.FileName = "/DATA/W" + std::to_string(n) + ".KEL";
        session.set.TraceCount++;
        session.set.CurTrace = n;
        return s;
    }
    void LoadFlat(int n, int count = 100, double ns = 10, int level = 128) {
        Load(n, count, ns, [level](int) { return level; });
    }
    void View(double start, double end) {
        display.state().ViewStartNs = start;
        display.state().ViewEndNs = end;
        display.state().RangeNs = end;
    }
};

} // namespace r470::test
