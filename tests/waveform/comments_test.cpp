#include "shell/prompts.h"
#include "support/scripted_prompts.h"
#include "waveform/comments.h"
#include "waveform/waveform_set.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>

namespace r470 {
namespace {

using test::ScriptedPrompts;

// Comment dialogs driven by a script: each showing of the comments dialog runs the next
// scripted user, who sees the session and presses buttons on it.
class ScriptedDialogs : public CommentDialogs {
  public:
    using User = std::function<CommentsResult(CommentSession&)>;
    std::deque<User> users;
    // Answers of the additional-comments dialog: a text accepted, or nullopt for Cancel.
    std::deque<std::optional<std::string>> additional;
    std::deque<int> chooserAnswers;

    std::vector<CommentFields> shown;
    std::vector<std::string> additionalNames;
    std::vector<std::string> additionalShown;
    std::vector<std::vector<std::string>> chooserNames;
    std::vector<int> chooserSelected;

    CommentsResult EditComments(CommentSession& session) override {
        shown.push_back(session.Initial());
        if (users.empty())
            throw std::logic_error("unexpected comments dialog");
        User user = users.front();
        users.pop_front();
        return user(session);
    }
    bool AdditionalComments(const std::string& name, std::string& memo) override {
        additionalNames.push_back(name);
        additionalShown.push_back(memo);
        if (additional.empty())
            throw std::logic_error("unexpected additional-comments dialog");
        auto answer = additional.front();
        additional.pop_front();
        if (!answer)
            return false;
        memo = *answer;
        return true;
    }
    int ChooseWaveform(const std::vector<std::string>& names, int selected) override {
        chooserNames.push_back(names);
        chooserSelected.push_back(selected);
        if (chooserAnswers.empty())
            throw std::logic_error("unexpected chooser");
        int a = chooserAnswers.front();
        chooserAnswers.pop_front();
        return a;
    }
    CommentOption CommentOptions() override { throw std::logic_error("unexpected options"); }
};

// A user who types `memo` (and keeps the other fields) and presses "&Ok" once.
ScriptedDialogs::User TypesAndAccepts(std::string memo) {
    return [memo](CommentSession& s) {
        CommentFields f = s.Initial();
        f.Memo = memo;
        return s.Ok(f) ? CommentsResult::Ok : CommentsResult::Cancel;
    };
}

ScriptedDialogs::User AcceptsAsShown() {
    return [](CommentSession& s) {
        return s.Ok(s.Initial()) ? CommentsResult::Ok : CommentsResult::Cancel;
    };
}

ScriptedDialogs::User Cancels() {
    return [](CommentSession&) { return CommentsResult::Cancel; };
}

TraceNotes SampleNotes() {
    TraceNotes n;
    n.Date = "12/03/17";
    n.Time = "10:42";
    n.CableId = "FEEDER 7";
    n.Comments = {"joint at pole 12", "", "water ingress", "", ""};
    n.MoreComments = "first line\r\nsecond line";
    return n;
}

// A set with files in `slots`, all shown, the first one selected.
WaveformSet SetWith(std::initializer_list<int> slots) {
    WaveformSet set;
    for (int n : slots) {
        TraceSlot& s = set.Slot(n);
        s.Loaded = true;
        s.Shown = true;
        s.FileName = "/DATA/CABLE0" + std::to_string(n) + ".KEL";
        s.data.notes = SampleNotes();
        ++set.TraceCount;
    }
    set.CurTrace = *slots.begin();
    return set;
}

TEST(CommentsDialogOpening, ShowsLinesUpToTheLastWithTextAndTheOtherFields) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    dialogs.users.push_back(Cancels());
    TraceNotes notes = SampleNotes();
    EditNotes(notes, "/DATA/CABLE01.KEL", false, prompts, dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const CommentFields& f = dialogs.shown[0];
    EXPECT_EQ(f.Memo, "joint at pole 12\n\nwater ingress");
    EXPECT_EQ(MemoLines(f.Memo),
              (std::vector<std::string>{"joint at pole 12", "", "water ingress"}));
    EXPECT_EQ(f.Name, "/DATA/CABLE01.KEL");
    EXPECT_EQ(f.CableLabel, "Cable ID");
    EXPECT_EQ(f.Date, "12/03/17");
    EXPECT_EQ(f.Time, "10:42");
    EXPECT_EQ(f.CableId, "FEEDER 7");
    EXPECT_FALSE(f.ShowNoMore);

    // No text at all shows an empty memo; text only on line 5 keeps four empty lines above it.
    notes.Comments = {"", "", "", "", ""};
    dialogs.users.push_back(Cancels());
    EditNotes(notes, "", true, prompts, dialogs);
    EXPECT_EQ(dialogs.shown[1].Memo, "");
    EXPECT_TRUE(dialogs.shown[1].ShowNoMore);
    notes.Comments[4] = "end";
    dialogs.users.push_back(Cancels());
    EditNotes(notes, "", false, prompts, dialogs);
    EXPECT_EQ(MemoLines(dialogs.shown[2].Memo), (std::vector<std::string>{"", "", "", "", "end"}));

    // A line break inside a stored line would shift the lines below it.
    notes.Comments = {"a\r\nb", "c", "", "", ""};
    dialogs.users.push_back(AcceptsAsShown());
    EditNotes(notes, "", false, prompts, dialogs);
    EXPECT_EQ(MemoLines(dialogs.shown[3].Memo), (std::vector<std::string>{"a  b", "c"}));
    EXPECT_EQ(notes.Comments[1], "c");
}

TEST(CommentsDialogOk, StoresTheMemoLinesAndEmptiesTheRest) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    TraceNotes notes = SampleNotes();
    notes.Comments = {"1", "2", "3", "4", "5"};
    dialogs.users.push_back(TypesAndAccepts("north end\nsplice"));
    EXPECT_EQ(EditNotes(notes, "X", false, prompts, dialogs), CommentsResult::Ok);
    EXPECT_EQ(notes.Comments, (std::array<std::string, 5>{"north end", "splice", "", "", ""}));
    EXPECT_EQ(notes.Date, "12/03/17");
    EXPECT_EQ(notes.MoreComments, "first line\r\nsecond line");
    EXPECT_TRUE(prompts.boxes.empty());

