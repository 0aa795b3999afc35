#include "waveform/comments.h"

#include "common/cp1252.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/waveform_set.h"

#include <algorithm>

namespace r470 {

const char* const kTooManyLinesText = "Too many comment lines. Max: ";

namespace {

constexpr int kDateLabel = 19;
constexpr int kTimeLabel = 20;
constexpr int kCableIdLabel = 21;
constexpr int kCommentsLabel = 22;
constexpr int kMoreLabel = 35;

// Shown with a UTF-8 message box: the characters it names have no Windows-1252 form.
bool RefuseUnstorable(const std::vector<std::pair<std::string, std::string>>& fields,
                      Prompts& prompts) {
    std::string text = UnstorableMessage(fields);
    if (text.empty())
        return false;
    prompts.ShowUtf8MessageBox(text, MessageText(MsgProblem), MbOk);
    return true;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += '\n';
        out += lines[i];
    }
    return out;
}

// A comment line from a file may hold a line break of its own; shown as it is, it would
// push every later line down and be stored back one line off.
std::string OneMemoLine(std::string line) {
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return line;
}

bool IsShown(const WaveformSet& set, int slot) {
    return slot >= 1 && slot <= kDiffSlot && set.Slot(slot).Shown;
}

} // namespace

CommentSession::CommentSession(TraceNotes& notes, std::string name, bool showNoMore,
                               Prompts& prompts, CommentDialogs& dialogs)
    : notes_(notes), prompts_(prompts), dialogs_(dialogs) {
    initial_.Name = Cp1252ToUtf8(name);
    initial_.CableLabel = Cp1252ToUtf8(MessageText(kCableIdLabel));
    initial_.Date = Cp1252ToUtf8(notes.Date);
    initial_.Time = Cp1252ToUtf8(notes.Time);
    initial_.CableId = Cp1252ToUtf8(notes.CableId);
    initial_.ShowNoMore = showNoMore;
    // Empty lines before the last line with text keep their place; empty lines after it
    // are not shown.
    std::size_t shown = 0;
    for (std::size_t i = 0; i < kCommentLines; ++i)
        if (!notes.Comments[i].empty())
            shown = i + 1;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < shown; ++i)
        lines.push_back(OneMemoLine(notes.Comments[i]));
    initial_.Memo = Cp1252ToUtf8(JoinLines(lines));
}

bool CommentSession::Ok(const CommentFields& typed) {
    std::vector<std::string> lines = MemoLines(typed.Memo);
    if (lines.size() > kCommentLines) {
        prompts_.ShowMessageBox(kTooManyLinesText + std::to_string(kCommentLines),
                                MessageText(MsgProblem), MbOk);
        return false;
    }
    // Nothing is turned into "?" behind the user's back.
    if (RefuseUnstorable({{MessageText(kDateLabel), typed.Date},
                          {MessageText(kTimeLabel), typed.Time},
                          {MessageText(kCableIdLabel), typed.CableId},
                          {MessageText(kCommentsLabel), typed.Memo}},
                         prompts_))
        return false;
    notes_.Date = Utf8ToCp1252(typed.Date);
    notes_.Time = Utf8ToCp1252(typed.Time);
    notes_.CableId = Utf8ToCp1252(typed.CableId);
    for (std::size_t i = 0; i < kCommentLines; ++i)
        notes_.Comments[i] = i < lines.size() ? Utf8ToCp1252(lines[i]) : std::string();
    notes_.CutToFields();
    return true;
}

void CommentSession::More() {
    std::string memo = Cp1252ToUtf8(StoredToMemo(notes_.MoreComments));
    while (dialogs_.AdditionalComments(initial_.Name, memo)) {
        if (!RefuseUnstorable({{MessageText(kMoreLabel), memo}}, prompts_)) {
            notes_.MoreComments = StoreMoreComments(Utf8ToCp1252(memo));
            return;
        }
    }
}

std::string UnstorableMessage(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string named;
    for (const auto& [label, text] : fields)
        if (std::string chars = Unstorable1252(text); !chars.empty())
            named += "\r\n" + Cp1252ToUtf8(label) + ": " + chars;
    if (named.empty())
        return "";
    return "A waveform file cannot hold these characters; change or remove them:" + named;
}

void ClearText(TraceNotes& notes) {
    notes = TraceNotes{};
}

CommentsResult EditNotes(TraceNotes& notes, const std::string& name, bool showNoMore,
                         Prompts& prompts, CommentDialogs& dialogs) {
    CommentSession session(notes, name, showNoMore, prompts, dialogs);
    return dialogs.EditComments(session);
}

