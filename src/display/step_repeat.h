// Press-and-hold of the stepping buttons and the keys of the main window. A press acts at
// once and starts the repeat timer; every tick acts again (a cursor step one base step
// longer each time); the release stops it and swallows the click that follows. The timer
// comes in from outside so that tests step ticks without waiting.
#pragma once

namespace r470 {

class Display;
class Prompts;
struct Workspace;

// The 100 ms repeat timer of the window.
class RepeatTimer {
  public:
    virtual ~RepeatTimer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
};

constexpr int kRepeatIntervalMs = 100;

// Tags of the stepping buttons: the code a held button repeats.
enum RepeatTag : int {
    TagNone = 0,
    TagLeft1 = 1,
    TagRight1 = 2,
    TagLeft2 = 3,
    TagRight2 = 4,
    TagUp = 5,
    TagDown = 6,
    TagAmpUp = 7,
    TagAmpDown = 8,
    TagDielUp = 9,
    TagDielDown = 10,
};

// The keys the window acts on before the focused control sees them.
enum class FormKey { Space, Left, Right, Up, Down, Other };

class StepRepeat {
  public:
    StepRepeat(Workspace& session, Display& display, Prompts& prompts, RepeatTimer& timer)
        : session_(session), display_(display), prompts_(prompts), timer_(timer) {}

    // Mouse press on a stepping button (any mouse button), or an arrow key going down.
    void RptMouseDown(int tag);
    // One repeat tick, and the first action of a press.
    void RptTimerTimer();
    void RptMouseUp();
    // The button's click (after a release, or from the keyboard): acts once unless it is
    // the click that ends a press-and-hold.
    void Click(int tag);

    // Returns true when the key is consumed (the focused control does not get it).
    bool FormKeyDown(FormKey key);
    void FormKeyUp(FormKey key);

    int RepeatCode() const { return repeatCode_; }
    bool SkipNextClick() const { return skipNextClick_; }
    bool Repeating() const { return repeating_; }

  private:
    // The single action of a tagged button.
    void Act(int tag);

    Workspace& session_;
    Display& display_;
    Prompts& prompts_;
    RepeatTimer& timer_;
    int repeatCode_ = TagNone;
    bool skipNextClick_ = false;
    bool repeating_ = false;
};

} // namespace r470
