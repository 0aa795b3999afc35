#include "shell/prompts.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "waveform/trace_file.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

using test::ReadBytes;
using test::ScriptedPrompts;
using test::TempDir;
using test::WriteBytes;

TraceData SmallTrace() {
    TraceData t;
    t.header.SampleCount = 3;
    t.header.MaxSample = 255;
    t.samples[0] = 10;
    t.samples[1] = 200;
    t.samples[2] = 255;
    return t;
}

std::vector<std::uint8_t> Bytes(const TraceData& t) {
    VectorSink sink;
    EXPECT_EQ(WriteTrace(sink, t), 0);
    return sink.data;
}

int Read(const std::vector<std::uint8_t>& bytes, TraceData& into) {
    MemorySource src(bytes);
    return ReadTrace(src, into);
}

TEST(TraceHeader, EveryFieldAtItsOffsetLittleEndian) {
    TraceHeader h;
    h.MemNo = 0x0102;
    h.Gain = 0x0304;
    h.SampleIntLo = 0x0506;
    h.SampleIntHi = 0x07;
    h.SampleCount = 0x0809;
    h.InstDiel = 0x0A0B;
    h.PulseWidth = 0x0C0D;
    h.ModeText = "  Mode";
    h.InstCursor = 0x0E0F;
    h.MaxSample = 0x1011;
    h.InstCableId = "CABLE";
    h.InstDate = "010203";
    h.InstTime = "1122";
    h.Machine1 = "MACH1";
    h.Machine2 = "MACH2";
    h.DispGain = -16;
    h.Diel = 0x1213;
    h.Cursor = 0x1415;
    h.Filter = 'B';
    h.Impedance = 0x1617;
    auto b = EncodeHeader(h);
    std::array<std::uint8_t, 108> e{};
    auto put = [&](std::size_t at, std::initializer_list<std::uint8_t> v) {
        std::copy(v.begin(), v.end(), e.begin() + static_cast<std::ptrdiff_t>(at));
    };
    auto text = [&](std::size_t at, const char* s) {
        for (std::size_t i = 0; s[i]; ++i)
            e[at + i] = static_cast<std::uint8_t>(s[i]);
    };
    put(0, {6, 'K', 'E', 'L', 'T', 'D', 'R'});
    put(10, {0x20, 2, 0, 'M', 0x02, 0x01, 0x04, 0x03, 0x06, 0x05, 0x07, 0x09, 0x08, 0x0B, 0x0A,
             0x0D, 0x0C});
    text(27, "  Mode          ");
    put(43, {0x0F, 0x0E, 0x11, 0x10});
    text(47, "CABLE     0102031122  MACH1 MACH2 ");
    put(81, {0xF0, 0xFF, 0x13, 0x12, 0x15, 0x14, 'B', 0x17, 0x16});
    EXPECT_EQ(b, e);
    EXPECT_EQ(DecodeHeader(b).InstTime, "1122  ") << "padding is kept on reading";
    h.InstTime = "1122  ";
    h.ModeText = "  Mode          ";
    h.InstCableId = "CABLE     ";
    h.Machine1 = "MACH1 ";
    h.Machine2 = "MACH2 ";
    EXPECT_EQ(DecodeHeader(b), h);
}

TEST(TraceHeader, SampleIntervalWeighsTheHighPartBy65535) {
    TraceHeader h;
    h.SampleIntLo = 500;
    EXPECT_DOUBLE_EQ(SampleIntervalNs(h), 0.5);
    h.SampleIntLo = 0;
    h.SampleIntHi = 1;
    EXPECT_DOUBLE_EQ(SampleIntervalNs(h), 65.535);
    h.SampleIntLo = 65535;
    h.SampleIntHi = 1;
    EXPECT_DOUBLE_EQ(SampleIntervalNs(h), 131.07);
}

