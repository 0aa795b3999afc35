// Editing the notes of a waveform: the comments dialog with its additional-comments dialog,
// the waveform chooser and the comment options of an import. The rules live here; the
// windows reach them through CommentSession and are reached through CommentDialogs.
#pragma once

#include "waveform/trace_records.h"
#include "waveform/waveform_set.h"

#include <string>
#include <utility>
#include <vector>

namespace r470 {

class Prompts;
class CommentDialogs;

// Most characters of additional comments that a store keeps, one short of the record's
// room; the memo accepts no more either, so nothing typed is dropped without being seen.
constexpr std::size_t kMoreCommentsEditLen = 1023;

// The refusals shown by the commands here.
extern const char* const kTooManyLinesText; // followed by the line limit

// What the comments dialog shows, and what the user has typed when "&Ok" is pressed, as
// the window holds it: UTF-8, which may hold characters a waveform file cannot. The memo's
// lines are separated by '\n'.
struct CommentFields {
    std::string Name; // read-only: the file, or the memories, whose notes are edited
    std::string CableLabel;
    std::string Date;
    std::string Time;
    std::string CableId;
    std::string Memo;
    bool ShowNoMore = false;
};

// How the comments dialog closed: "&Ok", "&Cancel" (or Escape), "&No further comments".
enum class CommentsResult { Ok, Cancel, NoMore };

// The four answers of the comment-options dialog an import asks before it edits.
enum class CommentOption { Cancel, None, Common, Individual };

// One showing of the comments dialog on one notes block. The notes are edited in place:
// the dialog's fields reach them on an accepted "&Ok", additional comments as soon as
// their own dialog is accepted.
class CommentSession {
  public:
    CommentSession(TraceNotes& notes, std::string name, bool showNoMore, Prompts& prompts,
                   CommentDialogs& dialogs);

    // The fields as the dialog shows them on opening.
    const CommentFields& Initial() const { return initial_; }

    // "&Ok": stores `typed` and answers true (the dialog closes with OK), or refuses a memo
    // of more than five lines, or characters a waveform file cannot hold (named, with their
    // fields), with a message and answers false (the dialog stays open).
    bool Ok(const CommentFields& typed);

    // "&More..": edits the additional comments in their own dialog; an accepted text is
    // stored at once and stays even if the comments dialog is then cancelled. A text with
    // characters a waveform file cannot hold is refused and shown again as typed.
    void More();

  private:
    TraceNotes& notes_;
    CommentFields initial_;
    Prompts& prompts_;
    CommentDialogs& dialogs_;
};

// The modal dialogs, shown by the window program and scripted by tests.
class CommentDialogs {
  public:
    virtual ~CommentDialogs() = default;

    // Shows the comments dialog filled from session.Initial(), passes each press of "&Ok"
    // and "&More.." to the session, and returns how the dialog closed. "&Ok" closes it only
    // when the session accepts.
    virtual CommentsResult EditComments(CommentSession& session) = 0;

    // The additional-comments dialog: `name` read-only, `memo` ('\n' between lines, UTF-8)
    // edited in place. True when accepted; `memo` is then what the user left in it.
    virtual bool AdditionalComments(const std::string& name, std::string& memo) = 0;

    // The waveform chooser: one entry per name, `selected` highlighted (-1 for none).
    // Returns the index of the entry selected on "&Ok", -1 on "&Cancel" or when no entry
    // is selected.
    virtual int ChooseWaveform(const std::vector<std::string>& names, int selected) = 0;

    // The comment-options dialog of an import.
    virtual CommentOption CommentOptions() = 0;
};

// Sets every text of a notes block to empty: the block then encodes as 1333 zero bytes.
void ClearText(TraceNotes& notes);

// Opens the comments dialog on `notes` (the import uses it with its own names and with
// "&No further comments" shown when it walks the memories one by one).
CommentsResult EditNotes(TraceNotes& notes, const std::string& name, bool showNoMore,
                         Prompts& prompts, CommentDialogs& dialogs);

// Edits the notes of loaded slot 1 to 4 (other slots: nothing happens, false). The slot is
// marked changed when the dialog is accepted, and also when it is cancelled after "&More.."
// stored different additional comments: those are in the notes now and must not be lost
// without the offer to save. Returns true when the dialog was accepted.
bool EditText(WaveformSet& set, int slot, Prompts& prompts, CommentDialogs& dialogs);

// Lets the user pick one loaded waveform: "No traces loaded" and 0 when none is loaded;
// the selected slot without asking when only one is; otherwise the slot the chosen entry
// of the chooser stands for, or 0.
int ChooseTrace(WaveformSet& set, Prompts& prompts, CommentDialogs& dialogs);

// The three ways into the editor. Each answers the slot the main window selects again
// afterwards (0 for none), which refreshes its info area.
//
// The "&Edit" toolbar button: the selected waveform; selected again when it is shown.
int EditCurTrace(WaveformSet& set, Prompts& prompts, CommentDialogs& dialogs);
// A click on the Files panel: like EditCurTrace, but the selected slot is always selected
// again once the editor has run (selection itself reports a waveform not on screen).
int EditFromFilesPanel(WaveformSet& set, Prompts& prompts, CommentDialogs& dialogs);
// Menu "&Edit": choose a waveform, edit it, select it again when it is shown.
int MenuEdit(WaveformSet& set, Prompts& prompts, CommentDialogs& dialogs);

// The comments memo after a key is released. `before` is the memo as that key found it,
// `now` as it is; the caret is a character position in the text.
struct MemoText {
    std::string text;
    std::size_t caret = 0;
    bool operator==(const MemoText&) const = default;
};
// Keeps the memo to five lines: surplus empty lines at the end go; if a key pushed text
// beyond the fifth line, the key is undone rather than the text lost; a memo that was
// already too long (a paste with the mouse) loses its last lines. The caret stays where
// it was, within the text.
MemoText FitCommentMemo(const MemoText& before, const MemoText& now);

// "" when the texts, (label, UTF-8 text) pairs, can all be stored in a waveform file; else
// the message that names the characters that cannot, by field.
std::string UnstorableMessage(const std::vector<std::pair<std::string, std::string>>& fields);

// The memo's lines: split at '\n' (a '\r' before it is dropped); an empty memo has none,
// a memo ending in a line break has an empty last line.
std::vector<std::string> MemoLines(const std::string& memo);

// Additional comments are stored with "\r\n" between lines and edited with '\n'.
std::string StoredToMemo(const std::string& stored);
std::string MemoToStored(const std::string& memo);
// The length `memo` takes once stored; the additional-comments memo accepts at most
// kMoreCommentsEditLen.
std::size_t StoredLength(const std::string& memo);
// The stored form of `memo`, cut to `limit` characters without splitting a line break.
std::string StoreMoreComments(const std::string& memo, std::size_t limit = kMoreCommentsEditLen);

} // namespace r470
