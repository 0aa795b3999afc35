#include "display/compare.h"

#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/units.h"

namespace r470 {

namespace {

constexpr int kNotLoadedProblem = 125;
constexpr int kNotTwoProblem = 126;
constexpr int kNoPairProblem = 127;
constexpr int kNothingShownProblem = 128;
constexpr int kClearCurrentQuestion = 134;
constexpr int kGainDiffers = 139;
constexpr int kPulseDiffers = 140;
constexpr int kBothDiffer = 141;

std::size_t Row(int n) {
    return static_cast<std::size_t>(n - 1);
}

} // namespace

DisplayModeFields DisplayModeFieldsFor(const WaveformSet& set) {
    DisplayModeFields f;
    for (int n = 1; n <= kFileSlots; ++n) {
        f.File[Row(n)] = set.Slot(n).Loaded ? set.Slot(n).FileName : "";
        f.Boxes.Disp[Row(n)] = set.Slot(n).Shown;
        f.Boxes.Diff[Row(n)] = n == set.DiffA || n == set.DiffB;
    }
    f.Boxes.Disp[Row(kDiffSlot)] = set.Slot(kDiffSlot).Shown;
    return f;
}

int DisplayChoiceProblem(const DisplayChoice& c, const WaveformSet& set) {
    int shown = 0, compared = 0;
    for (bool b : c.Disp)
        shown += b;
    for (bool b : c.Diff)
        compared += b;
    int problem = 0;
    for (int n = 1; n <= kFileSlots; ++n)
        if ((c.Disp[Row(n)] || c.Diff[Row(n)]) && !set.Slot(n).Loaded)
            problem = kNotLoadedProblem;
    if (problem == 0 && compared != 0 && compared != 2)
        problem = kNotTwoProblem;
    else if (problem == 0 && compared == 0 && c.Disp[Row(kDiffSlot)])
        problem = kNoPairProblem;
    if (shown == 0)
        problem = kNothingShownProblem;
    return problem;
}

bool DisplayModeSession::OkClick(const DisplayChoice& choice) {
    int problem = DisplayChoiceProblem(choice, set_);
    if (problem == 0)
        return true;
    prompts_.ShowMessageBox(MessageText(problem), MessageText(MsgProblem), MbOk);
    return false;
}

void CompareCommands::MenuSelWaveClick() {
    if (commands_.NoTraces() || !dialogs_)
        return;
    DisplayModeSession session(session_.set, prompts_);
    if (std::optional<DisplayChoice> choice = dialogs_->SelectWaveforms(session))
        ApplyDisplayChoice(*choice);
}

void CompareCommands::ApplyDisplayChoice(const DisplayChoice& c) {
    WaveformSet& set = session_.set;
    set.DiffA = set.DiffB = 0;
    for (int n = 1; n <= kFileSlots; ++n) {
        set.Slot(n).Shown = c.Disp[Row(n)];
        if (c.Diff[Row(n)])
            (set.DiffA == 0 ? set.DiffA : set.DiffB) = n;
    }
    TraceSlot& diff = set.Slot(kDiffSlot);
    diff.Shown = diff.Loaded = c.Disp[Row(kDiffSlot)];

    auto visible = [&set](int n) {
        return n >= 1 && n <= kDiffSlot && set.Slot(n).Loaded && set.Slot(n).Shown;
    };
    if (!visible(set.CurTrace)) {
        for (int n = 1; n <= kDiffSlot; ++n) {
            if (visible(n)) {
                set.CurTrace = n;
                display_.TraceText(n, true);
                break;
            }
        }
    }
    display_.RedrawTraces();
    if (set.DiffA != 0 && set.DiffB != 0)
        commands_.SetButton(kDiffSlot);
    else
        commands_.ClearButton(kDiffSlot);
}

bool CompareCommands::DielAllSame() const {
    const WaveformSet& set = session_.set;
    if (set.TraceCount < 2)
        return true;
    for (int n = 1; n <= kFileSlots; ++n)
        if (set.Slot(n).Loaded && set.Slot(n).data.header.Diel != session_.DisplayDiel)
            return false;
    return true;
}

void CompareCommands::MenuXAxisClick() {
    if (commands_.NoTraces() || !dialogs_)
        return;
    std::optional<int> units = dialogs_->ChooseXAxis(session_.settings.XAxisUnits);
    if (!units)
        return;
    if (*units != AxisTime && !DielAllSame()) {
        if (!dialogs_->ChooseDielDif2())
            return;
        // Only waveforms in the set: a free slot's old header is not anybody's file.
        for (int n = 1; n <= kFileSlots; ++n) {
            TraceSlot& s = session_.set.Slot(n);
            if (s.Loaded && s.data.header.Diel != session_.DisplayDiel) {
                s.data.header.Diel = static_cast<std::uint16_t>(session_.DisplayDiel);
                s.Changed = true;
            }
        }
    }
    display_.ChangeXUnits(*units);
}

bool CompareCommands::DiffWave() {
    return r470::DiffWave(session_.set, prompts_);
}

void CompareCommands::ShowdBRL() {
    const DisplayState& s = display_.state();
    ReturnLoss rl = MeasureCurrentReturnLoss(session_.set, s.Cursor1Ns, s.Cursor2Ns);
    if (rl.refusal != 0) {
        prompts_.ShowMessageBox(MessageText(rl.refusal), MessageText(MsgProblem), MbOk);
        return;
    }
    if (dialogs_)
        dialogs_->ShowdBRL(rl.ratioText, rl.dBText);
}

bool CompareCommands::GoOn(int& f) {
    if (!dialogs_)
        return true;
    WaveformSet& set = session_.set;
    auto othersDiffer = [&set, &f](auto field) {
        for (int n = 1; n <= kFileSlots; ++n)
            if (n != f && set.Slot(n).Loaded && field(set.Slot(n)) != field(set.Slot(f)))
                return true;
        return false;
    };
    bool gain = othersDiffer([](const TraceSlot& s) { return s.data.header.Gain; });
    bool pulse = othersDiffer([](const TraceSlot& s) { return s.data.header.PulseWidth; });
    if (gain || pulse) {
        int reason = gain && pulse ? kBothDiffer : gain ? kGainDiffers : kPulseDiffers;
        auto clearClick = [this] {
            return prompts_.ShowMessageBox(MessageText(kClearCurrentQuestion),
                                           MessageText(MsgConfirm),
                                           MbOkCancel | MbIconQuestion) == IdOk;
        };
        switch (dialogs_->ChooseMismatch(MessageText(reason), clearClick)) {
        case MismatchAnswer::Ok:
            break;
        case MismatchAnswer::Cancel:
            return false;
        case MismatchAnswer::ClearOthers: {
            // The new waveform's records outlive the clearing, which only frees slots.
            TraceData fresh = set.Slot(f).data;
            commands_.ClearAllTraces();
            set.Slot(1).data = fresh;
            set.Slot(1).Changed = false;
            f = 1;
            break;
        }
        }
    }
    if (session_.settings.XAxisUnits == AxisTime)
        return true;
    if (!othersDiffer([](const TraceSlot& s) { return s.data.header.Diel; }))
        return true;
    switch (dialogs_->ChooseDielDif()) {
    case DielDifAnswer::ChangeToTime:
        display_.ChangeXUnits(AxisTime);
        return true;
    case DielDifAnswer::MakeSame:
        set.Slot(f).data.header.Diel = static_cast<std::uint16_t>(session_.DisplayDiel);
        set.Slot(f).Changed = true;
        return true;
    case DielDifAnswer::Cancel:
        return false;
    }
    return false;
}

} // namespace r470