    // The shown memo accepted as it is gives the same five lines back.
    TraceNotes again = SampleNotes();
    dialogs.users.push_back(AcceptsAsShown());
    EditNotes(again, "X", false, prompts, dialogs);
    EXPECT_EQ(again, SampleNotes());
}

TEST(CommentsDialogOk, RefusesSixLinesWithTheMessageAndStaysOpen) {
    ScriptedPrompts prompts;
    prompts.answers = {IdOk, IdOk};
    ScriptedDialogs dialogs;
    TraceNotes notes = SampleNotes();
    std::vector<bool> answers;
    dialogs.users.push_back([&](CommentSession& s) {
        CommentFields f = s.Initial();
        f.Date = "01/01/18";
        f.Memo = "1\n2\n3\n4\n5\n6";
        answers.push_back(s.Ok(f));
        f.Memo = "1\n2\n3\n4\n5\n"; // an empty sixth line counts too
        answers.push_back(s.Ok(f));
        f.Memo = "1\n2\n3\n4\n5";
        answers.push_back(s.Ok(f));
        return CommentsResult::Ok;
    });
    EditNotes(notes, "X", false, prompts, dialogs);
    EXPECT_EQ(answers, (std::vector<bool>{false, false, true}));
    ASSERT_EQ(prompts.boxes.size(), 2u);
    EXPECT_EQ(prompts.boxes[0].text, "Too many comment lines. Max: 5");
    EXPECT_EQ(prompts.boxes[0].caption, "Problem");
    EXPECT_EQ(prompts.boxes[0].flags, unsigned(MbOk));
    EXPECT_EQ(notes.Date, "01/01/18");
    EXPECT_EQ(notes.Comments[4], "5");

    // Refused and then cancelled: nothing was stored.
    TraceNotes untouched = SampleNotes();
    prompts.answers = {IdOk};
    dialogs.users.push_back([](CommentSession& s) {
        CommentFields f = s.Initial();
        f.Date = "changed";
        f.Memo = "a\nb\nc\nd\ne\nf\ng";
        s.Ok(f);
        return CommentsResult::Cancel;
    });
    EditNotes(untouched, "X", false, prompts, dialogs);
    EXPECT_EQ(untouched, SampleNotes());
}

TEST(CommentsDialogOk, CutsEachTextToItsField) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    TraceNotes notes;
    const std::string line60(60, 'c');
    dialogs.users.push_back([&](CommentSession& s) {
        CommentFields f = s.Initial();
        f.Date = "2017-03-12X";
        f.Time = "10:42:07.55";
        f.CableId = std::string(29, 'i') + "JKLM";
        f.Memo = line60 + "\r\n" + std::string(50, 'd');
        return s.Ok(f) ? CommentsResult::Ok : CommentsResult::Cancel;
    });
    EditNotes(notes, "X", false, prompts, dialogs);
    EXPECT_EQ(notes.Date, "2017-03-12");
    EXPECT_EQ(notes.Time, "10:42:07.5");
    EXPECT_EQ(notes.CableId, std::string(29, 'i') + "J");
    EXPECT_EQ(notes.Comments[0], std::string(50, 'c'));
    EXPECT_EQ(notes.Comments[1], std::string(50, 'd'));