TEST(TraceNotesBlock, InMemoryLayoutIs1333BytesOfPrefixedTexts) {
    TraceNotes n;
    n.Date = "08/12/2026";
    n.Time = "09:15";
    n.CableId = "C";
    n.Comments = {"one", "", "three", "", "five"};
    n.MoreComments = "more\r\ntext";
    auto b = EncodeNotesBlock(n);
    ASSERT_EQ(b.size(), 1333u);
    EXPECT_EQ(b[0], 10);
    EXPECT_EQ(b[1], '0');
    EXPECT_EQ(b[11], 5);
    EXPECT_EQ(b[22], 1);
    EXPECT_EQ(b[23], 'C');
    EXPECT_EQ(b[53], 3);
    EXPECT_EQ(b[104], 0);
    EXPECT_EQ(b[155], 5);
    EXPECT_EQ(b[257], 4);
    EXPECT_EQ(b[308], 'm');
    EXPECT_EQ(b[318], 0);
    EXPECT_EQ(DecodeNotesBlock(b), n);
    n.MoreComments = std::string(2000, 'x');
    n.Comments[0] = std::string(80, 'y');
    TraceNotes back = DecodeNotesBlock(EncodeNotesBlock(n));
    EXPECT_EQ(back.MoreComments.size(), 1024u);
    EXPECT_EQ(back.Comments[0].size(), 50u);
    EXPECT_EQ(back.Comments[1], "");
}

TEST(WaveformFile, SmallestFilesAreExactly120And126Bytes) {
    TraceData t = SmallTrace();
    auto bytes = Bytes(t);
    ASSERT_EQ(bytes.size(), 120u);
    EXPECT_TRUE(std::equal(bytes.begin() + 108, bytes.begin() + 111, std::begin({10, 200, 255})));
    EXPECT_TRUE(std::all_of(bytes.begin() + 111, bytes.end(), [](auto b) { return b == 0; }));
    t.notes.Date = "081226";
    bytes = Bytes(t);
    ASSERT_EQ(bytes.size(), 126u);
    EXPECT_EQ(std::string(bytes.begin() + 111, bytes.begin() + 118), std::string("081226\0", 7));
}

TEST(WaveformFile, WrittenFileReadsBackTheSameAndRewritesByteForByte) {
    TempDir dir;
    TraceData t = SmallTrace();
    t.header.MemNo = 17;
    t.header.DispGain = -4;
    t.header.Filter = 'A';
    t.notes.Date = "08/12/2026";
    t.notes.Time = "10:11:12";
    t.notes.CableId = "Feeder \xB5 7";
    t.notes.Comments = {"a", "", "c", "d", "e"};
    t.notes.MoreComments = "line 1\r\nline 2";
    auto original = Bytes(t);
    ASSERT_EQ(WriteFileSafely(dir.Path("T.KEL"), [&](ByteSink& out) { return WriteTrace(out, t); }),
              0);
    EXPECT_EQ(ReadBytes(dir.Path("T.KEL")), original);
    TraceData back;
    ASSERT_EQ(ReadTraceFile(dir.Path("T.KEL"), back), LoadOk);
    EXPECT_EQ(back.header, t.header);
    EXPECT_EQ(back.notes, t.notes);
    EXPECT_TRUE(std::equal(t.samples.begin(), t.samples.begin() + 3, back.samples.begin()));
    EXPECT_EQ(Bytes(back), original);
}

TEST(WaveformFile, RefusalsGiveTheirStateCaptionAndText) {
    TempDir dir;
    auto good = Bytes(SmallTrace());
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int state;
        const char* text;
    };
    auto version1 = good;
    version1[11] = 1;
    auto badSig = good;
    badSig[3] = 'X';
    auto badLen = good;
    badLen[0] = 5;
    auto shortSamples = std::vector<std::uint8_t>(good.begin(), good.begin() + 110);
    auto tooMany = good;
    tooMany[21] = 0x01; // 2049 samples
    tooMany[22] = 0x08;
    const Case cases[] = {
        {"V1.KEL", version1, LoadWrongVersion, "File cannot be loaded by this software version"},
        {"SIG.KEL", badSig, LoadNotWaveform, "File is not a valid waveform file"},
        {"LEN.KEL", badLen, LoadNotWaveform, "File is not a valid waveform file"},
        {"HDR.KEL", std::vector<std::uint8_t>(good.begin(), good.begin() + 107), LoadNotWaveform,
         "File is not a valid waveform file"},
        {"EMPTY.KEL", {}, LoadNotWaveform, "File is not a valid waveform file"},
        {"SMP.KEL", shortSamples, LoadReadError, "Error reading file from disk"},
        {"BIG.KEL", tooMany, LoadNotWaveform, "File is not a valid waveform file"},
    };
    for (const Case& c : cases) {
        WriteBytes(dir.Path(c.name), c.bytes);
        ScriptedPrompts prompts;
        prompts.answers = {IdOk};
        TraceData t;
        EXPECT_EQ(LoadTraceFile(dir.Path(c.name), t, prompts), c.state) << c.name;
        ASSERT_EQ(prompts.boxes.size(), 1u) << c.name;
        EXPECT_EQ(prompts.boxes[0].caption, "Cannot load file") << c.name;
        EXPECT_EQ(prompts.boxes[0].text, c.text) << c.name;
        EXPECT_EQ(prompts.boxes[0].flags, 0u);
    }
}

