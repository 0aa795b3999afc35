#include "archive/archive_commands.h"

#include "archive/archive_export.h"
#include "archive/archive_platform.h"
#include "archive/archive_text.h"
#include "common/cp1252.h"
#include "common/file_io.h"
#include "display/compare.h"
#include "display/fault_cursors.h"
#include "display/set_commands.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/workspace.h"

#include <filesystem>

namespace r470 {

const std::array<const char*, 6> kBrowserColumns = {
    "Site / cable / test", "Date", "End", "Mem no", "Events", "Change since baseline"};

namespace {

void Tell(Prompts& prompts, const std::string& utf8, bool problem = true) {
    prompts.ShowMessageBox(Utf8ToCp1252(utf8), MessageText(problem ? MsgProblem : MsgConfirm),
                           MbOk | (problem ? MbIconExclamation : MbIconInformation));
}

int FreeSlot(const Workspace& session) {
    for (int s = 1; s <= kFileSlots; ++s)
        if (!session.set.Slot(s).Loaded)
            return s;
    return 0;
}

} // namespace

std::unique_ptr<CableArchive> OpenUserArchive(Prompts& prompts, const std::string& path) {
    std::string where = path.empty() ? DefaultArchivePath() : path;
    std::string error = "There is no folder for the cable archive on this system.";
    std::unique_ptr<CableArchive> a = where.empty() ? nullptr : CableArchive::Open(where, error);
    if (!a)
        Tell(prompts, error);
    return a;
}

bool ChooseArchiveFile(const std::string& typed, UserOptions& options,
                       const std::string& optionsFile, Prompts& prompts) {
    const std::size_t first = typed.find_first_not_of(" \t");
    std::string path = first == std::string::npos
                           ? ""
                           : typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    // As UTF-8 on every system: a narrow path means the code page on Windows.
    std::filesystem::path given(std::u8string(path.begin(), path.end()));
    std::error_code ec;
    if (!path.empty() && given.is_relative()) {
        std::u8string whole = std::filesystem::absolute(given, ec).u8string();
        if (!ec)
            path.assign(whole.begin(), whole.end());
    }
    if (path == options.archivePath)
        return true;
    if (!path.empty() && !OpenUserArchive(prompts, path))
        return false;
    options.archivePath = path;
    SaveUserOptions(optionsFile, options);
    return true;
}

std::vector<BrowserRow> BrowserRows(const std::vector<ArchiveTest>& tests) {
    std::vector<BrowserRow> rows;
    const ArchiveTest* last = nullptr;
    for (const ArchiveTest& t : tests) {
        if (!last || last->site != t.site) {
            BrowserRow site;
            site.columns[0] = t.site.empty() ? "(no site)" : t.site;
            rows.push_back(site);
        }
        if (!last || last->site != t.site || last->cable != t.cable) {
            BrowserRow cable;
            cable.level = BrowserRow::Cable;
            cable.columns[0] = t.cable;
            rows.push_back(cable);
        }
        BrowserRow r;
        r.level = BrowserRow::Test;
        r.test = t.test;
        r.baseline = t.baseline;
        r.changed = t.change.kind == ChangeResult::Changed;
        r.columns = {"Test " + std::to_string(t.test),
                     t.date.empty() ? "filed " + t.filed.substr(0, 10) : t.date + " " + t.time,
                     t.end,
                     t.memNo ? std::to_string(t.memNo) : "",
                     std::to_string(t.events),
                     ChangeText(t)};
        rows.push_back(r);
        last = &t;
    }
    return rows;
}

std::vector<std::int64_t> TestsOfRows(const std::vector<BrowserRow>& rows,
                                      const std::vector<bool>& chosen) {
    std::vector<std::int64_t> tests;
    bool site = false, cable = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool c = i < chosen.size() && chosen[i];
        if (rows[i].level == BrowserRow::Site) {
            site = c;
            cable = false;
        } else if (rows[i].level == BrowserRow::Cable) {
            cable = c;
        } else if (c || site || cable) {
            tests.push_back(rows[i].test);
        }
    }
    return tests;
}

ArchiveFilter BrowserFilter(const std::string& text, const std::string& from,
                            const std::string& to) {
    ArchiveFilter f;
    f.text = text;
    f.since = from;
    f.until = to;
    f.limit = kBrowserPage;
    return f;
}

std::string OpenedFolder(const CableArchive& archive) {
    return JoinPath(DirName(archive.Path()), "opened");
}