    // Additional comments keep 1023 characters.
    dialogs.users.push_back([](CommentSession& s) {
        s.More();
        return CommentsResult::Cancel;
    });
    dialogs.additional.push_back(std::string(1024, 'm'));
    EditNotes(notes, "X", false, prompts, dialogs);
    EXPECT_EQ(notes.MoreComments, std::string(1023, 'm'));
    EXPECT_EQ(EncodeNotesBlock(notes)[308 + 1023], 0);
}

// "Ω" and "☺" have no Windows-1252 form; "ü", "–" and "µ" have.
const std::string kOmega = "\xCE\xA9", kSmile = "\xE2\x98\xBA";

TEST(CommentsDialogOk, NamesWhatAWaveformFileCannotHoldAndStoresNothing) {
    struct Row {
        std::string CommentFields::*field;
        std::string typed;
        std::string named; // only these: "ü" and "–" are letters of the code page
    };
    for (const Row& r : {Row{&CommentFields::CableId, "Kabel gr\xC3\xBCn 2 \xE2\x80\x93 " + kOmega,
                             "Cable ID: " + kOmega},
                         Row{&CommentFields::Memo, kSmile + " a\n" + kSmile + " " + kOmega,
                             "Comments: " + kSmile + " " + kOmega},
                         Row{&CommentFields::Date, kOmega, "Date: " + kOmega}}) {
        ScriptedPrompts prompts;
        prompts.answers = {IdOk};
        ScriptedDialogs dialogs;
        TraceNotes notes = SampleNotes();
        dialogs.users.push_back([&](CommentSession& s) {
            CommentFields f = s.Initial();
            f.*r.field = r.typed;
            EXPECT_FALSE(s.Ok(f)) << "the dialog stays open";
            return CommentsResult::Cancel;
        });
        EditNotes(notes, "X", false, prompts, dialogs);
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_EQ(prompts.boxes[0].text,
                  "A waveform file cannot hold these characters; change or remove them:\r\n" +
                      r.named);
        EXPECT_EQ(notes, SampleNotes()) << "nothing stored, nothing turned into \"?\"";
    }
}

TEST(AdditionalComments, ARefusedTextIsNamedAndShownAgainAsTyped) {
    ScriptedPrompts prompts;
    prompts.answers = {IdOk};
    ScriptedDialogs dialogs;
    TraceNotes notes = SampleNotes();
    dialogs.users.push_back([](CommentSession& s) {
        s.More();
        return CommentsResult::Cancel;
    });
    dialogs.additional = {"75 " + kOmega, "75 ohm, 5 \xC2\xB5s"};
    EditNotes(notes, "X", false, prompts, dialogs);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_NE(prompts.boxes[0].text.find("Additional comments: " + kOmega), std::string::npos);
    ASSERT_EQ(dialogs.additionalShown.size(), 2u);
    EXPECT_EQ(dialogs.additionalShown[1], "75 " + kOmega) << "what was typed, to mend";
    EXPECT_EQ(notes.MoreComments, "75 ohm, 5 \xB5s");
}

