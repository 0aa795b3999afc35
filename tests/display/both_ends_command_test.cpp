// "Fault from both ends...": what it refuses before asking, what it tells after, and the
// result box, with the dialog answered from a script.
#include "display/both_ends_command.h"
#include "support/display_fixture.h"
#include "support/line_family.h"
#include "waveform/units.h"

#include <cstdio>

namespace r470 {
namespace {

struct ScriptedBothEnds : BothEndsWindow {
    std::optional<BothEndsAnswer> answer;
    std::vector<BothEndsQuestion> asked;
    std::optional<BothEndsAnswer> AskBothEnds(const BothEndsQuestion& q) override {
        asked.push_back(q);
        return answer;
    }
};

struct BothEndsCommand : test::DisplayFixture {
    ScriptedBothEnds window;
    // One cable of 99 m at PVF 0.660 (1000 ns two-way), a short 30 m from end A.
    void LoadEnd(int slot, double faultNs) {
        LineModel m;
        m.noise = 0.5;
        m.reflections = {{faultNs, -0.5}};
        TraceData d = test::TraceOf(m);
        TraceSlot& s = Load(slot, m.samples, m.intervalNs, [&d](int i) { return d.samples[i]; });
        s.data = d;
    }
    bool Run() { return FaultFromBothEnds(session, prompts, window); }
};

TEST_F(BothEndsCommand, AsksForEndBAndTheLengthThenShowsBothDistancesAndTheFactor) {
    const double nsPerMetre = 1 / NsToMetres(660, 1);
    LoadEnd(1, 30 * nsPerMetre);
    LoadEnd(3, 69 * nsPerMetre);
    session.set.CurTrace = 1;
    window.answer = BothEndsAnswer{"99", 3};
    prompts.answers = {IdOk};
    ASSERT_TRUE(Run());
    ASSERT_EQ(window.asked.size(), 1u);
    EXPECT_EQ(window.asked[0].endA, "W1.KEL");
    EXPECT_EQ(window.asked[0].slotsB, std::vector<int>{3});
    EXPECT_EQ(window.asked[0].namesB, std::vector<std::string>{"W3.KEL"});
    EXPECT_EQ(window.asked[0].unit, "m");
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].caption, "Fault from both ends");
    const std::string& text = prompts.boxes[0].text;
    double fromA = 0, fromB = 0, pvf = 0;
    ASSERT_EQ(std::sscanf(text.c_str(), "From A (W1.KEL): %lf m\nFrom B (W3.KEL): %lf m\nPVF %lf",
                          &fromA, &fromB, &pvf),
              3)
        << text;
    // Within two samples' distance (0.1 m) of the fault.
    EXPECT_NEAR(fromA, 30, 0.1);
    EXPECT_NEAR(fromB, 69, 0.1);
    EXPECT_NEAR(pvf, 0.660, 0.002);
    // In feet the length and the answers are in feet.
    session.settings.XAxisUnits = AxisFeet;
    window.answer = BothEndsAnswer{"324.8", 3};
    prompts.answers = {IdOk};
    ASSERT_TRUE(Run());
    EXPECT_EQ(window.asked.back().unit, "ft");
    EXPECT_NE(prompts.boxes.back().text.find(" ft\n"), std::string::npos);
}

TEST_F(BothEndsCommand, RefusalsAndTheirReasons) {
    struct Row {
        const char* rule;
        int loaded; // waveforms loaded: 0, 1 or 2
        std::optional<BothEndsAnswer> answer;
        const char* told; // a piece of the box's text; "" for none
    };
    const Row rows[] = {
        {"nothing loaded", 0, std::nullopt, "No traces loaded"},
        {"one waveform", 1, std::nullopt, "both ends"},
        {"cancelled", 2, std::nullopt, ""},
        {"no length", 2, BothEndsAnswer{"", 2}, "greater than 0"},
        {"end B not offered", 2, BothEndsAnswer{"99", 4}, "end B"},
        {"too short for any factor", 2, BothEndsAnswer{"5", 2}, "outside 0.300"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        session = Workspace{};
        prompts.boxes.clear();
        window.asked.clear();
        for (int slot = 1; slot <= r.loaded; ++slot)
            LoadEnd(slot, 300);
        session.set.CurTrace = r.loaded ? 1 : 0;
        window.answer = r.answer;
        prompts.answers = {IdOk};
        EXPECT_FALSE(Run());
        if (*r.told) {
            ASSERT_EQ(prompts.boxes.size(), 1u);
            EXPECT_NE(prompts.boxes[0].text.find(r.told), std::string::npos)
                << prompts.boxes[0].text;
        } else {
            EXPECT_TRUE(prompts.boxes.empty());
        }
        EXPECT_EQ(window.asked.size(), r.loaded >= 2 ? 1u : 0u);
    }
}

} // namespace
} // namespace r470
