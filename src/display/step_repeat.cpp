#include "display/step_repeat.h"

#include "display/display.h"

namespace r470 {

void StepRepeat::Act(int tag) {
    DisplayState& s = display_.state();
    switch (tag) {
    case TagLeft1:
        display_.MoveCursor(1, -s.RepeatStep, prompts_);
        break;
    case TagRight1:
        display_.MoveCursor(1, s.RepeatStep, prompts_);
        break;
    case TagLeft2:
        display_.MoveCursor(2, -s.RepeatStep, prompts_);
        break;
    case TagRight2:
        display_.MoveCursor(2, s.RepeatStep, prompts_);
        break;
    case TagUp:
        display_.TraceUp(prompts_);
        break;
    case TagDown:
        display_.TraceDown(prompts_);
        break;
    case TagAmpUp:
        display_.GainUp(prompts_);
        break;
    case TagAmpDown:
        display_.GainDown(prompts_);
        break;
    case TagDielUp:
        display_.ChangeDiel(session_.DisplayDiel + session_.TraceStep, prompts_);
        break;
    case TagDielDown:
        display_.ChangeDiel(session_.DisplayDiel - session_.TraceStep, prompts_);
        break;
    default:
        break;
    }
}

void StepRepeat::RptMouseDown(int tag) {
    if (session_.set.TraceCount == 0 || tag < TagLeft1 || tag > TagDielDown)
        return;
    repeatCode_ = tag;
    timer_.Start(kRepeatIntervalMs);
    repeating_ = true;
    display_.StepPress();
    session_.TraceStep = 1;
    RptTimerTimer();
}

void StepRepeat::RptTimerTimer() {
    // The last waveform can go while a button is held (a menu shortcut); a tick then
    // stops instead of asking "No traces loaded" ten times a second.
    if (session_.set.TraceCount == 0) {
        timer_.Stop();
        repeating_ = false;
        return;
    }
    switch (repeatCode_) {
    case TagLeft1:
        display_.StepCursor(1, -1, prompts_);
        break;
    case TagRight1:
        display_.StepCursor(1, 1, prompts_);
        break;
    case TagLeft2:
        display_.StepCursor(2, -1, prompts_);
        break;
    case TagRight2:
        display_.StepCursor(2, 1, prompts_);
        break;
    default:
        Act(repeatCode_);
        break;
    }
}

void StepRepeat::RptMouseUp() {
    if (session_.set.TraceCount == 0)
        return;
    timer_.Stop();
    repeating_ = false;
    skipNextClick_ = true;
    display_.StepRelease();
}

void StepRepeat::Click(int tag) {
    bool skip = skipNextClick_;
    skipNextClick_ = false;
    if (!skip)
        Act(tag);
}

bool StepRepeat::FormKeyDown(FormKey key) {
    int active = display_.state().ActiveCursor;
    switch (key) {
    case FormKey::Space:
        if (session_.set.TraceCount == 0)
            return false;
        display_.SwitchActiveCursor();
        return true;
    case FormKey::Left:
        RptMouseDown(active == 1 ? TagLeft1 : TagLeft2);
        return false;
    case FormKey::Right:
        RptMouseDown(active == 1 ? TagRight1 : TagRight2);
        return false;
    case FormKey::Up:
        RptMouseDown(TagUp);
        return false;
    case FormKey::Down:
        RptMouseDown(TagDown);
        return false;
    case FormKey::Other:
        break;
    }
    return false;
}

void StepRepeat::FormKeyUp(FormKey key) {
    if (key == FormKey::Left || key == FormKey::Right || key == FormKey::Up || key == FormKey::Down)
        RptMouseUp();
}

} // namespace r470
