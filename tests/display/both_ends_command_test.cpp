// "Fault from both ends...": what it refuses before asking, what it tells after, and the
// result box, with the dialog answered from a script.
#include "display/both_ends_command.h"
#include "support/display_fixture.h"
#include "support/line_family.h"
#include "waveform/units.h"

#include <cstdio>

namespace r470 {
namespace {

// "&Ok" pressed on each answer in turn until one is taken; cancelled when none is.
struct ScriptedBothEnds : BothEndsWindow {
    std::vector<BothEndsAnswer> tries;
    std::vector<BothEndsQuestion> asked;
    std::vector<std::string> reasons; // shown in the dialog, which stayed open
    std::optional<BothEndsAnswer> AskBothEnds(const BothEndsQuestion& q,
                                              const BothEndsCheck& check) override {
        asked.push_back(q);
        for (const BothEndsAnswer& a : tries) {
            std::string why = check(a);
            if (why.empty())
                return a;
            reasons.push_back(why);
        }
        return std::nullopt;
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
    window.tries = {{"99", 3}};
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
    window.tries = {{"324.8", 3}};
    prompts.answers = {IdOk};
    ASSERT_TRUE(Run());
    EXPECT_EQ(window.asked.back().unit, "ft");
    EXPECT_NE(prompts.boxes.back().text.find(" ft\n"), std::string::npos);
}

TEST_F(BothEndsCommand, RefusalsAndTheirReasons) {
    struct Row {
        const char* rule;
        int loaded; // waveforms loaded: 0, 1 or 2
        std::vector<BothEndsAnswer> tries;
        const char* box;    // a piece of the box's text; "" for none
        const char* reason; // a piece of the reason the open dialog shows; "" for none
    };
    const char* kNoLength = "a number greater than 0";
    const char* kNoFactor = "outside 0.300";
    const Row rows[] = {
        {"nothing loaded", 0, {}, "No traces loaded", ""},
        {"one waveform", 1, {}, "both ends", ""},
        {"cancelled", 2, {}, "", ""},
        {"no length", 2, {{"", 2}}, "", kNoLength},
        {"letters", 2, {{"abc", 2}}, "", kNoLength},
        {"negative", 2, {{"-250", 2}}, "", kNoLength},
        {"end B not offered", 2, {{"99", 4}}, "", "end B"},
        {"too short for any factor", 2, {{"5", 2}}, "", kNoFactor},
        {"1e9 like any length too long", 2, {{"1e9", 2}}, "", kNoFactor},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        session = Workspace{};
        prompts.boxes.clear();
        window.asked.clear();
        window.reasons.clear();
        for (int slot = 1; slot <= r.loaded; ++slot)
            LoadEnd(slot, 300);
        session.set.CurTrace = r.loaded ? 1 : 0;
        window.tries = r.tries;
        prompts.answers = {IdOk};
        EXPECT_FALSE(Run());
        if (*r.box) {
            ASSERT_EQ(prompts.boxes.size(), 1u);
            EXPECT_NE(prompts.boxes[0].text.find(r.box), std::string::npos)
                << prompts.boxes[0].text;
        } else {
            EXPECT_TRUE(prompts.boxes.empty());
        }
        ASSERT_EQ(window.reasons.size(), *r.reason ? 1u : 0u);
        if (*r.reason) {
            EXPECT_NE(window.reasons[0].find(r.reason), std::string::npos) << window.reasons[0];
        }
        EXPECT_EQ(window.asked.size(), r.loaded >= 2 ? 1u : 0u);
    }
    // Refused, the dialog stays open: the length typed again there gives the result.
    window.asked.clear();
    LoadEnd(2, 700); // now end A, with slot 1 as end B
    window.tries = {{"x", 1}, {"99", 1}};
    prompts.answers = {IdOk};
    EXPECT_TRUE(Run());
    EXPECT_EQ(window.asked.size(), 1u);
    EXPECT_EQ(prompts.boxes.back().caption, "Fault from both ends");
}

} // namespace
} // namespace r470
