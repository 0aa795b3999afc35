// The import and the export end to end over a pseudo-terminal with the simulated
// instrument on the other side: what the instrument holds becomes files, and files go
// back into its memories.
#include "instrument/export.h"
#include "instrument/import.h"
#include "instrument/instrument_sim.h"
#include "support/import_doubles.h"
#include "support/link_fixture.h"
#include "waveform/comments.h"
#include "waveform/trace_file.h"
#include "waveform/waveform_set.h"

#include <numeric>

namespace r470 {
namespace {

using test::NoComments;

class AllMemories : public MemoryChooser {
  public:
    std::optional<MemoryFlags> ChooseMem(const MemoryFlags& received) override {
        offered = received;
        return received;
    }
    MemoryFlags offered{};
};

InstrumentMemory Small(int n, int cursor, int diel = 670) {
    InstrumentMemory m = SynthesizedMemory(n);
    m.samples.resize(120);
    m.header.SampleCount = 120;
    m.header.InstCursor = static_cast<std::uint16_t>(cursor);
    m.header.InstDiel = static_cast<std::uint16_t>(diel);
    m.header.Gain = static_cast<std::uint16_t>(n);
    m.header.Filter = 'B';
    m.header.Impedance = 75;
    for (std::uint8_t& s : m.samples)
        s = std::min<std::uint8_t>(s, static_cast<std::uint8_t>(m.header.MaxSample));
    return m;
}

class ImportExportLink : public test::LinkTest {};

TEST_F(ImportExportLink, MemoriesBecomeFilesAndGoBack) {
    SimulatedInstrument sim;
    sim.SetMemory(3, Small(3, 2047));    // sent with an extension
    sim.SetMemory(7, Small(7, 2048));    // without
    sim.SetMemory(9, Small(9, 10, 250)); // with, but its dielectric is out of range
    sim.SetMemory(12, Small(12, 0));     // without
    const int list[] = {3, 7, 9, 12};
    std::vector<std::uint8_t> line = sim.EncodeSend(list, ExtensionMode::Mixed);

    transfer->TransferMode = ModeReceive;
    transfer->FormShow();
    ASSERT_EQ(transfer->StartClick(), kTransferRunning);
    Feed(line);
    ASSERT_EQ(transfer->TimerTimer(), IdOk);

    ImportState state;
    test::ScriptedPrompts p;
    p.answers = {IdOk};
    AllMemories chooser;
    NoComments comments;
    std::string base = dir.Path("IMP.KEL");
    ImportTransmission(std::span(transfer->TransferBuffer)
                           .first(static_cast<std::size_t>(transfer->ReceivedCount)),
                       state, p, chooser, comments, [&](const std::string&) { return base; });
    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_EQ(p.boxes[0].text, "Memory location 9 contains invalid data");
    MemoryFlags expected{};
    expected[3] = expected[7] = expected[12] = true;
    EXPECT_EQ(chooser.offered, expected);

    struct Want {
        int mem;
        int cursor;
        bool ext;
    };
    for (Want w : {Want{3, 2048, true}, Want{7, 1024, false}, Want{12, 1, false}}) {
        SCOPED_TRACE(w.mem);
        const TraceHeader& sent = sim.Memory(w.mem).header;
        auto bytes = test::ReadBytes(ImportFileName(base, w.mem));
        ASSERT_EQ(bytes.size(),
                  108u + 120 + 7 + 7 + 11 + 6); // date, time, cable ID, six empty texts
        auto u16 = [&](std::size_t at) { return bytes[at] | bytes[at + 1] << 8; };
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 7), "\x06KELTDR");
        EXPECT_EQ(bytes[10], ' ');             // Spare
        EXPECT_EQ(bytes[87], w.ext ? 'B' : 0); // Filter
        // MemNo, Gain + 1, SampleCount, InstDiel, InstCursor + 1 (2048 giving 1024),
        // DispGain, Diel, Cursor, Impedance.
        const std::pair<std::size_t, int> words[] = {
            {14, w.mem}, {16, sent.Gain + 1}, {21, 120},      {23, sent.InstDiel}, {43, w.cursor},
            {81, 1},     {83, sent.InstDiel}, {85, w.cursor}, {88, w.ext ? 75 : 0}};
        for (auto [at, value] : words)
            EXPECT_EQ(u16(at), value) << "at " << at;
        EXPECT_TRUE(std::equal(sim.Memory(w.mem).samples.begin(), sim.Memory(w.mem).samples.end(),
                               bytes.begin() + 108));
    }
    EXPECT_FALSE(CanOpenForReading(ImportFileName(base, 9)));

    // Two of the files go back into memories 20 and 21 from slots 2 and 4.
    WaveformSet set;
    for (auto [slot, mem] : {std::pair{2, 3}, std::pair{4, 12}}) {
        TraceSlot& s = set.Slot(slot);
        ASSERT_EQ(ReadTraceFile(ImportFileName(base, mem), s.data), LoadOk);
        s.Loaded = true;
        s.FileName = ImportFileName(base, mem);
        set.TraceCount++;
    }
    set.Slot(2).data.header.Diel = 705; // the dielectric changed on the display and saved
    set.Slot(4).data.header.Cursor = 333;
    class Windows : public ExportWindows {
      public:
        Windows(WaveformSet& s, test::LinkTest& t) : set(s), link(t) {}
        bool ShowExportForm(ExportForm& form) override {
            form.Row(2).Sel = true;
            form.Row(2).Mem = "20";
            form.Row(4).Sel = true;
            form.Row(4).Mem = "21";
            test::ScriptedPrompts p;
            return form.OkClick(set, p);
        }
        void SendToInstrument(const WaveformSet& s, const ExportMemories& m) override {
            sendSet = &s;
            memory = m;
        }
        WaveformSet& set;
        test::LinkTest& link;
        const WaveformSet* sendSet = nullptr;
        ExportMemories memory{};
    } windows(set, *this);
    ExportMemories memory{};
    MenuToInstClick(set, memory, p, windows);
    ASSERT_EQ(windows.sendSet, &set);

    transfer->TransferMode = ModeSend;
    transfer->SetExport(set, windows.memory);
    transfer->FormShow();
    ASSERT_EQ(transfer->StartClick(), IdOk);
    std::vector<std::uint8_t> got = test::DrainMaster(pty);
    ComputerTransmission t = CheckComputerTransmission(got);
    ASSERT_EQ(t.status, ComputerTransmission::Ok) << t.problem;
    ASSERT_EQ(t.records.size(), 2u);
    const TraceHeader& a = t.records[0].header;
    const TraceHeader& b = t.records[1].header;
    EXPECT_EQ(a.MemNo, 20);
    EXPECT_EQ(a.InstDiel, 705);
    EXPECT_EQ(a.InstCursor, set.Slot(2).data.header.Cursor);
    EXPECT_EQ(a.Gain, sim.Memory(3).header.Gain + 1); // as stored, the import's 1 kept
    EXPECT_EQ(b.MemNo, 21);
    EXPECT_EQ(b.InstCursor, 333);
    EXPECT_EQ(b.InstDiel, set.Slot(4).data.header.Diel);
    // The first slot carries an extension, so both records do.
    EXPECT_TRUE(t.records[0].hasExtension);
    EXPECT_TRUE(t.records[1].hasExtension);
    unsigned sum = std::accumulate(got.begin(), got.end() - 1, 0u);
    EXPECT_EQ(got.back(), sum % 256);
}

} // namespace
} // namespace r470
