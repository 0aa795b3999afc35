#include "instrument/export.h"

#include "instrument/data_transfer.h"
#include "instrument/transfer_format.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "waveform/waveform_set.h"

#include <gtest/gtest.h>

#include <functional>

namespace r470 {
namespace {

using test::ScriptedPrompts;

void Load(WaveformSet& set, int slot, int samples, std::uint8_t filter = 0) {
    TraceSlot& s = set.Slot(slot);
    s.Loaded = true;
    s.FileName = "/DATA/W" + std::to_string(slot) + ".KEL";
    s.data.header.SampleCount = static_cast<std::uint16_t>(samples);
    s.data.header.MemNo = static_cast<std::uint16_t>(40 + slot);
    s.data.header.Gain = static_cast<std::uint16_t>(slot + 5);
    s.data.header.InstDiel = 600;
    s.data.header.Diel = static_cast<std::uint16_t>(700 + slot);
    s.data.header.InstCursor = 5;
    s.data.header.Cursor = static_cast<std::uint16_t>(100 + slot);
    s.data.header.Filter = filter;
    for (int i = 0; i < samples; ++i)
        s.data.samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(slot * 10 + i);
    set.TraceCount++;
}

struct Row {
    bool sel;
    const char* mem;
};

// Fills the four rows over slots 1 and 2 loaded, presses "&Ok", and answers what was said.
std::string Ok(std::array<Row, 4> rows, WaveformSet& set, ExportForm& form) {
    ScriptedPrompts p;
    p.answers = {IdOk};
    form.Reset(set);
    for (int i = 1; i <= 4; ++i) {
        form.Row(i).Sel = rows[static_cast<std::size_t>(i - 1)].sel;
        form.Row(i).Mem = rows[static_cast<std::size_t>(i - 1)].mem;
    }
    bool ok = form.OkClick(set, p);
    EXPECT_EQ(ok, p.boxes.empty());
    if (p.boxes.empty())
        return "";
    EXPECT_EQ(p.boxes[0].caption, "Problem");
    EXPECT_EQ(p.boxes[0].flags, unsigned(MbOk));
    return p.boxes[0].text;
}

TEST(ExportChecks, EachMessageInOrder) {
    WaveformSet set;
    Load(set, 1, 3);
    Load(set, 2, 3);
    struct Case {
        const char* what;
        std::array<Row, 4> rows;
        const char* text;
    };
    const Case cases[] = {
        {"memory 7 twice, the second row not selected",
         {{{true, "7"}, {false, "7"}, {false, ""}, {false, ""}}},
         "All memory locations must be different"},
        {"a number for an empty slot",
         {{{false, ""}, {false, ""}, {false, "5"}, {false, ""}}},
         "Cannot select where no waveform"},
        {"an empty slot selected",
         {{{false, ""}, {false, ""}, {false, ""}, {true, ""}}},
         "Cannot select where no waveform"},
        {"memory 0",
         {{{true, "0"}, {false, ""}, {false, ""}, {false, ""}}},
         "Memory location must be 1 to 48 and within capabilities of instrument"},
        {"memory 49",
         {{{true, "49"}, {false, ""}, {false, ""}, {false, ""}}},
         "Memory location must be 1 to 48 and within capabilities of instrument"},
        {"x1", {{{true, "x1"}, {false, ""}, {false, ""}, {false, ""}}}, "Invalid numeric format"},
        {"blanks only",
         {{{false, "  "}, {false, ""}, {false, ""}, {false, ""}}},
         "Invalid numeric format"},
        {"a number beyond int",
         {{{false, "99999999999"}, {false, ""}, {false, ""}, {false, ""}}},
         "Invalid numeric format"},
        {"selected without a number",
         {{{true, "3"}, {true, ""}, {false, ""}, {false, ""}}},
         "Must specify memory for each selected waveform"},
        {"the first failing row is reported",
         {{{true, "x"}, {false, ""}, {true, ""}, {false, ""}}},
         "Invalid numeric format"},
        {"distinct memories pass", {{{true, " 7 "}, {true, "+8"}, {false, ""}, {false, ""}}}, ""},
        {"nothing selected passes", {{{false, ""}, {false, ""}, {false, ""}, {false, ""}}}, ""},
        {"an unselected number twice passes",
         {{{false, "4"}, {false, "4"}, {false, ""}, {false, ""}}},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExportForm form;
        EXPECT_EQ(Ok(c.rows, set, form), c.text);
    }
    ExportForm form;
    ASSERT_EQ(Ok({{{true, " 7 "}, {false, "+8"}, {false, ""}, {false, ""}}}, set, form), "");
    EXPECT_EQ(form.ExportMemory(), (ExportMemories{0, 7, 8, 0, 0}));
    EXPECT_TRUE(set.Slot(1).SlotMarked);
    EXPECT_FALSE(set.Slot(2).SlotMarked);
}

class ScriptedWindows : public ExportWindows {
  public:
    std::function<bool(ExportForm&)> user;
    std::vector<ExportRow> shownRows;
    std::vector<ExportMemories> sent;
    std::vector<std::array<bool, 5>> sentMarks;
    bool ShowExportForm(ExportForm& form) override {
        for (int i = 1; i <= 4; ++i)
            shownRows.push_back(form.Row(i));
        return user(form);
    }
    void SendToInstrument(const WaveformSet& set, const ExportMemories& memory) override {
        sent.push_back(memory);
        std::array<bool, 5> marks{};
        for (int i = 1; i <= 4; ++i)
            marks[static_cast<std::size_t>(i)] = set.Slot(i).SlotMarked;
        sentMarks.push_back(marks);
    }
};

// The bytes the transfer puts on the line for the choice, through its own selection.
class NoPort : public SerialPort {
  public:
    int OpenCommPort(int, int, char, int, int) override { return -1; }
    int CommInCount(int, std::uint32_t&) override { return 0; }
    int CommOutCount(int, std::uint32_t&) override { return 0; }
    int CommRead(int, std::span<std::uint8_t>) override { return -1; }
    int CommWrite(int, std::span<const std::uint8_t>) override { return -1; }
    int CloseCommPort(int) override { return 0; }
};
class StillClock : public Clock {
  public:
    std::int64_t NowUs() override { return 0; }
    void SleepUntilUs(std::int64_t) override {}
};
class NoView : public TransferView {
  public:
    void SetMessage(const std::string&) override {}
    void SetButtons(bool, bool) override {}
    void SetProgressMax(int) override {}
    void SetProgress(int) override {}
};

std::vector<std::uint8_t> WireBytes(const WaveformSet& set, const ExportMemories& memory) {
    NoPort port;
    StillClock clock;
    ScriptedPrompts p;
    NoView view;
    DataTransfer t(port, clock, p, view);
    t.SetExport(set, memory);
    return EncodeExport(t.ExportItems());
}

// A receive whose driver reports three bytes a poll, then `report`: bytes dropped end it at
// once with the reason and nothing kept; a lost device keeps its own message.
TEST(ReceiveLoss, DroppedBytesEndTheTransferSayingSoWithNothingWritten) {
    struct ReportingPort : NoPort {
        std::uint32_t report = 0;
        int OpenCommPort(int, int, char, int, int) override { return 1; }
        int CommInCount(int, std::uint32_t& errors) override { return errors = report, 3; }
        int CommRead(int, std::span<std::uint8_t> into) override {
            return static_cast<int>(into.size());
        }
    };
    const std::pair<std::uint32_t, const char*> rows[] = {
        {kCommDataLost, "Data transfer failed: data was lost on the line (not read in time); "
                        "nothing was saved. Send again from the instrument."},
        {kCommDeviceLost | kCommDataLost, "Data transfer failed"}};
    for (const auto& [report, says] : rows) {
        test::TempDir dir;
        ReportingPort port;
        StillClock clock;
        ScriptedPrompts p;
        p.answers = {IdOk};
        NoView view;
        DataTransfer t(port, clock, p, view);
        t.CommPort = 1;
        t.BufferFile = dir.Path("buffer.dat");
        ASSERT_EQ(t.StartClick(), kTransferRunning);
        EXPECT_EQ(t.TimerTimer(), kTransferRunning);
        port.report = report;
        EXPECT_EQ(t.TimerTimer(), IdCancel);
        ASSERT_EQ(p.boxes.size(), 1u);
        EXPECT_EQ(p.boxes[0].text, says);
        EXPECT_TRUE(dir.Names().empty());
    }
}

TEST(ExportCommand, RowsAreSentInSlotOrderWithTheirTargets) {
    WaveformSet set;
    for (int s = 1; s <= 4; ++s)
        Load(set, s, 2);
    set.Slot(3).SlotMarked = true; // left from a close dialog: not kept
    ScriptedWindows w;
    w.user = [&](ExportForm& form) {
        form.Row(2) = {form.Row(2).File, true, "12"};
        form.Row(4) = {form.Row(4).File, true, "3"};
        ScriptedPrompts p;
        return form.OkClick(set, p);
    };
    ExportMemories memory{9, 9, 9, 9, 9};
    ScriptedPrompts p;
    MenuToInstClick(set, memory, p, w);
    ASSERT_EQ(w.shownRows.size(), 4u);
    EXPECT_EQ(w.shownRows[1].File, "/DATA/W2.KEL");
    EXPECT_FALSE(w.shownRows[0].Sel);
    EXPECT_EQ(w.shownRows[0].Mem, "");
    ASSERT_EQ(w.sent.size(), 1u);
    EXPECT_EQ(w.sent[0], (ExportMemories{0, 0, 12, 0, 3}));
    EXPECT_EQ(w.sentMarks[0], (std::array<bool, 5>{false, false, true, false, true}));

    auto bytes = WireBytes(set, memory);
    // Start block, two records of 2 samples without extension, checksum.
    ASSERT_EQ(bytes.size(), 7u + 70 + 70 + 1);
    EXPECT_EQ(bytes[5], 2);
    auto record = [&](int k) {
        return std::span(bytes).subspan(7 + 70 * static_cast<std::size_t>(k), 70);
    };
    EXPECT_EQ(record(0)[1], 12);                        // slot 2 first
    EXPECT_EQ(record(0)[3], 7);                         // Gain as stored
    EXPECT_EQ(record(0)[10] | record(0)[11] << 8, 702); // InstDiel from Diel
    EXPECT_EQ(record(0)[30] | record(0)[31] << 8, 102); // InstCursor from Cursor
    EXPECT_EQ(record(0)[34], 20);                       // slot 2's samples
    EXPECT_EQ(record(1)[1], 3);
    EXPECT_EQ(record(1)[34], 40);
    EXPECT_EQ(set.Slot(2).data.header.MemNo, 42); // the slot's own header is untouched
}

TEST(ExportCommand, NothingSelectedSendsOnlyTheStartBlockAndChecksum) {
    WaveformSet set;
    Load(set, 1, 5);
    ScriptedWindows w;
    w.user = [&](ExportForm& form) {
        ScriptedPrompts p;
        return form.OkClick(set, p);
    };
    ExportMemories memory{};
    ScriptedPrompts p;
    MenuToInstClick(set, memory, p, w);
    ASSERT_EQ(w.sent.size(), 1u);
    auto bytes = WireBytes(set, memory);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'H', 2, 0, 0, 0, 0, 0, 'H' + 2}));
}

