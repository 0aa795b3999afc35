// The details labels of the current waveform and the gain readout.
#include "display/display.h"
#include "shell/messages.h"
#include "waveform/units.h"

namespace r470 {

namespace {

std::string TrimLeadingBlanks(const std::string& s) {
    auto first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

bool FilterShown(std::uint8_t f) {
    return f == ' ' || (f >= 'A' && f <= 'Z');
}

} // namespace

std::string Display::GainText(int slot) const {
    const TraceHeader& h = Slot(slot).data.header;
    return std::to_string(h.Gain) + (h.DispGain >= 1 ? "+" : "") +
           std::to_string(GetGaindBs(h.DispGain)) + "dB";
}

void Display::ShowGain() {
    int cur = session_.set.CurTrace;
    std::string text;
    if (cur == kDiffSlot)
        text = "1. " + GainText(session_.set.DiffA) + "   2. " + GainText(session_.set.DiffB);
    else if (cur >= 1 && cur <= kFileSlots)
        text = GainText(cur);
    else
        return;
    host_.SetLabel("SGain", text, kBlack);
}

void Display::ShowRangeDetail() {
    int cur = session_.set.CurTrace;
    // Not set for the difference waveform.
    if (session_.set.TraceCount < 1 || cur < 1 || cur > kFileSlots)
        return;
    host_.SetLabel("SRange", FormatAxisValue(Diel(), Units(), s_.RangeNs), kBlack);
}

void Display::FixedText(int slot) {
    auto caption = [this](const char* name, int msg) {
        host_.SetLabel(name, MessageText(msg), kBlack);
    };
    bool diff = slot == kDiffSlot;
    caption("LFilename", diff ? 186 : 187);
    caption("LMemFN2", diff ? 188 : 189);
    caption("LGain", 190);
    caption("LMode", 191);
    caption("LRange", 192);
    caption("LPulse", 193);
    caption("LMachine", 194);
    if (diff) {
        for (const char* name : {"LDate", "LTime"})
            host_.SetLabelVisible(name, false);
        return;
    }
    const TraceHeader& h = Slot(slot).data.header;
    if (FilterShown(h.Filter))
        caption("LFilter", 195);
    if (h.Impedance != 0)
        caption("LImpedance", 196);
    caption("LDate", 197);
    caption("LTime", 198);
    caption("LCable", 200);
    caption("LComments", 201);
}

void Display::TraceText(int slot, bool clear) {
    if (session_.set.TraceCount < 1 || slot < 1 || slot > kDiffSlot)
        return;
    if (clear)
        ClearTextArea();
    FixedText(slot);
    auto value = [this](const char* name, const std::string& text, Colour c = kBlack) {
        host_.SetLabel(name, text, c);
    };
    if (slot == kDiffSlot) {
        int a = session_.set.DiffA, b = session_.set.DiffB;
        if (a >= 1 && a <= kFileSlots)
            value("SFilename", Slot(a).FileName, TraceColour(a));
        if (b >= 1 && b <= kFileSlots)
            value("SMemFN2", Slot(b).FileName, TraceColour(b));
        value("SMode", MessageText(49));
        for (const char* name : {"SDate", "STime"})
            host_.SetLabelVisible(name, false);
    } else {
        const TraceSlot& sl = Slot(slot);
        const TraceHeader& h = sl.data.header;
        const TraceNotes& n = sl.data.notes;
        value("SFilename", sl.FileName, TraceColour(slot));
        value("SMemFN2", std::to_string(h.MemNo));
        value("SMode", TrimLeadingBlanks(h.ModeText));
        value("SRange", FormatAxisValue(Diel(), Units(), s_.RangeNs));
        value("SPulse", std::to_string(h.PulseWidth) + "ns");
        value("SMachine", TrimLeadingBlanks(h.Machine1 + " " + h.Machine2));
        if (FilterShown(h.Filter))
            value("SFilter", std::string(1, static_cast<char>(h.Filter)));
        if (h.Impedance != 0)
            value("SImpedance", std::to_string(h.Impedance));
        value("SDate", n.Date);
        value("STime", n.Time);
        value("SCable", n.CableId);
        for (int i = 0; i < 5; ++i)
            value(("SComments" + std::to_string(i + 1)).c_str(),
                  n.Comments[static_cast<std::size_t>(i)]);
        for (const char* name : {"LDate", "SDate", "LTime", "STime"})
            host_.SetLabelVisible(name, true);
    }
    ShowGain();
    ShowCableName();
}

} // namespace r470
