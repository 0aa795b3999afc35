// "Cable type" without a window: the list in the present units, the filter, applying a
// cable exactly as a dielectric change, the name until the dielectric changes otherwise,
// the factor from a known length and saving it in the user's list.
#include "display/cable_commands.h"
#include "support/display_fixture.h"
#include "waveform/units.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

struct ScriptedCableWindow : CableWindow {
    std::function<std::optional<CableChoice>(CableDialogModel&)> act;
    int shown = 0;
    std::optional<CableChoice> ChooseCable(CableDialogModel& model) override {
        ++shown;
        return act ? act(model) : std::nullopt;
    }
};

struct CableCommandsTest : test::DisplayFixture {
    test::TempDir dir;
    std::string list = dir.Path("r470-cables.txt");
    CableDialogModel Model() { return CableDialogModel(session, display, prompts, list); }
    void LoadTwo() {
        LoadFlat(1);
        LoadFlat(3);
        display.SeedFromFirstWaveform(1);
    }
};

TEST_F(CableCommandsTest, ChoosingACableChangesTheDielectricExactlyAsTheControlsDo) {
    // The same set, once through the dielectric control and once through the cable.
    LoadTwo();
    session.set.Slot(3).data.header.Diel = 700;
    display.ChangeDiel(840, prompts);
    const std::vector<CanvasCall> byControl = canvas.calls;
    const auto headers =
        std::make_pair(session.set.Slot(1).data.header.Diel, session.set.Slot(3).data.header.Diel);

    session.set.Slot(1).Changed = session.set.Slot(3).Changed = false;
    session.set.Slot(3).data.header.Diel = 700;
    session.DisplayDiel = 660;
    canvas.calls.clear();
    ScriptedCableWindow window;
    window.act = [](CableDialogModel& m) { return m.Choice("rg-62 AIR-spaced pe"); };
    CableTypeCommand(session, display, prompts, window, list);
    EXPECT_EQ(window.shown, 1);
    EXPECT_EQ(session.DisplayDiel, 840);
    EXPECT_EQ(canvas.calls.size(), byControl.size()) << "the same readouts redrawn";
    EXPECT_EQ(
        std::make_pair(session.set.Slot(1).data.header.Diel, session.set.Slot(3).data.header.Diel),
        headers);
    EXPECT_TRUE(session.set.Slot(1).Changed && session.set.Slot(3).Changed);
    EXPECT_FALSE(session.set.Slot(2).Changed);
    EXPECT_EQ(host.Text("SCableType"), "RG-62 air-spaced PE");
    EXPECT_EQ(host.Text("LCableType"), "Cable type");

    // Shown again with the details, gone once the dielectric is changed another way.
    display.TraceText(1, true);
    EXPECT_EQ(host.Text("SCableType"), "RG-62 air-spaced PE");
    display.ChangeDiel(session.DisplayDiel + 1, prompts);
    EXPECT_EQ(host.Text("SCableType"), "");
    EXPECT_EQ(host.Text("LCableType"), "");

    ApplyCable(display, prompts, {660, "RG-58 solid PE"});
    display.SeedFromFirstWaveform(1); // a new first waveform brings its own dielectric
    display.TraceText(1, true);
    EXPECT_EQ(host.Text("SCableType"), "");
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(CableCommandsTest, NothingLoadedIsRefusedWithoutTheDialog) {
    ScriptedCableWindow window;
    prompts.answers = {IdOk};
    CableTypeCommand(session, display, prompts, window, list);
    EXPECT_EQ(window.shown, 0);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No traces loaded");
}

TEST_F(CableCommandsTest, RowsShowThePresentUnitsAndFollowTheFilter) {
    LoadTwo();
    struct Row {
        int dielUnits, axis;
        const char* heading;
        const char* velocity; // of RG-58 solid PE, 0.660
    };
    for (const Row& r :
         {Row{DielPvf, AxisMetres, "", ""}, Row{DielV, AxisMetres, "V m/\xB5s", "197.9"},
          Row{DielVHalf, AxisMetres, "V/2 m/\xB5s", "98.9"},
          Row{DielV, AxisFeet, "V ft/\xB5s", "649.0"},
          Row{DielVHalf, AxisTime, "V/2 m/\xB5s", "98.9"}}) {
        session.settings.DielUnits = static_cast<std::int16_t>(r.dielUnits);
        session.settings.XAxisUnits = static_cast<std::int16_t>(r.axis);
        CableDialogModel m = Model();
        EXPECT_EQ(m.VelocityHeading(), r.heading);
        std::vector<CableRow> rows = m.Rows("rg-58 SOLID");
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].pvf, "0.660");
        EXPECT_EQ(rows[0].velocity, r.velocity);
        EXPECT_EQ(rows[0].source, "built-in");
    }
    CableDialogModel m = Model();
    EXPECT_EQ(m.Rows("").size(), BuiltInCables().size());
    std::vector<CableRow> catv = m.Rows("catv");
    ASSERT_EQ(catv.size(), 3u) << "two by their note, one by its name";
    for (const CableRow& row : catv)
        EXPECT_NE((row.name + row.note).find("CATV"), std::string::npos);
    EXPECT_TRUE(m.Rows("no such cable").empty());
}

