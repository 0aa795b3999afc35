// The simulated instrument's bytes: what it sends, how it checks what it is sent, and the
// files it keeps; and a line-rate receive that ends within one poll of its last byte.
#include "instrument/instrument_sim.h"
#include "support/link_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace r470 {
namespace {

TEST(SimulatedInstrument, SendsTheLengthFromTheHInclusiveAndNoChecksum) {
    SimulatedInstrument inst;
    const int list[] = {2, 5, 9};
    const struct {
        ExtensionMode mode;
        bool ext[3];
    } cases[] = {{ExtensionMode::Yes, {true, true, true}},
                 {ExtensionMode::No, {false, false, false}},
                 {ExtensionMode::Mixed, {true, false, true}}};
    for (const auto& c : cases) {
        auto bytes = inst.EncodeSend(list, c.mode);
        auto start = DecodeStartBlock(bytes);
        ASSERT_TRUE(start);
        EXPECT_EQ(start->marker, 'H');
        EXPECT_EQ(start->length, bytes.size());
        EXPECT_EQ(start->count, 3);
        std::size_t at = kStartBlockSize;
        for (int i = 0; i < 3; ++i) {
            auto r = DecodeMemoryRecord(std::span(bytes).subspan(at), c.ext[i]);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->header.MemNo, list[i]);
            EXPECT_EQ(r->samples, inst.Memory(list[i]).samples);
            at += r->size;
            // The receiving side tells the records apart by the 'M' after a tail.
            if (i < 2) {
                EXPECT_EQ(bytes[at], 'M');
            }
        }
        EXPECT_EQ(at, bytes.size());
    }
}

TEST(SimulatedInstrument, ChecksAComputerTransmission) {
    SimulatedInstrument inst;
    TraceHeader a = inst.Memory(1).header, b = inst.Memory(2).header;
    a.Filter = 'M'; // an extension whose first byte looks like a record marker
    std::vector<ExportItem> items = {{&a, inst.Memory(1).samples, 11},
                                     {&b, inst.Memory(2).samples, 48}};
    const auto good = EncodeExport(items);
    auto t = CheckComputerTransmission(good);
    ASSERT_EQ(t.status, ComputerTransmission::Ok) << t.problem;
    EXPECT_EQ(t.total, good.size());
    ASSERT_EQ(t.records.size(), 2u);
    EXPECT_EQ(t.records[0].header.MemNo, 11);
    EXPECT_EQ(t.records[0].header.Filter, 'M');
    EXPECT_TRUE(t.records[1].hasExtension);
    EXPECT_EQ(t.records[1].header.MemNo, 48);

    for (std::size_t cut : {std::size_t{0}, std::size_t{6}, good.size() - 1})
        EXPECT_EQ(CheckComputerTransmission(std::span(good).first(cut)).status,
                  ComputerTransmission::NeedMore)
            << cut;

    auto with = [&](std::size_t at, std::uint8_t v) {
        auto b2 = good;
        b2[at] = v;
        return CheckComputerTransmission(b2);
    };
    EXPECT_EQ(with(0, 'X').status, ComputerTransmission::Bad);
    auto sum = with(good.size() - 1, static_cast<std::uint8_t>(good.back() + 1));
    EXPECT_EQ(sum.status, ComputerTransmission::Bad);
    EXPECT_NE(sum.problem.find("checksum"), std::string::npos);
    auto len = with(1, static_cast<std::uint8_t>(good[1] - 1)); // one byte short of the records
    EXPECT_EQ(len.status, ComputerTransmission::Bad);
    EXPECT_NE(len.problem.find("add up"), std::string::npos);
    EXPECT_EQ(with(8, 49).status, ComputerTransmission::Bad); // memory 49
}

TEST(SimulatedInstrument, MemoryListsAndFileNames) {
    EXPECT_EQ(ParseMemoryList("1,3,5-8"), (std::vector<int>{1, 3, 5, 6, 7, 8}));
    EXPECT_EQ(ParseMemoryList("48"), std::vector<int>{48});
    for (const char* bad : {"", "0", "49", "3-1", "1,,2", "a", "1-", "-4", "2 "})
        EXPECT_FALSE(ParseMemoryList(bad)) << bad;
    EXPECT_EQ(MemoryFileName(7), "MEM07.KEL");
    EXPECT_EQ(MemoryFileName(48), "MEM48.KEL");
}

TEST(SimulatedInstrument, LoadsMemoriesByTheirNumberAndStoresWhatItReceives) {
    test::TempDir dir;
    SimulatedInstrument inst;
    auto m = inst.Memory(3);
    m.header.MemNo = 12;
    m.header.InstDiel = 700;
    m.header.Diel = 610;
    MemoryRecord rec{m.header, m.samples, false, 0};
    TraceData t = MemoryToTrace(rec);
    EXPECT_EQ(t.header.Diel, 700) << "the instrument's dielectric is the one in use";
    EXPECT_EQ(t.notes.CableId, m.header.InstCableId);
    ASSERT_EQ(WriteFileSafely(dir.Path("x.kel"), [&](ByteSink& s) { return WriteTrace(s, t); }), 0);
    test::WriteText(dir.Path("junk.KEL"), "not one");
    std::vector<std::string> problems;
    EXPECT_EQ(inst.LoadFrom(dir.Path(), problems), std::vector<int>{12});
    EXPECT_EQ(problems.size(), 1u);
    EXPECT_EQ(inst.Memory(12).samples, m.samples);
    EXPECT_EQ(inst.Memory(12).header.InstDiel, 700);
}

class LineRate : public test::LinkTest {};

TEST_F(LineRate, AReceiveEndsWithinOnePollOfItsLastByte) {
    SimulatedInstrument inst;
    const int list[] = {1};
    const auto bytes = inst.EncodeSend(list, ExtensionMode::Yes);
    SteadyClock real;
    DataTransfer t(*port, real, prompts, view);
    t.CommPort = test::kPtyPort;
    t.BufferFile = dir.Path("buffer.dat");
    t.FormShow();
    ASSERT_EQ(t.StartClick(), kTransferRunning);
    // Counted in polls rather than microseconds: a loaded machine may delay any
    // one poll, but the transfer must still end at the first poll that can see
    // the last byte (a second one is allowed for the pty's own hand-over).
    std::atomic<std::int64_t> lastByte{0};
    std::thread instrument([&] {
        SteadyClock c;
        EXPECT_EQ(WriteLine(pty.Fd(), bytes, c, kLineByteUs / 4, 1000000), 0);
        lastByte = c.NowUs();
    });
    int result = kTransferRunning;
    std::vector<std::int64_t> pollStarts;
    std::int64_t next = real.NowUs();
    for (int i = 0; i < 100 && result == kTransferRunning; ++i) {
        next += kPollIntervalMs * 1000;
        real.SleepUntilUs(next);
        pollStarts.push_back(real.NowUs());
        result = t.TimerTimer();
    }
    instrument.join();
    EXPECT_EQ(result, IdOk);
    EXPECT_EQ(test::ReadBytes(dir.Path("buffer.dat")), bytes);
    const auto after = std::count_if(pollStarts.begin(), pollStarts.end(),
                                     [&](std::int64_t s) { return s >= lastByte.load(); });
    EXPECT_LE(after, 2) << "polls made after the last byte was on the line";
}

} // namespace
} // namespace r470