bool EditText(WaveformSet& set, int slot, Prompts& prompts, CommentDialogs& dialogs) {
    if (slot < 1 || slot > kFileSlots || !set.Slot(slot).Loaded)
        return false;
    TraceSlot& s = set.Slot(slot);
    const std::string moreBefore = s.data.notes.MoreComments;
    CommentsResult result = EditNotes(s.data.notes, s.FileName, false, prompts, dialogs);
    if (result == CommentsResult::Ok || s.data.notes.MoreComments != moreBefore)
        s.Changed = true;
    return result == CommentsResult::Ok;
}

int ChooseTrace(WaveformSet& set, Prompts& prompts, CommentDialogs& dialogs) {
    if (NoTraces(set, prompts))
        return 0;
    if (set.TraceCount == 1)
        return set.CurTrace;
    std::vector<std::string> names;
    std::vector<int> slots;
    int selected = -1;
    for (int n = 1; n <= kFileSlots; ++n) {
        if (!set.Slot(n).Loaded)
            continue;
        if (n == set.CurTrace)
            selected = static_cast<int>(slots.size());
        names.push_back(set.Slot(n).FileName);
        slots.push_back(n);
    }
    int chosen = dialogs.ChooseWaveform(names, selected);
    if (chosen < 0 || chosen >= static_cast<int>(slots.size()))
        return 0;
    return slots[static_cast<std::size_t>(chosen)];
}

int EditCurTrace(WaveformSet& set, Prompts& prompts, CommentDialogs& dialogs) {
    if (NoTraces(set, prompts) || DiffWave(set, prompts))
        return 0;
    EditText(set, set.CurTrace, prompts, dialogs);
    return IsShown(set, set.CurTrace) ? set.CurTrace : 0;
}

int EditFromFilesPanel(WaveformSet& set, Prompts& prompts, CommentDialogs& dialogs) {
    if (NoTraces(set, prompts) || DiffWave(set, prompts))
        return 0;
    EditText(set, set.CurTrace, prompts, dialogs);
    return set.CurTrace;
}

int MenuEdit(WaveformSet& set, Prompts& prompts, CommentDialogs& dialogs) {
    int slot = ChooseTrace(set, prompts, dialogs);
    if (slot < 1 || slot > kFileSlots)
        return 0;
    EditText(set, slot, prompts, dialogs);
    return IsShown(set, slot) ? slot : 0;
}

std::vector<std::string> MemoLines(const std::string& memo) {
    std::vector<std::string> lines;
    if (memo.empty())
        return lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = memo.find('\n', start);
        std::string line = memo.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

MemoText FitCommentMemo(const MemoText& before, const MemoText& now) {
    std::vector<std::string> lines = MemoLines(now.text);
    if (lines.size() <= kCommentLines)
        return now;
    while (lines.size() > kCommentLines && lines.back().empty())
        lines.pop_back();
    if (lines.size() > kCommentLines) {
        // The key moved text past the last line (a line split in the middle): undo the key.
        if (MemoLines(before.text).size() <= kCommentLines)
            return {before.text, std::min(before.caret, before.text.size())};
        lines.resize(kCommentLines);
    }
    std::string text = JoinLines(lines);
    return {text, std::min(now.caret, text.size())};
}

std::string StoredToMemo(const std::string& stored) {
    std::string out;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\r') {
            out += '\n';
            if (i + 1 < stored.size() && stored[i + 1] == '\n')
                ++i;
        } else {
            out += stored[i];
        }
    }
    return out;
}

std::string MemoToStored(const std::string& memo) {
    std::string out;
    for (std::size_t i = 0; i < memo.size(); ++i) {
        if (memo[i] == '\r' || memo[i] == '\n') {
            out += "\r\n";
            if (memo[i] == '\r' && i + 1 < memo.size() && memo[i + 1] == '\n')
                ++i;
        } else {
            out += memo[i];
        }
    }
    return out;
}

std::size_t StoredLength(const std::string& memo) {
    return MemoToStored(memo).size();
}

std::string StoreMoreComments(const std::string& memo, std::size_t limit) {
    std::string stored = MemoToStored(memo.substr(0, memo.find('\0')));
    if (stored.size() > limit) {
        stored.resize(limit);
        // Half a line break would come back as a line break of its own.
        if (!stored.empty() && stored.back() == '\r')
            stored.pop_back();
    }
    return stored;
}

} // namespace r470