TEST_F(CableCommandsTest, KnownLengthUsesTheCursorsAndTheAxisUnit) {
    LoadTwo();
    display.state().Cursor1Ns = 1006.8;
    display.state().Cursor2Ns = 0; // either order: the time between them
    struct Row {
        int axis;
        const char* length;
        const char* result; // "" when refused
        const char* unit;
    };
    for (const Row& r :
         {Row{AxisMetres, "100", "PVF 0.663", "m"}, Row{AxisTime, " 100,0 ", "PVF 0.663", "m"},
          Row{AxisFeet, "328", "PVF 0.663", "ft"}, Row{AxisMetres, "10", "", "m"},
          Row{AxisMetres, "ten", "", "m"}}) {
        session.settings.XAxisUnits = static_cast<std::int16_t>(r.axis);
        CableDialogModel m = Model();
        EXPECT_EQ(m.LengthUnit(), r.unit);
        prompts.answers = {IdOk};
        EXPECT_EQ(m.Calibrate(r.length), *r.result != 0) << r.length;
        EXPECT_EQ(m.CalibrationText(), r.result);
        EXPECT_EQ(prompts.boxes.size(), *r.result ? 0u : 1u) << r.length;
        if (!prompts.boxes.empty()) {
            EXPECT_EQ(prompts.boxes[0].caption, "Problem");
        }
        prompts.boxes.clear();
        prompts.answers.clear();
    }
    EXPECT_EQ(Model().CursorTimeText(), "Cursor 1 to 2: 1006.8 ns");
    display.state().Cursor2Ns = 1006.8;
    CableDialogModel m = Model();
    prompts.answers = {IdOk};
    EXPECT_FALSE(m.Calibrate("100"));
    EXPECT_NE(prompts.boxes[0].text.find("same time"), std::string::npos);
}

TEST_F(CableCommandsTest, AFilesBadLinesAreToldOnceEachInFullUntilItChanges) {
    LoadTwo();
    std::string text = "Drum 7; 0.650\n";
    for (int i = 0; i < 12; ++i)
        text += "bad line " + std::to_string(i) + "\n";
    text += "; 0.6\n";
    struct Step {
        const char* rule;
        std::string file; // "" keeps the file as it is
        std::size_t told; // text windows after this opening
    };
    for (const Step& s :
         {Step{"first opening", text, 1}, Step{"opened again", "", 1},
          Step{"the file changed", text + "worse\n", 2}, Step{"mended", "Drum 7; 0.650\n", 2},
          Step{"broken again as before", text, 3}}) {
        if (!s.file.empty())
            test::WriteText(list, s.file);
        Model().Reload();
        EXPECT_EQ(prompts.textWindows.size(), s.told) << s.rule;
    }
    // Every bad line, each a sentence of its own.
    const std::string& all = prompts.textWindows[0].text;
    EXPECT_NE(all.find("Line 2: no velocity factor"), std::string::npos) << all;
    EXPECT_NE(all.find("Line 13: no velocity factor"), std::string::npos) << all;
    EXPECT_NE(all.find("Line 14: no name before the first ';'."), std::string::npos) << all;
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(CableCommandsTest, AMeasuredFactorIsSavedUnderANameAndApplied) {
    LoadTwo();
    display.state().Cursor1Ns = 0;
    display.state().Cursor2Ns = 1006.8;
    test::WriteText(list, "Drum 7; 0.650\nbad line\n");
    CableDialogModel m = Model();
    m.Reload();
    ASSERT_EQ(prompts.textWindows.size(), 1u);
    EXPECT_NE(prompts.textWindows[0].text.find("Line 2: no velocity factor"), std::string::npos)
        << prompts.textWindows[0].text;
    ASSERT_TRUE(m.Calibrate("100"));
    EXPECT_EQ(m.Calibrated()->name, kKnownLengthName);

    struct Step {
        const char* name;
        std::vector<int> answers;
        bool saved;
        const char* asked; // part of the box shown, "" for none
    };
    for (const Step& s : {Step{"rg-58 solid pe", {IdOk}, false, "built-in"},
                          Step{"  ", {IdOk}, false, "Enter a name"},
                          Step{"DRUM 7", {IdNo}, false, "Replace \"Drum 7\" (PVF 0.650)"},
                          Step{"DRUM 7", {IdYes}, true, "Replace"}, Step{"Drum 8", {}, true, ""}}) {
        prompts.answers.assign(s.answers.begin(), s.answers.end());
        EXPECT_EQ(m.SaveCalibration(s.name), s.saved) << s.name;
        if (*s.asked) {
            ASSERT_EQ(prompts.boxes.size(), 1u) << s.name;
            EXPECT_NE(prompts.boxes[0].text.find(s.asked), std::string::npos)
                << prompts.boxes[0].text;
        } else {
            EXPECT_TRUE(prompts.boxes.empty());
        }
        prompts.boxes.clear();
    }
    auto bytes = test::ReadBytes(list);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "DRUM 7; 0.663; measured on 100 m\nbad line\nDrum 8; 0.663; measured on 100 m\n");
    ASSERT_TRUE(m.Choice("drum 8"));
    EXPECT_EQ(m.Rows("drum 8")[0].source, "user");
    EXPECT_EQ(m.Calibrated()->name, "Drum 8");
    ApplyCable(display, prompts, *m.Calibrated());
    EXPECT_EQ(session.DisplayDiel, 663);
    EXPECT_EQ(host.Text("SCableType"), "Drum 8");
}

} // namespace
} // namespace r470
