// What the archive reads from a waveform before filing it: the cable ID it goes under, and
// its date and time in a form that sorts.
#include "archive/waveform_facts.h"
#include "support/archive_fixture.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

TEST(WaveformFacts, CableIdFromTheNotesElseTheHeaderTrimmed) {
    struct Row {
        const char* notes;
        const char* header;
        const char* filed;
    };
    const Row rows[] = {
        {"  FEEDER 1 ", "OTHER     ", "FEEDER 1"}, // the notes win, trimmed
        {"", "PUMP HOUSE", "PUMP HOUSE"},          // else the instrument's
        {"   ", "  PE 7    ", "PE 7"},             // blank notes count as none
        {"", "          ", ""},                    // nothing: the user must give one
        {"Bl\xE5", "", "Bl\xC3\xA5"},              // Windows-1252 kept as UTF-8
    };
    for (const Row& r : rows) {
        TraceData t;
        t.notes.CableId = r.notes;
        t.header.InstCableId = r.header;
        EXPECT_EQ(FiledCableId(t), r.filed) << r.notes << "|" << r.header;
    }
}

TEST(WaveformFacts, DatesDayFirstAsTheInstrumentWritesThem) {
    const std::pair<const char*, const char*> rows[] = {
        {"08/12/2026", "2026-12-08"},
        {"8/12/26", "2026-12-08"},
        {"2026-12-08", "2026-12-08"},
        {"29.02.2024", "2024-02-29"},
        {"29/02/2023", ""},
        {"31/04/2026", ""},
        {"12/13/2026", ""},
        {"", ""},
        {"08/12", ""},
        {"aa/bb/cccc", ""},
        {"08/12/202", ""},
        {"081226", "2026-12-08"}, // as received from the instrument
        {"311326", ""},
    };
    for (const auto& [text, iso] : rows)
        EXPECT_EQ(IsoDate(text), iso) << text;
}

TEST(WaveformFacts, ClockTimes) {
    const std::pair<const char*, const char*> rows[] = {
        {"14:30:00", "14:30:00"},
        {"9:05", "09:05"},
        {"24:00", ""},
        {"14:60", ""},
        {"14", ""},
        {"", ""},
        {"1:2:3:4", ""},
        {"143200", "14:32:00"},
        {"246000", ""},
    };
    for (const auto& [text, clock] : rows)
        EXPECT_EQ(ClockTime(text), clock) << text;
}

TEST(WaveformFacts, BytesThatAreNoWaveformSayWhy) {
    std::vector<std::uint8_t> junk(200, 'x');
    EXPECT_FALSE(ReadWaveformFacts(junk).problem.empty());
    WaveformFacts f = ReadWaveformFacts(test::FileBytes(test::CableTrace(1)));
    EXPECT_EQ(f.problem, "");
    EXPECT_EQ(f.cable, "FEEDER 1");
    EXPECT_EQ(f.date, "2026-12-08");
    EXPECT_GT(f.events, 0);
}

} // namespace
} // namespace r470
