#include "waveform/trace_info.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

TraceData HandBuilt() {
    TraceData t;
    TraceHeader& h = t.header;
    h.Reserved1 = {1, 2, 3};
    h.Spare = 0x20;
    h.MemNo = 12;
    h.Gain = 40;
    h.SampleIntLo = 0;
    h.SampleIntHi = 1;
    h.SampleCount = 3;
    h.InstDiel = 670;
    h.PulseWidth = 100;
    h.ModeText = "  \"Fast\"\\mode   ";
    h.InstCursor = 2049;
    h.MaxSample = 255;
    h.InstCableId = "CABLE \xB5   ";
    h.InstDate = "081226";
    h.InstTime = "1430\t0";
    h.Machine1 = "ABC123";
    h.Machine2 = "  V2.1";
    h.DispGain = -2;
    h.Diel = 700;
    h.Cursor = 1024;
    h.Filter = 'A';
    h.Impedance = 75;
    h.Reserved2[17] = 9;
    t.samples[0] = 128;
    t.notes.Date = "08/12/2026";
    t.notes.Time = "14:30:00";
    t.notes.CableId = "C \"1\" \\ \xB5";
    t.notes.Comments = {"one", "", std::string("ctl\x01\x1F", 5), "tab\there", "\x80 euro"};
    t.notes.MoreComments = "first\r\nsecond";
    return t;
}

TEST(TraceInfoJson, LoadedFileListsEveryFieldWithTextsEscapedAndConverted) {
    TraceData t = HandBuilt();
    EXPECT_EQ(TraceInfoJson("dir/M12.KEL", LoadOk, &t),
              R"({"file":"dir/M12.KEL","state":0,"message":"","Signature":"\u0006KELTDR",)"
              R"("Reserved1":[1,2,3],"Spare":32,"FileVersion":2,"MemMarker":"M","MemNo":12,)"
              R"("Gain":40,"SampleIntLo":0,"SampleIntHi":1,"SampleCount":3,"InstDiel":670,)"
              R"("PulseWidth":100,"ModeText":"  \"Fast\"\\mode   ","InstCursor":2049,)"
              R"("MaxSample":255,"InstCableId":"CABLE µ   ","InstDate":"081226",)"
              R"("InstTime":"1430\t0","Machine1":"ABC123","Machine2":"  V2.1","DispGain":-2,)"
              R"("Diel":700,"Cursor":1024,"Filter":65,"Impedance":75,)"
              R"("Reserved2":[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,9],"NsPerSample":65.535,)"
              R"("Date":"08/12/2026","Time":"14:30:00","CableId":"C \"1\" \\ µ",)"
              R"("Comments":["one","","ctl\u0001\u001f","tab\there","€ euro"],)"
              R"("MoreComments":"first\r\nsecond"})");
}

TEST(TraceInfoJson, IntervalPrintsInItsShortestForm) {
    TraceData t;
    auto nsPerSample = [&](std::uint16_t lo, std::uint8_t hi) {
        t.header.SampleIntLo = lo;
        t.header.SampleIntHi = hi;
        std::string j = TraceInfoJson("f", LoadOk, &t);
        auto at = j.find("\"NsPerSample\":") + 14;
        return j.substr(at, j.find(',', at) - at);
    };
    EXPECT_EQ(nsPerSample(500, 0), "0.5");
    EXPECT_EQ(nsPerSample(0, 1), "65.535");
    EXPECT_EQ(nsPerSample(1000, 0), "1");
    EXPECT_EQ(nsPerSample(1, 0), "0.001");
    EXPECT_EQ(nsPerSample(100, 0), "0.1");
    EXPECT_EQ(nsPerSample(65534, 255), "16776.959");
}