int OpenArchiveTest(CableArchive& archive, std::int64_t test, SetCommands& commands,
                    const Workspace& session, Prompts& prompts) {
    std::optional<ArchiveTest> t = archive.Test(test);
    std::optional<std::vector<std::uint8_t>> bytes = archive.Bytes(test);
    if (!t || !bytes) {
        Tell(prompts, "There is no test " + std::to_string(test) + " in the archive.");
        return 0;
    }
    int slot = FreeSlot(session);
    if (slot == 0) {
        prompts.ShowMessageBox(MessageText(MsgMaxWaveforms), MessageText(MsgProblem), MbOk);
        return 0;
    }
    // A copy of its own, so that a save never touches the archive behind its back.
    std::string dir = OpenedFolder(archive);
    std::string name = ArchiveExportName(*t);
    std::string path = JoinPath(dir, name.substr(name.rfind('/') + 1));
    int rc = MakeFolder(dir) ? WriteFileBytes(path, *bytes) : 3;
    if (rc != 0) {
        Tell(prompts, path + ": " + Cp1252ToUtf8(IoErrorText(rc)));
        return 0;
    }
    return commands.LoadFile(path) == LoadOk && session.set.Slot(slot).Loaded ? slot : 0;
}

bool CompareWithBaseline(CableArchive& archive, std::int64_t test, Workspace& session,
                         SetCommands& commands, CompareCommands& compare, Display& display,
                         Prompts& prompts) {
    std::optional<ArchiveTest> t = archive.Test(test);
    if (!t)
        return false;
    std::optional<ArchiveTest> base = archive.Baseline(t->site, t->cable);
    if (!base || base->test == test) {
        Tell(prompts, "Test " + std::to_string(test) +
                          " is its cable's baseline: choose a later test to compare with it.");
        return false;
    }
    int free = 0;
    for (int s = 1; s <= kFileSlots; ++s)
        free += session.set.Slot(s).Loaded ? 0 : 1;
    if (free < 2) {
        Tell(prompts, "Comparing needs two free waveform slots: close a waveform first.");
        return false;
    }
    int a = OpenArchiveTest(archive, base->test, commands, session, prompts);
    int b = a ? OpenArchiveTest(archive, test, commands, session, prompts) : 0;
    if (!a || !b)
        return false;
    DisplayChoice c;
    for (int s = 1; s <= kFileSlots; ++s)
        c.Disp[s - 1] = session.set.Slot(s).Loaded;
    c.Disp[kDiffSlot - 1] = true;
    c.Diff[a - 1] = c.Diff[b - 1] = true;
    session.set.CurTrace = kDiffSlot;
    compare.ApplyDisplayChoice(c);
    session.set.CurTrace = kDiffSlot;
    if (t->change.kind == ChangeResult::Changed)
        FindFault(session.set, display, prompts, true);
    return true;
}

bool MarkAsBaseline(CableArchive& archive, std::int64_t test, Prompts& prompts) {
    if (archive.MarkBaseline(test))
        return true;
    Tell(prompts, archive.Error());
    return false;
}

bool RemoveFromArchive(CableArchive& archive, std::int64_t test, Prompts& prompts) {
    std::optional<ArchiveTest> t = archive.Test(test);
    if (!t)
        return false;
    std::string question =
        "Remove test " + std::to_string(test) + " of cable \"" + t->cable + "\" from the archive ?";
    if (prompts.ShowMessageBox(Utf8ToCp1252(question), MessageText(MsgConfirm),
                               MbYesNo | MbIconQuestion) != IdYes)
        return false;
    if (archive.Remove(test))
        return true;
    Tell(prompts, archive.Error());
    return false;
}

std::optional<FileInArchiveQuestion> CurrentWaveformForFiling(const Workspace& session,
                                                              Prompts& prompts) {
    int s = session.set.CurTrace;
    if (s < 1 || s > kFileSlots || !session.set.Slot(s).Loaded) {
        prompts.ShowMessageBox(MessageText(MsgNoTraces), MessageText(MsgProblem), MbOk);
        return std::nullopt;
    }
    const TraceSlot& slot = session.set.Slot(s);
    FileInArchiveQuestion q;
    // The waveform as shown: its file's bytes when unchanged, else as a save would write it.
    if (slot.Changed || ReadFileForFiling(slot.Path, q.bytes) != 0) {
        VectorSink sink;
        WriteTrace(sink, slot.data);
        q.bytes = sink.data;
    }
    q.fileName = BaseName(slot.Path);
    q.cable = FiledCableId(slot.data);
    q.note = Cp1252ToUtf8(slot.data.notes.Comments[0]);
    return q;
}

bool FileAnswered(CableArchive& archive, const FileInArchiveQuestion& answers, Prompts& prompts) {
    FilingRequest r;
    r.bytes = answers.bytes;
    r.fileName = answers.fileName;
    r.cable = answers.cable;
    r.site = answers.site;
    r.end = answers.end;
    r.note = answers.note;
    std::vector<FilingOutcome> out;
    if (!archive.File(std::span(&r, 1), out)) {
        Tell(prompts, archive.Error());
        return false;
    }
    if (!out[0].problem.empty()) {
        Tell(prompts, "Cannot file the waveform: " + out[0].problem + ".");
        return false;
    }
    std::optional<ArchiveTest> t = archive.Test(out[0].test);
    Tell(prompts,
         (out[0].already ? "Already filed as test " : "Filed as test ") +
             std::to_string(out[0].test) + " of cable \"" + (t ? t->cable : "") + "\"" +
             (t ? ": " + ChangeText(*t) : std::string()) + ".",
         false);
    return true;
}

} // namespace r470
