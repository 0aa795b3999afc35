#include "waveform/set_commands.h"

#include "common/file_io.h"
#include "shell/messages.h"
#include "shell/prompts.h"

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
    TraceSlot& slot = set.Slot(s);
    int state = LoadTraceFile(path, slot.data, prompts_);
    if (state != LoadOk) {
        host_.ShowStartPanel(set.TraceCount == 0);
        return state;
    }
    bool first = set.TraceCount == 0;
    slot.Loaded = slot.Shown = true;
    slot.Changed = false;
    slot.TraceOffset = 0;
    slot.NsPerSample = SampleIntervalNs(slot.data.header);
    slot.FileName = UpperFileName(path);
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

std::string SetCommands::GetName(int slot) const {
    if (slot == kDiffSlot)
        return "Diff";
    std::string name = BaseName(session_.set.Slot(slot).FileName);
    if (name.size() >= 4) {
        std::string ext = UpperFileName(name.substr(name.size() - 4));
        if (ext == ".KEL")
            name.resize(name.size() - 4);
    }
    return name;
}

void SetCommands::SetButton(int slot) {
    host_.SetTraceButton(slot, GetName(slot), TraceColour(slot));
}

void SetCommands::ClearButton(int slot) {
    host_.ClearTraceButton(slot);
}

} // namespace r470