TEST(ExportCommand, NoWaveformOrCancelSendsNothing) {
    WaveformSet set;
    ScriptedWindows w;
    w.user = [](ExportForm&) { return true; };
    ExportMemories memory{};
    ScriptedPrompts p;
    p.answers = {IdOk};
    MenuToInstClick(set, memory, p, w);
    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_EQ(p.boxes[0].text, "No traces loaded");
    EXPECT_TRUE(w.shownRows.empty());

    Load(set, 1, 2);
    w.user = [](ExportForm&) { return false; };
    MenuToInstClick(set, memory, p, w);
    EXPECT_EQ(w.shownRows.size(), 4u);
    EXPECT_TRUE(w.sent.empty());
}

TEST(ExportNumbers, WhatCountsAsAWholeNumber) {
    EXPECT_EQ(ParseMemoryNumber("7"), 7);
    EXPECT_EQ(ParseMemoryNumber(" 12 "), 12);
    EXPECT_EQ(ParseMemoryNumber("+3"), 3);
    EXPECT_EQ(ParseMemoryNumber("-3"), -3);
    for (const char* bad : {"", " ", "x1", "1x", "1 2", "+", "+-3", "3.0", "0x10"})
        EXPECT_EQ(ParseMemoryNumber(bad), std::nullopt) << bad;
}

} // namespace
} // namespace r470
