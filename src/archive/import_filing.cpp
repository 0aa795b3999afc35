#include "archive/import_filing.h"

#include "archive/archive_platform.h"
#include "archive/cable_archive.h"
#include "common/cp1252.h"
#include "shell/messages.h"
#include "shell/prompts.h"

namespace r470 {

namespace {

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string MemoryText(int memNo) {
    return "Memory " + std::to_string(memNo);
}

} // namespace

std::string FiledCountText(const std::vector<FilingOutcome>& outcomes) {
    std::size_t filed = 0, already = 0;
    for (const FilingOutcome& o : outcomes) {
        if (!o.problem.empty())
            continue;
        (o.already ? already : filed) += 1;
    }
    return Plural(filed, "test", "tests") + " filed, " + std::to_string(already) +
           " already filed.";
}

ImportFiler::Outcome ArchiveImportFiler::NotFiled(const std::string& why) {
    const std::string head = "Nothing was filed in the cable archive.\r\n";
    const std::string tail = "\r\n\r\nWrite the waveforms as files instead ?";
    // The question must survive the message box's length limit; the reason gives way.
    std::string reason = Utf8ToCp1252(why);
    const std::size_t room = 255 - head.size() - tail.size();
    if (reason.size() > room)
        reason = reason.substr(0, room - 3) + "...";
    int answer = prompts_.ShowMessageBox(head + reason + tail, MessageText(MsgProblem),
                                         MbYesNo | MbIconExclamation);
    return answer == IdYes ? WriteFiles : Done;
}

ImportFiler::Outcome ArchiveImportFiler::File(const std::vector<ImportedWaveform>& waveforms) {
    if (waveforms.empty())
        return Done;
    FileInArchiveQuestion batch;
    batch.site = lastSite_;
    const std::string title =
        waveforms.size() == 1 ? "File memory " + std::to_string(waveforms[0].memNo) + " in archive"
                              : "File " + std::to_string(waveforms.size()) + " memories in archive";
    std::optional<FileInArchiveQuestion> answers;
    while (!(answers = questions_.AskFiling(batch, title, false))) {
        // As when no file name is given: the user may go back.
        if (prompts_.ShowMessageBox(MessageText(102), MessageText(MsgConfirm),
                                    MbYesNo | MbIconQuestion) == IdYes)
            return Done;
    }
    lastSite_ = answers->site;

    std::vector<FilingRequest> requests;
    std::vector<int> memories; // beside `requests`
    std::vector<std::string> skipped;
    for (const ImportedWaveform& w : waveforms) {
        FilingRequest r;
        r.bytes = w.bytes;
        r.fileName = w.fileName;
        r.site = answers->site;
        r.end = answers->end;
        r.note = answers->note;
        if (ReadWaveformFacts(w.bytes, false).cable.empty()) {
            FileInArchiveQuestion own = *answers;
            own.cable.clear();
            std::optional<FileInArchiveQuestion> a =
                questions_.AskFiling(own, MemoryText(w.memNo) + " has no cable ID", true);
            if (!a) {
                skipped.push_back(MemoryText(w.memNo) + ": not filed, no cable ID was given.");
                continue;
            }
            r.cable = a->cable;
            r.site = a->site;
            r.end = a->end;
            r.note = a->note;
        }
        requests.push_back(std::move(r));
        memories.push_back(w.memNo);
    }

    std::vector<FilingOutcome> out;
    if (!requests.empty()) {
        std::string path = archivePath_ ? archivePath_() : std::string();
        if (path.empty())
            path = DefaultArchivePath();
        std::string error = "There is no folder for the cable archive on this system.";
        std::unique_ptr<CableArchive> archive =
            path.empty() ? nullptr : CableArchive::Open(path, error);
        if (!archive)
            return NotFiled(error);
        if (!archive->File(requests, out))
            return NotFiled(archive->Error());
    }

    std::string text = FiledCountText(out);
    for (std::size_t i = 0; i < out.size(); ++i)
        if (!out[i].problem.empty())
            text += "\r\n" + MemoryText(memories[i]) + ": not filed, " + out[i].problem + ".";
    for (const std::string& s : skipped)
        text += "\r\n" + s;
    ShowInformation(prompts_, "Cable archive", Utf8ToCp1252(text));
    return Done;
}

} // namespace r470
