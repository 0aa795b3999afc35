#include "display/step_repeat.h"
#include "support/display_fixture.h"
#include "waveform/units.h"

namespace r470 {
namespace {

using test::DisplayFixture;

struct FakeTimer : RepeatTimer {
    bool running = false;
    int interval = 0;
    void Start(int ms) override {
        running = true;
        interval = ms;
    }
    void Stop() override { running = false; }
};

struct Repeat : DisplayFixture {
    FakeTimer timer;
    StepRepeat repeat{session, display, prompts, timer};
    DisplayState& s() { return display.state(); }

    // A view whose base step is `base` ns, cursors at 0.
    void BaseStep(double base) {
        View(0, base * 600);
        display.SetCurIncrVal();
        s().Cursor1Ns = s().Cursor2Ns = 0;
        s().ActiveCursor = 1;
    }
    void SetUp() override {
        DisplayFixture::SetUp();
        LoadFlat(1);
        BaseStep(1);
    }
    void Tick() {
        ASSERT_TRUE(timer.running);
        repeat.RptTimerTimer();
    }
};

TEST_F(Repeat, HeldRightMovesOneMoreBaseStepEachTickUpToTheCeiling) {
    BaseStep(2.5);
    repeat.RptMouseDown(TagRight1);
    EXPECT_EQ(s().Cursor1Ns, 2.5) << "the press moves at once";
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.interval, 100);
    double expected = 2.5;
    for (int tick = 2; tick <= 25; ++tick) {
        Tick();
        expected += 2.5 * std::min(tick, 20);
        EXPECT_DOUBLE_EQ(s().Cursor1Ns, expected) << "tick " << tick;
    }
    EXPECT_EQ(s().Cursor2Ns, 0);
    repeat.RptMouseUp();
    EXPECT_FALSE(timer.running);
    EXPECT_TRUE(repeat.SkipNextClick());

