#include "instrument/export.h"

#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/waveform_set.h"

#include <charconv>

namespace r470 {

namespace {

constexpr int kMsgNotNumber = 129;
constexpr int kMsgOutOfRange = 130;
constexpr int kMsgNoWaveform = 131;
constexpr int kMsgNoMemory = 132;
constexpr int kMsgSameMemory = 133;

} // namespace

std::optional<int> ParseMemoryNumber(const std::string& text) {
    std::size_t b = text.find_first_not_of(' ');
    std::size_t e = text.find_last_not_of(' ');
    if (b == std::string::npos)
        return std::nullopt;
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    if (*first == '+' && last - first > 1 && first[1] != '-')
        ++first;
    int v = 0;
    auto res = std::from_chars(first, last, v);
    if (res.ec != std::errc{} || res.ptr != last)
        return std::nullopt;
    return v;
}

void ExportForm::Reset(const WaveformSet& set) {
    for (int i = 1; i <= kFileSlots; ++i)
        Row(i) = ExportRow{set.Slot(i).FileName, false, ""};
}

bool ExportForm::OkClick(WaveformSet& set, Prompts& prompts) {
    auto fail = [&](int msg) {
        prompts.ShowMessageBox(MessageText(msg), MessageText(MsgProblem), MbOk);
        return false;
    };
    for (int i = 1; i <= kFileSlots; ++i) {
        const ExportRow& r = Row(i);
        int& mem = memory_[static_cast<std::size_t>(i)];
        set.Slot(i).SlotMarked = r.Sel;
        mem = 0;
        if (!r.Mem.empty()) {
            std::optional<int> n = ParseMemoryNumber(r.Mem);
            if (!n)
                return fail(kMsgNotNumber);
            if (*n < 1 || *n > 48)
                return fail(kMsgOutOfRange);
            mem = *n;
        }
        if (!set.Slot(i).Loaded && (r.Sel || !r.Mem.empty()))
            return fail(kMsgNoWaveform);
        if (r.Sel && (mem < 1 || mem > 48))
            return fail(kMsgNoMemory);
    }
    for (int i = 1; i <= kFileSlots; ++i) {
        if (!Row(i).Sel)
            continue;
        for (int j = 1; j <= kFileSlots; ++j)
            if (j != i &&
                memory_[static_cast<std::size_t>(j)] == memory_[static_cast<std::size_t>(i)])
                return fail(kMsgSameMemory);
    }
    return true;
}

void MenuToInstClick(WaveformSet& set, ExportMemories& memory, Prompts& prompts,
                     ExportWindows& windows) {
    if (NoTraces(set, prompts))
        return;
    ExportForm form;
    form.Reset(set);
    if (!windows.ShowExportForm(form))
        return;
    // The checks passed on the last "&Ok"; what they left is the choice.
    memory = form.ExportMemory();
    for (int i = 1; i <= kFileSlots; ++i)
        set.Slot(i).SlotMarked = form.Row(i).Sel;
    windows.SendToInstrument(set, memory);
}

} // namespace r470
