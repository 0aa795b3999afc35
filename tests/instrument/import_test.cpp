#include "instrument/import.h"

#include "shell/prompts.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/transmission_builder.h"
#include "waveform/comments.h"
#include "waveform/trace_file.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <stdexcept>
#include <utility>

namespace r470 {
namespace {

using test::AskedBox;
using test::ScriptedPrompts;
using test::SentMemory;
using test::TempDir;
using test::Transmission;

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

std::vector<std::string> Texts(const ScriptedPrompts& p) {
    std::vector<std::string> out;
    for (const AskedBox& b : p.boxes)
        out.push_back(b.text);
    return out;
}

MemoryFlags Flags(std::initializer_list<int> numbers) {
    MemoryFlags f{};
    for (int n : numbers)
        f[static_cast<std::size_t>(n)] = true;
    return f;
}

struct Checked {
    int valid;
    MemoryFlags received;
    std::vector<std::string> messages;
    ImportNotes notes;
};

Checked Check(const std::vector<std::uint8_t>& bytes) {
    ScriptedPrompts p;
    p.answers.assign(48, IdOk);
    Checked c{};
    c.valid = CheckTransmission(bytes, c.notes, c.received, p);
    c.messages = Texts(p);
    for (const AskedBox& b : p.boxes)
        EXPECT_EQ(b.caption, "Problem");
    return c;
}

TEST(ImportCheck, ReportsInvalidRecordsAndOffersOnlyValidOnes) {
    SentMemory m3{.no = 3};
    SentMemory m9{.no = 9, .diel = 250};
    Checked c = Check(Transmission({m3, m9}));
    EXPECT_EQ(c.valid, 1);
    EXPECT_EQ(c.messages, std::vector<std::string>{"Memory location 9 contains invalid data"});
    EXPECT_EQ(c.received, Flags({3}));
    EXPECT_EQ(c.notes[3].Date, "010226");
    EXPECT_EQ(c.notes[3].Time, "123456");
    EXPECT_EQ(c.notes[3].CableId, "CABLE 0001");
}

TEST(ImportCheck, ValidityRules) {
    struct Case {
        const char* what;
        SentMemory m;
        bool valid;
    };
    const Case cases[] = {
        {"dielectric 300", {.no = 5, .diel = 300}, true},
        {"dielectric 999", {.no = 5, .diel = 999}, true},
        {"dielectric 299", {.no = 5, .diel = 299}, false},
        {"dielectric 1000", {.no = 5, .diel = 1000}, false},
        {"sample equal to MaxSample", {.no = 5, .maxSample = 40, .samples = {1, 40, 2}}, true},
        {"sample above MaxSample", {.no = 5, .maxSample = 40, .samples = {1, 41, 2}}, false},
        {"wrong marker", {.no = 5, .marker = 'N'}, false},
        {"gain without room for one more", {.no = 5, .gain = 65535}, false},
        {"gain 65534", {.no = 5, .gain = 65534}, true},
        {"cursor without room for one more", {.no = 5, .cursor = 65535}, false},
        {"no samples", {.no = 5, .samples = {}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Checked got = Check(Transmission({c.m}));
        EXPECT_EQ(got.valid, c.valid ? 1 : 0);
        EXPECT_EQ(got.received[5], c.valid);
        EXPECT_EQ(got.messages.size(), c.valid ? 0u : 1u);
    }
}

TEST(ImportCheck, MemoryNumbersOutsideOneTo48PassSilently) {
    SentMemory m0{.no = 0, .diel = 100};
    SentMemory m49{.no = 49};
    SentMemory m48{.no = 48};
    Checked c = Check(Transmission({m0, m49, m48}));
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.valid, 1);
    EXPECT_EQ(c.received, Flags({48}));
}

TEST(ImportCheck, ExtensionsAreFoundRecordByRecord) {
    SentMemory withExt{.no = 1, .ext = std::array<std::uint8_t, 3>{'A', 50, 0}};
    SentMemory plain{.no = 2};
    SentMemory again{.no = 3, .ext = std::array<std::uint8_t, 3>{' ', 75, 0}};
    Checked c = Check(Transmission({withExt, plain, again}));
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.received, Flags({1, 2, 3}));
}

TEST(ImportCheck, AnExtensionWithFilterMIsTakenForTheNextRecord) {
    SentMemory first{.no = 1, .ext = std::array<std::uint8_t, 3>{'M', 0, 0}};
    SentMemory second{.no = 2};
    auto bytes = Transmission({first, second});
    ReceivedRecord rec;
    ASSERT_EQ(ReadMemoryRecord(bytes, kStartBlockSize, std::nullopt, rec), RecordFit::Fits);
    EXPECT_FALSE(rec.hasExtension);
    EXPECT_EQ(rec.header.Filter, 0);
    std::size_t tailEnd = kStartBlockSize + 68 + first.samples.size();
    EXPECT_EQ(rec.next, tailEnd); // three bytes early: the next record starts at that 'M'
    EXPECT_EQ(bytes[rec.next], 'M');
    // Memory 2 is then read from the wrong place: its number from the impedance bytes (0,
    // passed over) and a sample count from its own sample interval, reaching past the end.
    ReceivedRecord next;
    EXPECT_EQ(ReadMemoryRecord(bytes, rec.next, std::nullopt, next), RecordFit::Broken);
    Checked c = Check(bytes);
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.received, Flags({1}));
}

TEST(ImportCheck, RecordsThatCannotBePlacedEndTheWalk) {
    SentMemory good{.no = 2};
    SentMemory tooLong{.no = 7, .claimedCount = 2049};
    SentMemory after{.no = 8};
    Checked c = Check(Transmission({good, tooLong, after}));
    EXPECT_EQ(c.messages, std::vector<std::string>{"Memory location 7 contains invalid data"});
    EXPECT_EQ(c.received, Flags({2}));

    // The count promises more than arrived: the cut record is reported, nothing read past.
    auto bytes = Transmission({good, SentMemory{.no = 4}});
    bytes.resize(bytes.size() - 10);
    c = Check(bytes);
    EXPECT_EQ(c.messages, std::vector<std::string>{"Memory location 4 contains invalid data"});
    EXPECT_EQ(c.received, Flags({2}));

    // Only the start block and a count of 3.
    c = Check(Transmission({}, 3));
    EXPECT_EQ(c.valid, 0);
    EXPECT_TRUE(c.messages.empty());
}

TEST(ImportHeader, CompletesTheReceivedHeader) {
    struct Case {
        int cursor;
        int stored;
    };
    for (Case c :
         {Case{0, 1}, Case{2046, 2047}, Case{2047, 2048}, Case{2048, 1024}, Case{3000, 1024}}) {
        SCOPED_TRACE(c.cursor);
        SentMemory m{.no = 7, .gain = 5, .cursor = c.cursor};
        auto bytes = Transmission({m});
        ReceivedRecord rec;
        ASSERT_EQ(ReadMemoryRecord(bytes, kStartBlockSize, std::nullopt, rec), RecordFit::Fits);
        TraceHeader h = CompleteHeader(rec.header);
        EXPECT_EQ(h.InstCursor, c.stored);
        EXPECT_EQ(h.Cursor, c.stored);
        EXPECT_EQ(h.Gain, 6);
        EXPECT_EQ(h.DispGain, 1);
        EXPECT_EQ(h.Diel, 670);
        EXPECT_EQ(h.Spare, ' ');
        EXPECT_EQ(h.FileVersion, 2);
    }
}

TEST(ImportFileNames, NumberGoesBeforeTheFileNamesOwnExtension) {
    struct Case {
        const char* base;
        int mem;
        const char* name;
    };
    const Case cases[] = {
        {"A.KEL", 1, "A01.KEL"},
        {"A.KEL", 12, "A12.KEL"},
        {"/data/CABLE.KEL", 7, "/data/CABLE07.KEL"},
        {"/data/DATA.KEL.OLD/CABLE.KEL", 7, "/data/DATA.KEL.OLD/CABLE07.KEL"},
        {"/data/DATA.KEL.OLD/CABLE", 48, "/data/DATA.KEL.OLD/CABLE48"},
        {"/data/x.kel.kel", 3, "/data/x.kel03.kel"},
        {"CABLE", 9, "CABLE09"},
        {"./run.2/B.dat", 10, "./run.2/B10.dat"},
        {"C:\\Users\\john.smith\\CAP", 5, "C:\\Users\\john.smith\\CAP05"},
        {"C:\\CAP.KEL", 5, "C:\\CAP05.KEL"},
        {"\\\\srv\\site.2\\CAP", 5, "\\\\srv\\site.2\\CAP05"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImportFileName(c.base, c.mem), c.name) << c.base;
}

// Answers file-name questions from a script and records the names proposed.
struct NameScript {
    std::deque<std::string> answers;
    std::vector<std::string> proposed;
    NameAsker Asker() {
        return [this](const std::string& p) {
            proposed.push_back(p);
            if (answers.empty())
                throw std::logic_error("unexpected file dialog");
            std::string a = answers.front();
            answers.pop_front();
            return a;
        };
    }
};

TEST(ImportSave, WritesEachSelectedMemoryByteForByte) {
    TempDir dir;
    SentMemory m1{.no = 1,
                  .gain = 5,
                  .cursor = 2048,
                  .maxSample = 90,
                  .samples = {1, 2, 90},
                  .ext = std::array<std::uint8_t, 3>{'B', 0x4B, 0x01}};
    SentMemory m12{.no = 12, .gain = 0, .diel = 820, .cursor = 2047};
    SentMemory m5{.no = 5};
    auto bytes = Transmission({m1, m5, m12});
    ImportNotes notes{};
    notes[1].Date = "D1";
    notes[12].CableId = "C12";
    notes[12].Comments[2] = "third";
    ScriptedPrompts p;
    NameScript names;
    SaveOutcome out =
        SaveTransmission(bytes, notes, Flags({1, 12}), dir.Path("A.KEL"), p, names.Asker());
    EXPECT_TRUE(p.boxes.empty());
    EXPECT_EQ(out.files, (std::vector<std::string>{dir.Path("A01.KEL"), dir.Path("A12.KEL")}));
    EXPECT_EQ(out.written, Flags({1, 12}));

    auto f1 = test::ReadBytes(dir.Path("A01.KEL"));
    ASSERT_EQ(f1.size(), 108u + 3 + 11);
    EXPECT_EQ(std::string(f1.begin(), f1.begin() + 7), "\x06KELTDR");
    EXPECT_EQ(f1[10], ' ');
    EXPECT_EQ(f1[13], 'M');
    EXPECT_EQ(f1[87], 'B');
    // Offset and value of each word: FileVersion, MemNo, Gain + 1, SampleCount, InstDiel,
    // InstCursor (2048 + 1 is past the end), MaxSample, DispGain, Diel, Cursor, Impedance.
    const std::pair<std::size_t, int> words[] = {{11, 2},   {14, 1},    {16, 6},     {21, 3},
                                                 {23, 670}, {43, 1024}, {45, 90},    {81, 1},
                                                 {83, 670}, {85, 1024}, {88, 0x014B}};
    for (auto [at, value] : words)
        EXPECT_EQ(U16(f1, at), value) << "at " << at;
    EXPECT_EQ(std::string(f1.begin() + 47, f1.begin() + 57), "CABLE 0001");
    for (std::size_t i : {7u, 8u, 9u})
        EXPECT_EQ(f1[i], 0);
    for (std::size_t i = 90; i < 108; ++i)
        EXPECT_EQ(f1[i], 0);
    EXPECT_EQ(std::vector<std::uint8_t>(f1.begin() + 108, f1.begin() + 111),
              (std::vector<std::uint8_t>{1, 2, 90}));
    EXPECT_EQ(std::string(f1.begin() + 111, f1.end()), std::string("D1\0\0\0\0\0\0\0\0\0", 11));

    TraceData t12;
    ASSERT_EQ(ReadTraceFile(dir.Path("A12.KEL"), t12), LoadOk);
    EXPECT_EQ(t12.header.Gain, 1);
    EXPECT_EQ(t12.header.InstCursor, 2048);
    EXPECT_EQ(t12.header.Cursor, 2048);
    EXPECT_EQ(t12.header.Diel, 820);
    EXPECT_EQ(t12.header.Filter, 0);
    EXPECT_EQ(t12.header.Impedance, 0);
    EXPECT_EQ(t12.notes.CableId, "C12");
    EXPECT_EQ(t12.notes.Comments[2], "third");
    EXPECT_FALSE(CanOpenForReading(dir.Path("A05.KEL")));
}

TEST(ImportSave, TheLastRecordEndingAtTheLengthHasNoExtension) {
    TempDir dir;
    // The walk by the length: garbage after the announced end is never an extension.
    auto bytes = Transmission({SentMemory{.no = 4}});
    bytes.insert(bytes.end(), {'Z', 9, 9});
    ScriptedPrompts p;
    NameScript names;
    SaveTransmission(bytes, {}, Flags({4}), dir.Path("T.KEL"), p, names.Asker());
    TraceData t;
    ASSERT_EQ(ReadTraceFile(dir.Path("T04.KEL"), t), LoadOk);
    EXPECT_EQ(t.header.Filter, 0);
    EXPECT_EQ(t.header.Impedance, 0);
}

TEST(ImportSave, ARefusedRecordIsNotWrittenUnderAValidRecordsNumber) {
    TempDir dir;
    SentMemory good{.no = 6, .samples = {1, 1}};
    SentMemory bad{.no = 6, .diel = 200, .samples = {2, 2, 2}};
    auto bytes = Transmission({good, bad});
    ScriptedPrompts p;
    NameScript names;
    SaveOutcome out = SaveTransmission(bytes, {}, Flags({6}), dir.Path("D.KEL"), p, names.Asker());
    EXPECT_TRUE(p.boxes.empty());
    EXPECT_EQ(out.files.size(), 1u);
    TraceData t;
    ASSERT_EQ(ReadTraceFile(dir.Path("D06.KEL"), t), LoadOk);
    EXPECT_EQ(t.header.SampleCount, 2);
}

TEST(ImportSave, OverwriteQuestion) {
    TempDir dir;
    auto bytes = Transmission({SentMemory{.no = 1}, SentMemory{.no = 2}});
    const std::vector<std::uint8_t> old = {1, 2, 3};
    struct Case {
        const char* what;
        std::vector<int> answers;
        std::vector<std::string> names;
        bool firstReplaced;
        bool renamed;
    };
    const Case cases[] = {
        {"yes writes", {IdYes}, {}, true, false},
        {"cancel skips", {IdCancel}, {}, false, false},
        {"no then a cancelled dialog skips", {IdNo}, {""}, false, false},
        {"no then another name", {IdNo}, {"OTHER.KEL"}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteBytes(dir.Path("B01.KEL"), old);
        std::filesystem::remove(dir.Path("B02.KEL"));
        std::filesystem::remove(dir.Path("OTHER.KEL"));
        ScriptedPrompts p;
        p.answers.assign(c.answers.begin(), c.answers.end());
        NameScript names;
        for (const std::string& n : c.names)
            names.answers.push_back(n.empty() ? "" : dir.Path(n));
        SaveOutcome out =
            SaveTransmission(bytes, {}, Flags({1, 2}), dir.Path("B.KEL"), p, names.Asker());
        ASSERT_EQ(p.boxes.size(), 1u);
        EXPECT_EQ(p.boxes[0].text, "Overwrite existing file ?");
        EXPECT_EQ(p.boxes[0].caption, dir.Path("B01.KEL"));
        EXPECT_EQ(p.boxes[0].flags, unsigned(MbYesNoCancel | MbIconExclamation));
        if (!c.names.empty()) {
            EXPECT_EQ(names.proposed, std::vector<std::string>{dir.Path("B01.KEL")});
        }
        EXPECT_EQ(test::ReadBytes(dir.Path("B01.KEL")) != old, c.firstReplaced);
        EXPECT_EQ(CanOpenForReading(dir.Path("OTHER.KEL")), c.renamed);
        EXPECT_EQ(out.missed[1], !c.firstReplaced && !c.renamed);
        EXPECT_TRUE(CanOpenForReading(dir.Path("B02.KEL"))); // the next memory is still saved
    }
}

TEST(ImportSave, ANameGivenAfterNoIsCheckedAgain) {
    TempDir dir;
    test::WriteBytes(dir.Path("B01.KEL"), {1});
    test::WriteBytes(dir.Path("TAKEN.KEL"), {2});
    auto bytes = Transmission({SentMemory{.no = 1}});
    ScriptedPrompts p;
    p.answers = {IdNo, IdYes};
    NameScript names;
    names.answers = {dir.Path("TAKEN.KEL")};
    SaveTransmission(bytes, {}, Flags({1}), dir.Path("B.KEL"), p, names.Asker());
    ASSERT_EQ(p.boxes.size(), 2u);
    EXPECT_EQ(p.boxes[1].caption, dir.Path("TAKEN.KEL"));
    EXPECT_GT(test::ReadBytes(dir.Path("TAKEN.KEL")).size(), 108u);
    EXPECT_EQ(test::ReadBytes(dir.Path("B01.KEL")).size(), 1u);
}

TEST(ImportSave, AFailedWriteIsReportedAndLeavesTheOldFile) {
    TempDir dir;
    test::WriteBytes(dir.Path("E01.KEL"), {7, 7});
    auto bytes = Transmission({SentMemory{.no = 1}, SentMemory{.no = 2}});
    int calls = 0;
    // The first write fails after some bytes went out; the safe writer is still used.
    FileWriter failing = [&](const std::string& path, const std::function<int(ByteSink&)>& body) {
        if (++calls > 1)
            return WriteFileSafely(path, body);
        return WriteFileSafely(path, [&](ByteSink& sink) {
            body(sink);
            return 101;
        });
    };
    ScriptedPrompts p;
    p.answers = {IdYes, IdOk};
    NameScript names;
    SaveOutcome out =
        SaveTransmission(bytes, {}, Flags({1, 2}), dir.Path("E.KEL"), p, names.Asker(), failing);
    ASSERT_EQ(p.boxes.size(), 2u);
    EXPECT_EQ(p.boxes[1].text, "Error saving " + dir.Path("E01.KEL"));
    EXPECT_EQ(p.boxes[1].caption, "Problem");
    EXPECT_EQ(test::ReadBytes(dir.Path("E01.KEL")), (std::vector<std::uint8_t>{7, 7}));
    EXPECT_TRUE(out.missed[1]);
    EXPECT_TRUE(out.written[2]);

    // A folder that does not exist.
    ScriptedPrompts q;
    q.answers = {IdOk};
    SaveTransmission(bytes, {}, Flags({2}), dir.Path("none/E.KEL"), q, names.Asker());
    EXPECT_EQ(Texts(q), std::vector<std::string>{"Error saving " + dir.Path("none/E02.KEL")});
}

TEST(MemorySelectionToggle, UnselectAllRestoresTheStatesBeforeSelectAll) {
    MemorySelection s;
    s.Reset(Flags({2, 5, 9}));
    EXPECT_EQ(s.SelAllCaption(), "Select all");
    EXPECT_FALSE(s.Visible(1));
    EXPECT_TRUE(s.Visible(5));
    s.SetChecked(5, true);
    s.SelAllClick();
    EXPECT_EQ(s.SelAllCaption(), "Un-select all");
    EXPECT_EQ(s.Selected(), Flags({2, 5, 9}));
    EXPECT_FALSE(s.Checked(1)); // hidden boxes are left alone
    s.SetChecked(9, false);
    s.SelAllClick();
    EXPECT_EQ(s.SelAllCaption(), "Select all");
    EXPECT_EQ(s.Selected(), Flags({5}));
    s.SelAllClick();
    EXPECT_EQ(s.Selected(), Flags({2, 5, 9}));

    s.Reset(Flags({3}));
    EXPECT_EQ(s.Selected(), Flags({}));
    EXPECT_EQ(s.SelAllCaption(), "Select all");
    EXPECT_EQ(MemBoxCaption(3), "Mem 03");
    EXPECT_EQ(MemBoxCaption(48), "Mem 48");
}

// Comment dialogs that record what they were opened on and answer from a script.
class ScriptedComments : public CommentDialogs {
  public:
    CommentOption option = CommentOption::None;
    // Each showing: the fields to type (nullopt: cancel) and how the dialog closes.
    std::deque<std::function<CommentsResult(CommentSession&)>> users;
    std::vector<CommentFields> shown;

    CommentsResult EditComments(CommentSession& s) override {
        shown.push_back(s.Initial());
        if (users.empty())
            throw std::logic_error("unexpected comments dialog");
        auto u = users.front();
        users.pop_front();
        return u(s);
    }
    bool AdditionalComments(const std::string&, std::string&) override { return false; }
    int ChooseWaveform(const std::vector<std::string>&, int) override { return -1; }
    CommentOption CommentOptions() override { return option; }
};

std::function<CommentsResult(CommentSession&)> Type(std::string date, std::string memo) {
    return [=](CommentSession& s) {
        CommentFields f = s.Initial();
        f.Date = date;
        f.CableId = "TYPED";
        f.Memo = memo;
        s.Ok(f);
        return CommentsResult::Ok;
    };
}

TEST(ImportComments, CommonCommentsKeepEachMemorysOwnCableId) {
    ImportNotes notes{};
    for (int n : {1, 5})
        notes[static_cast<std::size_t>(n)].CableId = "OWN" + std::to_string(n);
    ScriptedPrompts p;
    ScriptedComments d;
    d.option = CommentOption::Common;
    d.users.push_back(Type("EDITED", "line 1\nline 2"));
    ASSERT_TRUE(EditImportComments(notes, Flags({1, 5}), p, d));
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_EQ(d.shown[0].Name, "All selected memories");
    EXPECT_FALSE(d.shown[0].ShowNoMore);
    EXPECT_EQ(notes[5].Date, "EDITED");
    EXPECT_EQ(notes[5].Comments[1], "line 2");
    EXPECT_EQ(notes[5].CableId, "OWN5");
    EXPECT_EQ(notes[1].CableId, "TYPED");
    EXPECT_EQ(notes[30].Date, "EDITED");
}

TEST(ImportComments, CommonRecordStartsFromTheFirstSelectedMemory) {
    ImportNotes notes{};
    notes[4].Date = "040404";
    notes[4].CableId = "FOUR";
    notes[7].CableId = "SEVEN";
    ScriptedPrompts p;
    ScriptedComments d;
    d.option = CommentOption::Common;
    d.users.push_back([](CommentSession&) { return CommentsResult::Ok; });
    ASSERT_TRUE(EditImportComments(notes, Flags({4, 7}), p, d));
    EXPECT_EQ(d.shown[0].Date, "040404");
    EXPECT_EQ(notes[7].Date, "040404");
    EXPECT_EQ(notes[7].CableId, "SEVEN");
}

TEST(ImportComments, IndividualCommentsStopAtNoFurtherComments) {
    ImportNotes notes{};
    ScriptedPrompts p;
    ScriptedComments d;
    d.option = CommentOption::Individual;
    d.users.push_back(Type("A", ""));
    d.users.push_back([](CommentSession&) { return CommentsResult::NoMore; });
    ASSERT_TRUE(EditImportComments(notes, Flags({2, 9, 30}), p, d));
    ASSERT_EQ(d.shown.size(), 2u);
    EXPECT_EQ(d.shown[0].Name, "Memory 2");
    EXPECT_EQ(d.shown[1].Name, "Memory 9");
    EXPECT_TRUE(d.shown[0].ShowNoMore);
    EXPECT_EQ(notes[2].Date, "A");
    EXPECT_EQ(notes[9].Date, "");

    d.option = CommentOption::Cancel;
    EXPECT_FALSE(EditImportComments(notes, Flags({2}), p, d));
}

class ScriptedChooser : public MemoryChooser {
  public:
    std::optional<MemoryFlags> answer;
    std::vector<MemoryFlags> offered;
    ImportTarget answerTarget = ImportTarget::Files;
    std::vector<ImportTarget> shownTargets; // when the destination was offered
    std::optional<MemoryFlags> ChooseMem(const MemoryFlags& received) override {
        offered.push_back(received);
        return answer;
    }
    std::optional<MemoryFlags> ChooseMemTo(const MemoryFlags& received,
                                           ImportTarget& target) override {
        shownTargets.push_back(std::exchange(target, answer ? answerTarget : target));
        return ChooseMem(received);
    }
};

TEST(ImportWhole, FromChecksToFiles) {
    TempDir dir;
    auto bytes =
        Transmission({SentMemory{.no = 3}, SentMemory{.no = 9, .diel = 250}, SentMemory{.no = 11}});
    ImportState state;
    ScriptedPrompts p;
    p.answers = {IdOk, IdNo};
    ScriptedChooser chooser;
    chooser.answer = Flags({11});
    ScriptedComments d;
    NameScript names;
    names.answers = {"", dir.Path("W.KEL")};
    ImportTransmission(bytes, state, p, chooser, d, names.Asker());
    EXPECT_EQ(Texts(p), (std::vector<std::string>{"Memory location 9 contains invalid data",
                                                  "Abandon data transfer"}));
    EXPECT_EQ(p.boxes[1].caption, "Confirm");
    EXPECT_EQ(p.boxes[1].flags, unsigned(MbYesNo | MbIconQuestion));
    EXPECT_EQ(chooser.offered, std::vector<MemoryFlags>{Flags({3, 11})});
    EXPECT_EQ(state.MemSelected, Flags({11}));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"W11.KEL"});
}

TEST(ImportWhole, StopsWithoutSavingWhenTheUserStops) {
    TempDir dir;
    auto bytes = Transmission({SentMemory{.no = 3}});
    struct Case {
        const char* what;
        std::optional<MemoryFlags> chosen;
        CommentOption option;
        std::vector<int> answers;
        std::deque<std::string> names;
    };
    const Case cases[] = {
        {"selection cancelled", std::nullopt, CommentOption::None, {}, {}},
        {"nothing selected", Flags({}), CommentOption::None, {}, {}},
        {"comments cancelled", Flags({3}), CommentOption::Cancel, {}, {}},
        {"transfer abandoned", Flags({3}), CommentOption::None, {IdYes}, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImportState state;
        ScriptedPrompts p;
        p.answers.assign(c.answers.begin(), c.answers.end());
        ScriptedChooser chooser;
        chooser.answer = c.chosen;
        ScriptedComments d;
        d.option = c.option;
        NameScript names;
        names.answers = c.names;
        ImportTransmission(bytes, state, p, chooser, d, names.Asker());
        EXPECT_TRUE(dir.Names().empty());
        EXPECT_TRUE(p.answers.empty());
        EXPECT_TRUE(names.answers.empty());
    }

    ImportState state;
    ScriptedPrompts p;
    p.answers = {IdOk, IdOk};
    ScriptedChooser chooser;
    ScriptedComments d;
    NameScript names;
    ImportTransmission(Transmission({SentMemory{.no = 3, .diel = 1}}), state, p, chooser, d,
                       names.Asker());
    EXPECT_EQ(Texts(p).back(), "No valid memory locations received");
    EXPECT_TRUE(chooser.offered.empty());
}

struct RecordingFiler : ImportFiler {
    Outcome outcome = Done;
    std::vector<std::vector<ImportedWaveform>> batches;
    Outcome File(const std::vector<ImportedWaveform>& waveforms) override {
        batches.push_back(waveforms);
        return outcome;
    }
};

TEST(ImportWhole, TheDestinationIsOfferedAsLastChosenAndFilesRemainTheWayOut) {
    const auto Files = ImportTarget::Files, Archive = ImportTarget::Archive;
    struct Case {
        bool withFiler;
        ImportTarget before, chosen;
        ImportFiler::Outcome outcome;
        std::size_t filed; // batches handed to the filer
        bool filesWritten;
    } const cases[] = {
        {true, Archive, Files, ImportFiler::Done, 0, true},
        {true, Files, Archive, ImportFiler::Done, 1, false},
        {true, Archive, Archive, ImportFiler::WriteFiles, 1, true}, // failed: files asked for
        {false, Archive, Archive, ImportFiler::Done, 0, true},      // no archive to offer
    };
    for (const Case& c : cases) {
        TempDir dir;
        ImportState state{.target = c.before};
        ScriptedPrompts p;
        ScriptedChooser chooser;
        chooser.answer = Flags({3});
        chooser.answerTarget = c.chosen;
        ScriptedComments d;
        NameScript names;
        if (c.filesWritten)
            names.answers = {dir.Path("W.KEL")};
        RecordingFiler filer;
        filer.outcome = c.outcome;
        ImportTransmission(Transmission({SentMemory{.no = 3}}), state, p, chooser, d, names.Asker(),
                           WriteFileSafely, c.withFiler ? &filer : nullptr);
        EXPECT_EQ(chooser.shownTargets, std::vector<ImportTarget>(c.withFiler ? 1 : 0, c.before));
        EXPECT_EQ(state.target, c.withFiler ? c.chosen : c.before);
        EXPECT_EQ(filer.batches.size(), c.filed);
        EXPECT_EQ(dir.Names().size(), c.filesWritten ? 1u : 0u);
        if (c.filed && c.filesWritten) { // the archive gets the very bytes of the file
            EXPECT_EQ(filer.batches[0].at(0).bytes, test::ReadBytes(dir.Path("W03.KEL")));
            EXPECT_EQ(filer.batches[0][0].fileName, "MEM03.KEL");
        }
    }
}

} // namespace
} // namespace r470