    // The click after the release is swallowed; a click from the keyboard then moves by
    // the grown step.
    double at = s().Cursor1Ns;
    repeat.Click(TagRight1);
    EXPECT_EQ(s().Cursor1Ns, at);
    EXPECT_FALSE(repeat.SkipNextClick());
    repeat.Click(TagRight1);
    EXPECT_DOUBLE_EQ(s().Cursor1Ns, at + 50);
    // A new press starts again at the base step.
    repeat.RptMouseDown(TagLeft1);
    EXPECT_DOUBLE_EQ(s().Cursor1Ns, at + 50 - 2.5);
}

TEST_F(Repeat, TheStepEndsAtExactlyTwentyBaseStepsForEveryBaseStep) {
    // Every base step a range can give, 0.1 to 200 ns in tenths.
    int wrong = 0;
    for (int tenths = 1; tenths <= 2000; ++tenths) {
        double base = tenths / 10.0;
        BaseStep(base);
        canvas.calls.clear();
        display.StepPress();
        for (int k = 1; k <= 24; ++k) {
            double step = s().RepeatStep;
            if (step != std::min(k, 20) * base)
                ++wrong;
            display.StepCursor(1, 1, prompts);
        }
        if (s().RepeatStep != s().StepMax || s().StepMax != 20 * base)
            ADD_FAILURE() << "base " << base << " ends at " << s().RepeatStep;
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Repeat, AmpPressAndReleaseChangesTheGainOnce) {
    repeat.RptMouseDown(TagAmpUp);
    repeat.RptMouseUp();
    repeat.Click(TagAmpUp);
    EXPECT_EQ(session.set.Slot(1).data.header.DispGain, 2);
    // A click without a press (Enter, Space or the access letter) acts once.
    repeat.Click(TagAmpUp);
    EXPECT_EQ(session.set.Slot(1).data.header.DispGain, 4);
}

TEST_F(Repeat, HeldControlsRepeatTheSameAmountEveryTick) {
    struct Case {
        int tag;
        std::function<int()> value;
        int perTick;
    };
    const Case cases[] = {
        {TagUp, [&] { return session.set.Slot(1).TraceOffset; }, -1},
        {TagDown, [&] { return session.set.Slot(1).TraceOffset; }, 1},
        {TagDielUp, [&] { return session.DisplayDiel; }, 1},
        {TagDielDown, [&] { return session.DisplayDiel; }, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        session.TraceStep = 7; // a press puts it back to 1
        int start = c.value();
        repeat.RptMouseDown(c.tag);
        Tick();
        Tick();
        repeat.RptMouseUp();
        EXPECT_EQ(c.value(), start + 3 * c.perTick);
        EXPECT_EQ(session.TraceStep, 1);
        repeat.Click(c.tag); // swallowed
        EXPECT_EQ(c.value(), start + 3 * c.perTick);
    }
    // Amp- repeats down to its stop and no further.
    repeat.RptMouseDown(TagAmpDown);
    for (int i = 0; i < 6; ++i)
        Tick();
    EXPECT_EQ(session.set.Slot(1).data.header.DispGain, -16);
}

TEST_F(Repeat, WithNothingLoadedAPressStartsNothingAndTheClickReports) {
    session.set.Slot(1) = TraceSlot{};
    session.set.TraceCount = 0;
    repeat.RptMouseDown(TagRight1);
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(repeat.RepeatCode(), TagNone);
    repeat.RptMouseUp();
    EXPECT_FALSE(repeat.SkipNextClick());
    prompts.answers = {IdOk};
    repeat.Click(TagRight1);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No traces loaded");
}

TEST_F(Repeat, ATickAfterTheLastWaveformWentStopsQuietly) {
    repeat.RptMouseDown(TagRight1);
    session.set.Slot(1) = TraceSlot{};
    session.set.TraceCount = 0;
    repeat.RptTimerTimer();
    EXPECT_FALSE(timer.running);
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(Repeat, SpaceSwitchesTheActiveCursorOnlyWhenSomethingIsLoaded) {
    EXPECT_TRUE(repeat.FormKeyDown(FormKey::Space));
    EXPECT_EQ(s().ActiveCursor, 2);
    EXPECT_TRUE(repeat.FormKeyDown(FormKey::Space));
    EXPECT_EQ(s().ActiveCursor, 1);
    session.set.Slot(1) = TraceSlot{};
    session.set.TraceCount = 0;
    EXPECT_FALSE(repeat.FormKeyDown(FormKey::Space)) << "passed on to the focused control";
    EXPECT_EQ(s().ActiveCursor, 1);
    EXPECT_FALSE(repeat.FormKeyDown(FormKey::Other));
}

TEST_F(Repeat, ArrowsPressTheButtonOfTheActiveCursorAndEveryKeyDownCounts) {
    struct Case {
        int active;
        FormKey key;
        int tag;
    };
    const Case cases[] = {{1, FormKey::Left, TagLeft1}, {1, FormKey::Right, TagRight1},
                          {2, FormKey::Left, TagLeft2}, {2, FormKey::Right, TagRight2},
                          {1, FormKey::Up, TagUp},      {2, FormKey::Down, TagDown}};
    for (const Case& c : cases) {
        s().ActiveCursor = c.active;
        EXPECT_FALSE(repeat.FormKeyDown(c.key)) << "arrows are not consumed";
        EXPECT_EQ(repeat.RepeatCode(), c.tag);
        repeat.FormKeyUp(c.key);
        EXPECT_FALSE(timer.running);
    }
    // The keyboard's own repeats each press again: every one moves one base step.
    BaseStep(1);
    s().Cursor1Ns = 100;
    for (int i = 0; i < 5; ++i)
        repeat.FormKeyDown(FormKey::Right);
    EXPECT_EQ(s().Cursor1Ns, 105);
    repeat.FormKeyUp(FormKey::Right);
    EXPECT_TRUE(repeat.SkipNextClick());
    repeat.FormKeyUp(FormKey::Other);
}

TEST_F(Repeat, AHeldCursorStopsAtTheEdgeOfTheView) {
    BaseStep(1);
    s().Cursor1Ns = 598;
    repeat.RptMouseDown(TagRight1);
    Tick();
    Tick();
    EXPECT_EQ(s().Cursor1Ns, 600);
    s().Cursor2Ns = 1;
    repeat.RptMouseDown(TagLeft2);
    Tick();
    EXPECT_EQ(s().Cursor2Ns, 0);
    EXPECT_EQ(s().ActiveCursor, 2);
}

} // namespace
} // namespace r470