TEST(AdditionalComments, AreStoredWithWindowsLineBreaksAndCutBeforeAHalfBreak) {
    EXPECT_EQ(MemoToStored("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(StoredToMemo("a\r\nb\nc\rd"), "a\nb\nc\nd");
    EXPECT_EQ(StoredLength("ab\ncd\n"), 8u);
    // A cut that would leave the "\r" of a line break drops the whole break.
    std::string memo = std::string(1022, 'x') + "\nrest";
    EXPECT_EQ(StoreMoreComments(memo), std::string(1022, 'x'));
    EXPECT_EQ(StoreMoreComments(std::string(1021, 'x') + "\nrest"),
              std::string(1021, 'x') + "\r\n");
    EXPECT_EQ(StoreMoreComments(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(StoreMoreComments("short"), "short");
}

TEST(AdditionalComments, EditedFromMoreAndKeptWhenTheCommentsAreCancelled) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    WaveformSet set = SetWith({2});
    dialogs.users.push_back([](CommentSession& s) {
        CommentFields f = s.Initial();
        f.Date = "typed"; // discarded with the cancel
        s.More();
        return CommentsResult::Cancel;
    });
    dialogs.additional.push_back("new words\nline two");
    EXPECT_FALSE(EditText(set, 2, prompts, dialogs));
    ASSERT_EQ(dialogs.additionalNames.size(), 1u);
    EXPECT_EQ(dialogs.additionalNames[0], "/DATA/CABLE02.KEL");
    EXPECT_EQ(dialogs.additionalShown[0], "first line\nsecond line");
    const TraceNotes& n = set.Slot(2).data.notes;
    EXPECT_EQ(n.MoreComments, "new words\r\nline two");
    EXPECT_EQ(n.Date, "12/03/17");
    EXPECT_EQ(n.Comments, SampleNotes().Comments);
    // The new additional comments are only in memory: closing must offer to save them.
    EXPECT_TRUE(set.Slot(2).Changed);
}

TEST(AdditionalComments, CancelledOrUnchangedLeaveTheSlotUnchanged) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    WaveformSet set = SetWith({1});
    auto moreThenCancel = [](CommentSession& s) {
        s.More();
        return CommentsResult::Cancel;
    };
    dialogs.users = {moreThenCancel, moreThenCancel};
    dialogs.additional = {std::nullopt, std::string("first line\nsecond line")};
    EditText(set, 1, prompts, dialogs);
    EXPECT_EQ(set.Slot(1).data.notes, SampleNotes());
    EXPECT_FALSE(set.Slot(1).Changed);
    EditText(set, 1, prompts, dialogs);
    EXPECT_EQ(set.Slot(1).data.notes, SampleNotes());
    EXPECT_FALSE(set.Slot(1).Changed);
}

TEST(EditText, MarksTheSlotChangedOnlyWhenAccepted) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    WaveformSet set = SetWith({1, 3});
    dialogs.users.push_back([](CommentSession& s) {
        CommentFields f = s.Initial();
        f.CableId = "other";
        return CommentsResult::Cancel; // typed, then cancelled
    });
    EXPECT_FALSE(EditText(set, 3, prompts, dialogs));
    EXPECT_FALSE(set.Slot(3).Changed);
    EXPECT_EQ(set.Slot(3).data.notes, SampleNotes());

    dialogs.users.push_back(TypesAndAccepts("only line"));
    EXPECT_TRUE(EditText(set, 3, prompts, dialogs));
    EXPECT_TRUE(set.Slot(3).Changed);
    EXPECT_FALSE(set.Slot(1).Changed);
    EXPECT_EQ(set.Slot(3).data.notes.Comments[0], "only line");
    EXPECT_EQ(dialogs.shown.back().Name, "/DATA/CABLE03.KEL");
    EXPECT_FALSE(dialogs.shown.back().ShowNoMore);

    // The difference slot, slot 0 and a free slot open nothing.
    set.Slot(5).Loaded = true;
    for (int slot : {0, 2, 5, 6})
        EXPECT_FALSE(EditText(set, slot, prompts, dialogs));
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_FALSE(set.Slot(5).Changed);
}

TEST(EditNotes, ReportsNoFurtherCommentsForTheImport) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    TraceNotes notes;
    ClearText(notes);
    dialogs.users.push_back([](CommentSession&) { return CommentsResult::NoMore; });
    EXPECT_EQ(EditNotes(notes, "Memory 7", true, prompts, dialogs), CommentsResult::NoMore);
    EXPECT_EQ(dialogs.shown[0].Name, "Memory 7");
    EXPECT_TRUE(dialogs.shown[0].ShowNoMore);
    EXPECT_EQ(notes, TraceNotes{});
}