TEST(TraceInfoJson, FailedLoadsGiveOnlyFileStateAndMessage) {
    TraceData t = HandBuilt(); // whatever a failed read left behind must not show
    EXPECT_EQ(TraceInfoJson("gone.KEL", LoadCannotOpen, nullptr),
              R"({"file":"gone.KEL","state":-1,"message":"Cannot open data file"})");
    EXPECT_EQ(TraceInfoJson("bad.KEL", LoadNotWaveform, &t),
              R"({"file":"bad.KEL","state":2,"message":"File is not a valid waveform file"})");
    EXPECT_EQ(
        TraceInfoJson("old.KEL", LoadWrongVersion, &t),
        R"({"file":"old.KEL","state":3,"message":"File cannot be loaded by this software version"})");
    EXPECT_EQ(TraceInfoJson("cut.KEL", LoadReadError, &t),
              R"({"file":"cut.KEL","state":4,"message":"Error reading file from disk"})");
}

TEST(TraceInfoJson, FileNamesStayUtf8AndOnlyInvalidBytesAreEscapedRecoverably) {
    EXPECT_EQ(TraceInfoJson("caf\xC3\xA9 \"x\".KEL", LoadCannotOpen, nullptr),
              R"({"file":"café \"x\".KEL","state":-1,"message":"Cannot open data file"})");
    // A byte that is no part of valid UTF-8 becomes \udcXX, so a script gets its bytes back
    // (it is not taken for a Windows-1252 letter, which names another file).
    struct Case {
        const char* name;
        const char* json;
    } cases[] = {
        {"5\xB5s.KEL", R"("5\udcb5s.KEL")"},
        {"K\xC4"
         "BEL.KEL",
         R"("K\udcc4BEL.KEL")"},                               // Latin-1 "Ä"
        {"\xC0\xAF", R"("\udcc0\udcaf")"},                     // overlong "/"
        {"\xED\xA0\x80", R"("\udced\udca0\udc80")"},           // a surrogate
        {"\xE2\x82", R"("\udce2\udc82")"},                     // cut short
        {"\xF4\x90\x80\x80", R"("\udcf4\udc90\udc80\udc80")"}, // above U+10FFFF
        {"a\x01\xE2\x82\xAC", "\"a\\u0001\xE2\x82\xAC\""},     // control, then "€"
    };
    for (const Case& c : cases)
        EXPECT_EQ(JsonQuoteFileName(c.name), c.json) << c.json;
    EXPECT_EQ(TraceInfoJson("5\xB5s.KEL", LoadCannotOpen, nullptr).substr(0, 22),
              R"({"file":"5\udcb5s.KEL")");
}

TEST(JsonQuote, EscapesWhatJsonRequiresAndNothingElse) {
    EXPECT_EQ(JsonQuote(""), R"("")");
    EXPECT_EQ(JsonQuote("a\"b\\c/d"), R"("a\"b\\c/d")");
    EXPECT_EQ(JsonQuote("\r\n\t"), R"("\r\n\t")");
    EXPECT_EQ(JsonQuote(std::string("\0\b\f\x1b", 4)), R"("\u0000\u0008\u000c\u001b")");
    EXPECT_EQ(JsonQuote("\x7F \xC2\xB5"), "\"\x7F \xC2\xB5\"");
}

TEST(TraceInfoText, ReadableLinesWithPaddingAndBreaksVisible) {
    TraceData t = HandBuilt();
    std::string text = TraceInfoText("dir/M12.KEL", LoadOk, &t);
    EXPECT_TRUE(text.starts_with("file: \"dir/M12.KEL\"\nstate: 0\nSignature: \"\\u0006KELTDR\"\n"))
        << text;
    for (const char* line :
         {"\nReserved1: 1 2 3\n", "\nModeText: \"  \\\"Fast\\\"\\\\mode   \"\n",
          "\nInstCableId: \"CABLE µ   \"\n", "\nDispGain: -2\n", "\nFilter: 65\n",
          "\nNsPerSample: 65.535\n", "\nComments1: \"one\"\n", "\nComments2: \"\"\n",
          "\nComments5: \"€ euro\"\n", "\nMoreComments: \"first\\r\\nsecond\"\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("message"), std::string::npos);
    EXPECT_EQ(text.back(), '\n');

    EXPECT_EQ(TraceInfoText("bad.KEL", LoadNotWaveform, &t),
              "file: \"bad.KEL\"\nstate: 2\nmessage: \"File is not a valid waveform file\"\n");
}

} // namespace
} // namespace r470