TEST(WaveformFile, OpenFailureIsAFileError) {
    TempDir dir;
    ScriptedPrompts prompts;
    prompts.answers = {IdOk};
    TraceData t;
    EXPECT_EQ(LoadTraceFile(dir.Path("NONE.KEL"), t, prompts), LoadCannotOpen);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].caption, "File error");
    EXPECT_EQ(prompts.boxes[0].text, "Cannot open data file");
    // A folder is not a file that can be opened.
    prompts.answers = {IdOk};
    EXPECT_EQ(LoadTraceFile(dir.Path(), t, prompts), LoadCannotOpen);
}

TEST(WaveformFile, ShortOrMissingNotesAreEmptyTexts) {
    TraceData t = SmallTrace();
    t.notes.Date = "D";
    t.notes.Comments[4] = "last";
    auto full = Bytes(t);
    // Ends right after the samples: every text empty, and an empty trace loads too.
    TraceData back;
    back.notes.Date = "stale";
    back.notes.MoreComments = "stale";
    ASSERT_EQ(Read(std::vector<std::uint8_t>(full.begin(), full.begin() + 111), back), LoadOk);
    EXPECT_EQ(back.notes, TraceNotes{});
    // Cut inside the third text: the first two survive, the cut one keeps what is there.
    std::vector<std::uint8_t> cut(full.begin(), full.begin() + 111);
    for (char c : std::string("D\0T\0Cab", 7))
        cut.push_back(static_cast<std::uint8_t>(c));
    ASSERT_EQ(Read(cut, back), LoadOk);
    EXPECT_EQ(back.notes.Date, "D");
    EXPECT_EQ(back.notes.Time, "T");
    EXPECT_EQ(back.notes.CableId, "Cab");
    EXPECT_EQ(back.notes.Comments[0], "");
    EXPECT_EQ(back.notes.MoreComments, "");

    TraceData none;
    none.header.SampleCount = 0;
    ASSERT_EQ(Read(Bytes(none), back), LoadOk);
    EXPECT_EQ(back.header.SampleCount, 0);
}

TEST(WaveformFile, OverlongTextsAreCutToTheirFields) {
    TraceData t = SmallTrace();
    t.notes.Date = std::string(25, '1');
    t.notes.Time = std::string(11, '2');
    t.notes.CableId = std::string(40, '3');
    t.notes.Comments = {std::string(51, 'a'), std::string(300, 'b'), "c", "d", "e"};
    t.notes.MoreComments = std::string(1100, 'm');
    auto bytes = Bytes(t); // written as given: the reader must cope with what others wrote
    TraceData back;
    ASSERT_EQ(Read(bytes, back), LoadOk);
    EXPECT_EQ(back.notes.Date, std::string(10, '1'));
    EXPECT_EQ(back.notes.Time, std::string(10, '2'));
    EXPECT_EQ(back.notes.CableId, std::string(30, '3'));
    EXPECT_EQ(back.notes.Comments[0], std::string(50, 'a'));
    EXPECT_EQ(back.notes.Comments[1], std::string(50, 'b'));
    EXPECT_EQ(back.notes.Comments[2], "c");
    EXPECT_EQ(back.notes.Comments[4], "e");
    EXPECT_LE(back.notes.MoreComments.size(), 1024u);
    EXPECT_EQ(back.notes.MoreComments.find_first_not_of('m'), std::string::npos);
}

TEST(WaveformFile, MoreCommentsEndAtTheirTerminator) {
    TraceData t = SmallTrace();
    t.notes.MoreComments = "keep\r\nthis";
    auto bytes = Bytes(t);
    for (char c : std::string("junk after"))
        bytes.push_back(static_cast<std::uint8_t>(c));
    TraceData back;
    ASSERT_EQ(Read(bytes, back), LoadOk);
    EXPECT_EQ(back.notes.MoreComments, "keep\r\nthis");
}

TEST(AppendText, StopsAtTheFirstFailedWrite) {
    struct FailThird : ByteSink {
        int calls = 0;
        int Write(std::span<const std::uint8_t>) override { return ++calls == 3 ? 101 : 0; }
    } sink;
    EXPECT_EQ(AppendText(sink, TraceNotes{}), 101);
    EXPECT_EQ(sink.calls, 3);
}

} // namespace
} // namespace r470