TEST(ClearText, EmptiesEveryTextSoTheBlockIsAllZeros) {
    TraceNotes n = SampleNotes();
    ClearText(n);
    EXPECT_EQ(n, TraceNotes{});
    auto block = EncodeNotesBlock(n);
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(EditCurTrace, GuardsThenEditsTheSelectedWaveform) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;

    WaveformSet empty;
    prompts.answers = {IdOk};
    EXPECT_EQ(EditCurTrace(empty, prompts, dialogs), 0);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No traces loaded");
    EXPECT_EQ(prompts.boxes[0].caption, "Problem");
    EXPECT_EQ(prompts.boxes[0].flags, unsigned(MbOk));

    WaveformSet set = SetWith({1, 2});
    set.Slot(5).Loaded = set.Slot(5).Shown = true;
    set.CurTrace = 5;
    EXPECT_EQ(EditCurTrace(set, prompts, dialogs), 0);
    EXPECT_EQ(prompts.msgWindows,
              (std::vector<std::string>{"Invalid operation for difference waveform"}));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(set.Slot(5).Changed);

    set.CurTrace = 2;
    dialogs.users.push_back(TypesAndAccepts("x"));
    EXPECT_EQ(EditCurTrace(set, prompts, dialogs), 2);
    EXPECT_EQ(dialogs.shown.back().Name, "/DATA/CABLE02.KEL");
    EXPECT_TRUE(set.Slot(2).Changed);

    // A hidden waveform is edited but not selected again; a cancelled edit is reselected too.
    set.Slot(2).Shown = false;
    dialogs.users.push_back(Cancels());
    EXPECT_EQ(EditCurTrace(set, prompts, dialogs), 0);
    set.CurTrace = 1;
    dialogs.users.push_back(Cancels());
    EXPECT_EQ(EditCurTrace(set, prompts, dialogs), 1);
    EXPECT_EQ(prompts.boxes.size(), 1u);
}

TEST(EditFromFilesPanel, AlwaysSelectsTheCurrentWaveformAgainAfterEditing) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    WaveformSet set = SetWith({1, 3});
    set.CurTrace = 3;
    set.Slot(3).Shown = false;
    dialogs.users.push_back(Cancels());
    EXPECT_EQ(EditFromFilesPanel(set, prompts, dialogs), 3);
    EXPECT_EQ(dialogs.shown.size(), 1u);

    set.Slot(5).Loaded = true;
    set.CurTrace = 5;
    EXPECT_EQ(EditFromFilesPanel(set, prompts, dialogs), 0);
    EXPECT_EQ(prompts.msgWindows.size(), 1u);

    WaveformSet empty;
    prompts.answers = {IdOk};
    EXPECT_EQ(EditFromFilesPanel(empty, prompts, dialogs), 0);
    EXPECT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST(ChooseTrace, YieldsTheSlotOfTheChosenEntry) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;

    WaveformSet oneThree = SetWith({1, 3});
    oneThree.CurTrace = 3;
    dialogs.chooserAnswers = {1};
    EXPECT_EQ(ChooseTrace(oneThree, prompts, dialogs), 3);
    EXPECT_EQ(dialogs.chooserNames[0],
              (std::vector<std::string>{"/DATA/CABLE01.KEL", "/DATA/CABLE03.KEL"}));
    EXPECT_EQ(dialogs.chooserSelected[0], 1);

    WaveformSet twoThree = SetWith({2, 3});
    dialogs.chooserAnswers = {0};
    EXPECT_EQ(ChooseTrace(twoThree, prompts, dialogs), 2);
    EXPECT_EQ(dialogs.chooserSelected[1], 0);

    // Cancel, no entry selected, and a selected difference waveform that has no entry.
    dialogs.chooserAnswers = {-1, 2, 0};
    EXPECT_EQ(ChooseTrace(twoThree, prompts, dialogs), 0);
    EXPECT_EQ(ChooseTrace(twoThree, prompts, dialogs), 0);
    twoThree.Slot(5).Loaded = true;
    twoThree.CurTrace = 5;
    EXPECT_EQ(ChooseTrace(twoThree, prompts, dialogs), 2);
    EXPECT_EQ(dialogs.chooserNames.back().size(), 2u);
    EXPECT_EQ(dialogs.chooserSelected.back(), -1);
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST(ChooseTrace, AsksOnlyWhenThereIsAChoice) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    WaveformSet one = SetWith({4});
    EXPECT_EQ(ChooseTrace(one, prompts, dialogs), 4);
    EXPECT_TRUE(dialogs.chooserNames.empty());

    WaveformSet none;
    prompts.answers = {IdOk};
    EXPECT_EQ(ChooseTrace(none, prompts, dialogs), 0);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No traces loaded");
    EXPECT_TRUE(dialogs.chooserNames.empty());
}

