// Sending the marked slots over a pseudo-terminal: the bytes on the line, the extension
// rule, slot order, pacing, and the bound on a line that takes nothing.
#include "instrument/transfer_format.h"
#include "support/link_fixture.h"
#include "waveform/waveform_set.h"

#include <gtest/gtest.h>

#include <numeric>

namespace r470 {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> v) {
    return {v.begin(), v.end()};
}
void Append(std::vector<std::uint8_t>& to, const std::string& text) {
    to.insert(to.end(), text.begin(), text.end());
}

TraceHeader TwoSampleHeader() {
    TraceHeader h;
    h.MemNo = 30;
    h.Gain = 3;
    h.SampleIntLo = 500;
    h.SampleCount = 2;
    h.InstDiel = 650;
    h.Diel = 660;
    h.PulseWidth = 10;
    h.ModeText = "TDR MODE        ";
    h.InstCursor = 5;
    h.Cursor = 1;
    h.MaxSample = 255;
    h.InstCableId = "CABLE 1   ";
    h.InstDate = "081226";
    h.InstTime = "104200";
    h.Machine1 = "R470  ";
    h.Machine2 = "V3.04 ";
    h.DispGain = 4;
    return h;
}

class Send : public test::LinkTest {
  protected:
    void Load(int slot, const TraceHeader& h, std::uint8_t fill = 0x40) {
        TraceSlot& s = set.Slot(slot);
        s.Loaded = true;
        s.data.header = h;
        for (std::size_t i = 0; i < kMaxSamples; ++i)
            s.data.samples[i] = static_cast<std::uint8_t>(fill + i % 50);
    }
    void Mark(int slot, int memory) {
        set.Slot(slot).SlotMarked = true;
        exportMemory[static_cast<std::size_t>(slot)] = memory;
    }
    // Runs the send; returns what reached the instrument's end.
    std::vector<std::uint8_t> Run(int expect = IdOk) {
        transfer->TransferMode = ModeSend;
        transfer->SetExport(set, exportMemory);
        transfer->FormShow();
        EXPECT_EQ(view.message, "Press RS232 then 3 on the instrument, then select START.");
        EXPECT_EQ(transfer->StartClick(), expect);
        EXPECT_EQ(transfer->PortHandle, -1);
        EXPECT_TRUE(PortFree());
        return test::DrainMaster(pty);
    }
    std::vector<ExportItem> Items() {
        transfer->SetExport(set, exportMemory);
        return transfer->ExportItems();
    }

    WaveformSet set;
    std::array<int, 5> exportMemory{};
};

TEST_F(Send, OneTwoSampleMemoryIsSeventyEightBytes) {
    Load(1, TwoSampleHeader());
    set.Slot(1).data.samples[0] = 0x10;
    set.Slot(1).data.samples[1] = 0x20;
    Mark(1, 7);
    const TraceHeader before = set.Slot(1).data.header;
    const std::int64_t t0 = clock.now;
    auto line = Run();

    auto want = Bytes({0x48, 0x48, 0x00, 0x00, 0x00, 0x01, 0x00, // 'H', length 72, one memory
                       0x4D, 0x07, 0x00, 0x03, 0x00,             // 'M', memory 7, gain as stored
                       0xF4, 0x01, 0x00, 0x02, 0x00,             // interval 500, 2 samples
                       0x94, 0x02, 0x0A, 0x00});                 // Diel 660 as InstDiel, 10 ns
    Append(want, "TDR MODE        ");
    auto rest = Bytes({0x01, 0x00, 0xFF, 0x00, 0x10, 0x20}); // Cursor as InstCursor, max, samples
    want.insert(want.end(), rest.begin(), rest.end());
    Append(want, "CABLE 1   081226104200R470  V3.04 ");
    unsigned sum = std::accumulate(want.begin(), want.end(), 0u);
    want.push_back(static_cast<std::uint8_t>(sum % 256));
    ASSERT_EQ(want.size(), 78u);
    EXPECT_EQ(line, want);

    std::vector<ExportItem> items = Items();
    EXPECT_EQ(EncodeExport(items), want) << "encode and send must agree";
    EXPECT_EQ(transfer->ExpectedLength, 72);
    EXPECT_EQ(transfer->Checksum, 2 * (sum % 256)) << "the checksum byte counts itself too";
    EXPECT_FALSE(transfer->WithExtension);
    EXPECT_TRUE(set.Slot(1).data.header == before) << "the slot's header must not change";
    EXPECT_EQ(prompts.msgWindows, std::vector<std::string>{"Complete"});
    EXPECT_EQ(view.max, 72);
    EXPECT_EQ(view.position, 78);
    EXPECT_GE(clock.now - t0, 78 * kPaceUs) << "every byte is followed by the pacing wait";
    EXPECT_LT(clock.now - t0, 79 * kPaceUs);
}

