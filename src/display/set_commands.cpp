#include "display/set_commands.h"

#include "common/cp1252.h"
#include "common/file_io.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/file_dialog.h"

namespace r470 {

std::string UpperFileName(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    if (out.size() > 255)
        out.resize(255);
    return out;
}

std::string ShownFileName(const std::string& path) {
    return UpperFileName(Utf8ToCp1252(path));
}

void SetCommands::Recall() {
    if (session_.set.TraceCount >= kFileSlots) {
        prompts_.ShowMessageBox(MessageText(MsgMaxWaveforms), MessageText(MsgProblem), MbOk);
        return;
    }
    std::optional<std::string> path = files_ ? files_->ChooseOpen("") : std::nullopt;
    if (path && !path->empty())
        LoadFile(*path);
}

int SetCommands::LoadFile(const std::string& path) {
    WaveformSet& set = session_.set;
    int s = 1;
    while (s <= kFileSlots && set.Slot(s).Loaded)
        ++s;
    if (s > kFileSlots) {
        // Slot 5 holds the difference waveform and has no room for samples.
        prompts_.ShowMessageBox(MessageText(MsgMaxWaveforms), MessageText(MsgProblem), MbOk);
        return LoadNotWaveform;
    }
    int state = LoadTraceFile(path, set.Slot(s).data, prompts_);
    if (state != LoadOk) {
        host_.ShowStartPanel(set.TraceCount == 0);
        return state;
    }
    // Cleared before the check, which may mark the new waveform changed.
    set.Slot(s).Changed = false;
    if (set.TraceCount > 0 && check_ && !check_->GoOn(s)) {
        host_.ShowStartPanel(set.TraceCount == 0);
        return LoadAbandoned;
    }
    TraceSlot& slot = set.Slot(s);
    bool first = set.TraceCount == 0;
    slot.Loaded = slot.Shown = true;
    slot.TraceOffset = 0;
    slot.NsPerSample = SampleIntervalNs(slot.data.header);
    slot.FileName = ShownFileName(path);
    slot.Path = path;
    set.TraceCount++;
    set.CurTrace = s;
    if (first)
        display_.SeedFromFirstWaveform(s);

    display_.RedrawTraces();
    display_.RangeText();
    display_.ShowRange(kBlack);
    display_.ShowDiel(kBlack);
    display_.TraceText(s, true);
    display_.ShowCurToCur(kBlack);
    SetButton(s);
    host_.ShowStartPanel(set.TraceCount == 0);
    return LoadOk;
}

bool SetCommands::NoTraces() {
    return r470::NoTraces(session_.set, prompts_);
}

bool SetCommands::CheckChange(int slot, bool cancelAllowed) {
    return session_.set.CheckChange(slot, cancelAllowed, session_.DisplayDiel, prompts_);
}

void SetCommands::Forget(int slot) {
    TraceSlot& s = session_.set.Slot(slot);
    s.Loaded = s.Shown = false;
    if (slot <= kFileSlots) {
        s.FileName.clear();
        s.Path.clear();
    }
}

void SetCommands::ClearAllTraces() {
    for (int n = 1; n <= kDiffSlot; ++n) {
        CheckChange(n, false);
        if (session_.set.Slot(n).Loaded)
            ClearButton(n);
        Forget(n);
    }
    session_.set.TraceCount = 0;
    session_.set.DiffA = session_.set.DiffB = 0;
    ShowEmpty();
}

void SetCommands::ShowEmpty() {
    // The whole graph, the scale's base line too: the start panel stands on the same clean
    // area as at start-up.
    display_.ClearGraph();
    display_.ClearTextArea();
    host_.ShowStartPanel(true);
}

void SetCommands::MenuNew() {
    if (NoTraces())
        return;
    if (prompts_.ShowMessageBox(MessageText(45), "", MbOkCancel | MbIconStop) == IdOk)
        ClearAllTraces();
}

void SetCommands::MenuCloseWave() {
    if (NoTraces())
        return;
    WaveformSet& set = session_.set;
    std::array<bool, 4> marks{};
    if (set.TraceCount < 2) {
        if (prompts_.ShowMessageBox(MessageText(107), MessageText(MsgConfirm),
                                    MbOkCancel | MbIconQuestion) != IdOk)
            return;
        marks.fill(true);
    } else {
        std::array<std::string, 4> names;
        for (int n = 1; n <= kFileSlots; ++n)
            names[static_cast<std::size_t>(n - 1)] = set.Slot(n).FileName;
        std::optional<std::array<bool, 4>> chosen =
            close_ ? close_->ChooseClose(names) : std::nullopt;
        if (!chosen)
            return;
        marks = *chosen;
    }
    for (int i = 1; i <= kFileSlots; ++i) {
        set.Slot(i).SlotMarked = marks[static_cast<std::size_t>(i - 1)];
        if (!set.Slot(i).SlotMarked || !set.Slot(i).Loaded)
            continue;
        CheckChange(i, false);
        ClearButton(i);
        Forget(i);
        set.TraceCount--;
        auto lowestLoaded = [&set] {
            for (int n = 1; n <= kFileSlots; ++n)
                if (set.Slot(n).Loaded)
                    return n;
            return 0;
        };
        if (i == set.CurTrace && set.TraceCount > 0)
            set.CurTrace = lowestLoaded();
        if (i == set.DiffA || i == set.DiffB) {
            // The difference of a closed waveform means nothing any more.
            set.DiffA = set.DiffB = 0;
            Forget(kDiffSlot);
            ClearButton(kDiffSlot);
            if (set.CurTrace == kDiffSlot && set.TraceCount > 0)
                set.CurTrace = lowestLoaded();
        }
    }
    display_.RedrawTraces();
    if (set.TraceCount > 0) {
        display_.TraceText(set.CurTrace, true);
    } else {
        display_.state().Cursor1Ns = display_.state().Cursor2Ns = -1;
        ShowEmpty();
    }
}

void SetCommands::MenuSave() {
    if (NoTraces())
        return;
    for (int n = 1; n <= kFileSlots; ++n) {
        TraceSlot& s = session_.set.Slot(n);
        if (s.Loaded)
            SaveFile(s, s.Path, false, session_.DisplayDiel, prompts_);
    }
}

void SetCommands::MenuSaveAs() {
    if (NoTraces())
        return;
    for (int n = 1; n <= kFileSlots; ++n) {
        TraceSlot& s = session_.set.Slot(n);
        if (!s.Loaded)
            continue;
        for (;;) {
            std::string path = GetFileName(BaseName(s.Path));
            if (path.empty())
                break;
            int result = SaveFile(s, path, true, session_.DisplayDiel, prompts_);
            if (result == SaveWritten) {
                s.FileName = ShownFileName(path);
                s.Path = path;
                SetButton(n);
                break;
            }
            if (result != SaveDeclined)
                break;
        }
    }
}

std::string SetCommands::GetFileName(const std::string& proposed) {
    if (!files_)
        return "";
    return files_->ChooseSave("", proposed, true).value_or("");
}

std::string SetCommands::GetName(int slot) const {
    if (slot == kDiffSlot)
        return "Diff";
    const TraceSlot& s = session_.set.Slot(slot);
    // The upper-case name of the details, unless the code page it is in has no room for the
    // real name's letters: then the real name.
    std::string real = BaseName(s.Path);
    std::string name =
        s.Path.empty() || Unstorable1252(real).empty() ? Cp1252ToUtf8(BaseName(s.FileName)) : real;
    if (HasWaveformExtension(name))
        name.resize(name.size() - kWaveformExtension.size());
    return name;
}

void SetCommands::SetButton(int slot) {
    host_.SetTraceButton(slot, GetName(slot), TraceColour(slot));
}

void SetCommands::ClearButton(int slot) {
    host_.ClearTraceButton(slot);
}

} // namespace r470