TEST(MenuEdit, ChoosesThenEditsAndSelectsAShownWaveformAgain) {
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;

    // With one waveform the comments dialog opens at once.
    WaveformSet one = SetWith({2});
    dialogs.users.push_back(TypesAndAccepts("one"));
    EXPECT_EQ(MenuEdit(one, prompts, dialogs), 2);
    EXPECT_TRUE(dialogs.chooserNames.empty());
    EXPECT_EQ(one.Slot(2).data.notes.Comments[0], "one");

    WaveformSet set = SetWith({1, 3});
    set.Slot(3).Shown = false;
    dialogs.chooserAnswers = {1, -1};
    dialogs.users.push_back(TypesAndAccepts("three"));
    EXPECT_EQ(MenuEdit(set, prompts, dialogs), 0);
    EXPECT_EQ(set.Slot(3).data.notes.Comments[0], "three");
    EXPECT_TRUE(set.Slot(3).Changed);
    EXPECT_FALSE(set.Slot(1).Changed);

    EXPECT_EQ(MenuEdit(set, prompts, dialogs), 0);
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST(CommentMemo, KeepsFiveLinesAfterEachKey) {
    const std::string five = "one\ntwo\nthree\nfour\nfive";

    // Ctrl+Enter at the end of line 5: the new empty line goes, the caret stays at the end.
    MemoText before{five, five.size()};
    MemoText fitted = FitCommentMemo(before, {five + "\n", five.size() + 1});
    EXPECT_EQ(fitted, (MemoText{five, five.size()}));

    // Splitting line 2 would push "five" out: the key is undone instead.
    MemoText split{"one\ntw\no\nthree\nfour\nfive", 7};
    EXPECT_EQ(FitCommentMemo({five, 6}, split), (MemoText{five, 6}));

    // With an empty last line there is room: the split stands and the empty line goes.
    const std::string roomy = "one\ntwo\nthree\nfour\n";
    EXPECT_EQ(FitCommentMemo({roomy, 6}, {"one\ntw\no\nthree\nfour\n", 7}),
              (MemoText{"one\ntw\no\nthree\nfour", 7}));

    // Already too long before the key (a paste with the mouse): the last lines go.
    const std::string seven = five + "\nsix\nseven";
    EXPECT_EQ(FitCommentMemo({seven, 2}, {"X" + seven, 3}), (MemoText{"X" + five, 3}));
    EXPECT_EQ(FitCommentMemo({seven, 0}, {seven, seven.size()}), (MemoText{five, five.size()}));

    // Five lines or fewer are left as they are.
    EXPECT_EQ(FitCommentMemo({"", 0}, {five, 4}), (MemoText{five, 4}));
    EXPECT_EQ(FitCommentMemo({"", 0}, {"a\n\n", 2}), (MemoText{"a\n\n", 2}));
}

TEST(CommentMemo, LinesAreCountedAsTheMemoShowsThem) {
    EXPECT_TRUE(MemoLines("").empty());
    EXPECT_EQ(MemoLines("a"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(MemoLines("a\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(MemoLines("a\r\n\nb"), (std::vector<std::string>{"a", "", "b"}));
}

} // namespace
} // namespace r470