TEST_F(Send, TheFirstTakingPartSlotDecidesTheExtensionForAll) {
    TraceHeader a = TwoSampleHeader();
    a.SampleCount = 500;
    a.Filter = 'A';
    a.Impedance = 0x0132;
    TraceHeader b = a;
    b.Filter = 0;
    b.Impedance = 0;
    Load(1, a);
    Load(3, b, 0x60);
    Mark(1, 1);
    Mark(3, 2);
    auto line = Run();
    ASSERT_EQ(line.size(), 1150u);
    EXPECT_EQ(transfer->ExpectedLength, 1144);
    EXPECT_EQ(line[1] | line[2] << 8, 1144);
    EXPECT_EQ(line[5], 2);
    // The first record ends with its extension, 'A' and 0x0132; the second with zeros.
    const std::size_t end1 = 7 + 571;
    EXPECT_EQ(line[end1 - 3], 'A');
    EXPECT_EQ(line[end1 - 2], 0x32);
    EXPECT_EQ(line[end1 - 1], 0x01);
    EXPECT_EQ(line[end1], 'M');
    EXPECT_EQ(line[end1 + 1], 2);
    EXPECT_EQ(line[end1 + 571 - 3], 0);

    // The other way round: the first has none, so the later 'B' goes without one.
    test::LinkTest::TearDown();
    b.Filter = 'B';
    a.Filter = 0;
    a.Impedance = 0;
    Load(1, a);
    Load(3, b);
    auto plain = EncodeExport(Items());
    EXPECT_EQ(plain.size(), 7u + 568 + 568 + 1);
    EXPECT_EQ(plain[1] | plain[2] << 8, 2 + 568 + 568);
}

TEST_F(Send, WhichHeadersGiveAnExtension) {
    const struct {
        std::uint8_t filter;
        std::uint16_t impedance;
        bool with;
    } cases[] = {{' ', 0, true}, {'A', 0, true},  {'Z', 0, true},  {'M', 0, true}, {'a', 0, false},
                 {0, 0, false},  {'@', 0, false}, {'[', 0, false}, {0, 50, true},  {'9', 1, true}};
    for (auto c : cases) {
        TraceHeader h;
        h.Filter = c.filter;
        h.Impedance = c.impedance;
        EXPECT_EQ(WithExtensionFor(h), c.with) << int(c.filter) << " " << c.impedance;
    }
}

TEST_F(Send, MarkedSlotsWithAMemoryGoInSlotOrder) {
    for (int i = 1; i <= 4; ++i) {
        TraceHeader h = TwoSampleHeader();
        h.SampleCount = static_cast<std::uint16_t>(10 * i);
        Load(i, h);
    }
    Mark(2, 12);
    Mark(4, 3);
    Mark(3, 0);          // marked without a memory: stays out
    exportMemory[1] = 9; // a memory without the mark: stays out
    auto line = Run();
    ASSERT_EQ(line[5], 2);
    EXPECT_EQ(line[7 + 1], 12);
    EXPECT_EQ(line[7 + 34 + 20 + 34 + 1], 3);
    EXPECT_EQ(line.size(), 7u + 88 + 108 + 1);

    // Nothing taking part: the start block (length 2, no memories) and its checksum.
    test::LinkTest::TearDown();
    for (int i = 1; i <= 4; ++i)
        set.Slot(i).SlotMarked = false;
    EXPECT_EQ(Run(), Bytes({0x48, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4A}));
}

TEST_F(Send, AHeldLineEndsTheSendWithinTheBound) {
    Load(1, TwoSampleHeader());
    Mark(1, 7);
    // Fill the line until it takes nothing more: nobody drains the other end.
    {
        TermiosPort filler(test::MapToPty(pty.PortPath()));
        int h = filler.OpenCommPort(test::kPtyPort, 4800, 'N', 8, 1);
        ASSERT_GE(h, 0);
        std::vector<std::uint8_t> chunk(4096, 0x55);
        int total = 0;
        for (int round = 0; round < 200; ++round) {
            int w = filler.CommWrite(h, chunk);
            if (w <= 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if ((w = filler.CommWrite(h, chunk)) <= 0)
                    break; // still nothing taken after a pause: the line is held
            }
            total += w;
        }
        ASSERT_GT(total, 0);
        ::close(h); // without the flush of CloseCommPort: the bytes stay in the line
    }
    prompts.answers = {IdOk};
    const std::int64_t t0 = clock.now;
    Run(IdCancel);
    EXPECT_GE(clock.now - t0, kDrainBoundUs);
    EXPECT_LT(clock.now - t0, kDrainBoundUs + 10000);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "Data transfer failed");
    EXPECT_EQ(prompts.boxes[0].caption, "Problem");
    EXPECT_TRUE(prompts.msgWindows.empty());
}

// A port whose transmit queue never empties (hardware handshake with nobody there).
struct StuckPort : SerialPort {
    int writes = 0;
    int OpenCommPort(int, int, char, int, int) override { return 3; }
    int CommInCount(int, std::uint32_t& e) override { return e = 0, 0; }
    int CommOutCount(int, std::uint32_t& e) override { return e = 0, 1; }
    int CommRead(int, std::span<std::uint8_t>) override { return 0; }
    int CommWrite(int, std::span<const std::uint8_t> b) override {
        ++writes;
        return static_cast<int>(b.size());
    }
    int CloseCommPort(int) override { return 0; }
};

TEST(SendStuck, AQueueThatNeverEmptiesIsGivenUpAfterTwoSeconds) {
    StuckPort port;
    test::FakeClock clock;
    test::ScriptedPrompts prompts;
    prompts.answers = {IdOk};
    test::RecordingView view;
    DataTransfer t(port, clock, prompts, view);
    WaveformSet set;
    t.TransferMode = ModeSend;
    t.SetExport(set, {});
    t.FormShow();
    EXPECT_EQ(t.StartClick(), IdCancel);
    EXPECT_EQ(port.writes, 0);
    EXPECT_EQ(clock.now - 1000000, kDrainBoundUs);
    EXPECT_LE(clock.sleeps, kDrainBoundUs / kDrainPollUs + 1) << "the wait sleeps in steps";
    EXPECT_EQ(prompts.boxes.at(0).text, "Data transfer failed");
}

} // namespace
} // namespace r470
