#include "instrument/import.h"

#include "common/bytes.h"
#include "common/cp1252.h"
#include "common/file_io.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/comments.h"
#include "waveform/trace_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace r470 {

namespace {

// Offsets inside the head.
constexpr std::size_t kHeadMemNo = 1;
constexpr std::size_t kHeadSampleCount = 8;

constexpr std::uint16_t kNoRoom = 0xFFFF;
constexpr int kMinDiel = 300;
constexpr int kMaxDiel = 999;
constexpr std::uint16_t kMaxCursor = 2048;
constexpr std::uint16_t kCursorFallback = 1024;

bool InRange(int n) {
    return n >= 1 && n <= kMemories;
}

} // namespace

const char* const kSelectAllText = "Select all";
const char* const kUnselectAllText = "Un-select all";

RecordFit ReadMemoryRecord(std::span<const std::uint8_t> buffer, std::size_t at,
                           std::optional<std::uint32_t> length, ReceivedRecord& out) {
    if (at > buffer.size() || buffer.size() - at < kMemoryHeadSize)
        return RecordFit::NoHead;
    std::size_t count = GetU16(buffer, at + kHeadSampleCount);
    std::size_t extAt = at + RecordSize(count, false);
    if (count > kMaxSamples || extAt > buffer.size())
        return RecordFit::Broken;
    bool ext = extAt + kMemoryExtensionSize <= buffer.size() && buffer[extAt] != kMemoryMarker;
    // The byte after the tail has the 1-based position extAt + 1.
    if (length && extAt + 1 >= *length)
        ext = false;
    std::optional<MemoryRecord> rec = DecodeMemoryRecord(buffer.subspan(at), ext);
    if (!rec)
        return RecordFit::Broken;
    out.header = rec->header;
    out.samplesAt = at + kMemoryHeadSize;
    out.hasExtension = ext;
    out.next = at + rec->size;
    return RecordFit::Fits;
}

bool RecordValid(std::span<const std::uint8_t> buffer, const ReceivedRecord& record) {
    const TraceHeader& h = record.header;
    if (h.MemMarker != kMemoryMarker || h.InstDiel < kMinDiel || h.InstDiel > kMaxDiel)
        return false;
    if (h.Gain == kNoRoom || h.InstCursor == kNoRoom)
        return false;
    auto samples = buffer.subspan(record.samplesAt, h.SampleCount);
    return std::none_of(samples.begin(), samples.end(),
                        [&](std::uint8_t s) { return s > h.MaxSample; });
}

TraceHeader CompleteHeader(const TraceHeader& received) {
    TraceHeader h = received;
    h.Signature.assign(reinterpret_cast<const char*>(kSignature.data()), kSignature.size());
    h.Reserved1 = {};
    h.Spare = ' ';
    h.FileVersion = kFileVersion;
    h.Gain = static_cast<std::uint16_t>(received.Gain + 1);
    std::uint16_t cursor = static_cast<std::uint16_t>(received.InstCursor + 1);
    h.InstCursor = cursor > kMaxCursor ? kCursorFallback : cursor;
    h.Cursor = h.InstCursor;
    h.DispGain = 1;
    h.Diel = received.InstDiel;
    h.Reserved2 = {};
    return h;
}

std::string InvalidMemoryText(int memNo) {
    return MessageText(108) + " " + std::to_string(memNo) + " " + MessageText(109);
}

std::string ImportFileName(const std::string& base, int memNo) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", memNo);
    const std::size_t nameAt = NameStart(base);
    std::size_t dot = base.find_last_of('.');
    if (dot == std::string::npos || dot < nameAt)
        return base + number;
    return base.substr(0, dot) + number + base.substr(dot);
}

int CheckTransmission(std::span<const std::uint8_t> buffer, ImportNotes& notes,
                      MemoryFlags& received, Prompts& prompts) {
    received.fill(false);
    int valid = 0;
    std::size_t at = kStartBlockSize;
    for (int left = DecodeStartBlock(buffer).value_or(StartBlock{}).count; left > 0; --left) {
        ReceivedRecord rec;
        RecordFit fit = ReadMemoryRecord(buffer, at, std::nullopt, rec);
        if (fit != RecordFit::Fits) {
            // Nothing after a record that cannot be placed can be placed either.
            if (at + kHeadMemNo + 2 <= buffer.size()) {
                int n = GetU16(buffer, at + kHeadMemNo);
                if (InRange(n))
                    prompts.ShowMessageBox(InvalidMemoryText(n), MessageText(MsgProblem), MbOk);
            }
            break;
        }
        at = rec.next;
        int n = rec.header.MemNo;
        if (!InRange(n))
            continue;
        if (!RecordValid(buffer, rec)) {
            prompts.ShowMessageBox(InvalidMemoryText(n), MessageText(MsgProblem), MbOk);
            continue;
        }
        received[static_cast<std::size_t>(n)] = true;
        ++valid;
        TraceNotes& t = notes[static_cast<std::size_t>(n)];
        t.Date = rec.header.InstDate;
        t.Time = rec.header.InstTime;
        t.CableId = rec.header.InstCableId;
    }
    return valid;
}

namespace {

// Asks before replacing a file; answers the name to write, or empty to skip.
std::string ResolveExisting(std::string name, Prompts& prompts, const NameAsker& askName) {
    while (CanOpenForReading(name)) {
        int answer = prompts.ShowMessageBox(MessageText(MsgOverwrite), Utf8ToCp1252(name),
                                            MbYesNoCancel | MbIconExclamation);
        if (answer == IdYes)
            break;
        if (answer != IdNo)
            return "";
        name = askName(name);
        if (name.empty())
            return "";
    }
    return name;
}

// The saving pass's walk: every valid record of a selected memory, by the length.
void ForEachChosenRecord(std::span<const std::uint8_t> buffer, const MemoryFlags& selected,
                         const std::function<void(const ReceivedRecord&, int)>& use) {
    std::uint32_t length = DecodeStartBlock(buffer).value_or(StartBlock{}).length;
    std::size_t at = kStartBlockSize;
    while (at + 1 < length) {
        ReceivedRecord rec;
        if (ReadMemoryRecord(buffer, at, length, rec) != RecordFit::Fits)
            break;
        at = rec.next;
        int n = rec.header.MemNo;
        // A record the checking pass refused is never written, even under a number that
        // another record brought in valid.
        if (!InRange(n) || !selected[static_cast<std::size_t>(n)] || !RecordValid(buffer, rec))
            continue;
        use(rec, n);
    }
}

// A saved memory's bytes: the completed header, the samples as received, the notes.
int WriteImported(ByteSink& sink, std::span<const std::uint8_t> buffer, const ReceivedRecord& rec,
                  const TraceNotes& text) {
    TraceHeader header = CompleteHeader(rec.header);
    if (int err = sink.Write(EncodeHeader(header)); err != 0)
        return err;
    if (int err = sink.Write(buffer.subspan(rec.samplesAt, header.SampleCount)); err != 0)
        return err;
    return AppendText(sink, text);
}

} // namespace

SaveOutcome SaveTransmission(std::span<const std::uint8_t> buffer, const ImportNotes& notes,
                             const MemoryFlags& selected, const std::string& base, Prompts& prompts,
                             const NameAsker& askName, const FileWriter& writer) {
    SaveOutcome out;
    ForEachChosenRecord(buffer, selected, [&](const ReceivedRecord& rec, int n) {
        auto& missed = out.missed[static_cast<std::size_t>(n)];
        std::string name = ResolveExisting(ImportFileName(base, n), prompts, askName);
        if (name.empty()) {
            missed = true;
            return;
        }
        const TraceNotes& text = notes[static_cast<std::size_t>(n)];
        int e =
            writer(name, [&](ByteSink& sink) { return WriteImported(sink, buffer, rec, text); });
        if (e != 0) {
            prompts.ShowMessageBox(MessageText(105) + " " + Utf8ToCp1252(name),
                                   MessageText(MsgProblem), MbOk);
            missed = true;
            return;
        }
        out.written[static_cast<std::size_t>(n)] = true;
        out.files.push_back(name);
    });
    return out;
}

std::vector<ImportedWaveform> ImportedWaveforms(std::span<const std::uint8_t> buffer,
                                                const ImportNotes& notes,
                                                const MemoryFlags& selected) {
    std::vector<ImportedWaveform> out;
    ForEachChosenRecord(buffer, selected, [&](const ReceivedRecord& rec, int n) {
        ImportedWaveform w;
        w.memNo = n;
        w.fileName = ImportFileName("MEM.KEL", n);
        w.cableId = notes[static_cast<std::size_t>(n)].CableId;
        VectorSink sink;
        WriteImported(sink, buffer, rec, notes[static_cast<std::size_t>(n)]);
        w.bytes = std::move(sink.data);
        out.push_back(std::move(w));
    });
    return out;
}

bool EditImportComments(ImportNotes& notes, const MemoryFlags& selected, Prompts& prompts,
                        CommentDialogs& dialogs) {
    switch (dialogs.CommentOptions()) {
    case CommentOption::Cancel:
        return false;
    case CommentOption::None:
        return true;
    case CommentOption::Common: {
        // The common record starts from the first memory being saved, so that accepting
        // it unchanged keeps the instrument's date and time rather than blanking them.
        std::size_t first = 1;
        while (first < selected.size() && !selected[first])
            ++first;
        if (first >= selected.size())
            first = 1;
        EditNotes(notes[first], "All selected memories", false, prompts, dialogs);
        for (std::size_t n = 1; n < notes.size(); ++n) {
            if (n == first)
                continue;
            std::string own = notes[n].CableId;
            notes[n] = notes[first];
            notes[n].CableId = own;
        }
        return true;
    }
    case CommentOption::Individual:
        for (int n = 1; n <= kMemories; ++n) {
            if (!selected[static_cast<std::size_t>(n)])
                continue;
            if (EditNotes(notes[static_cast<std::size_t>(n)], "Memory " + std::to_string(n), true,
                          prompts, dialogs) == CommentsResult::NoMore)
                break;
        }
        return true;
    }
    return false;
}

std::string AskBaseName(Prompts& prompts, const NameAsker& askName) {
    for (;;) {
        std::string name = askName("");
        if (!name.empty())
            return name;
        if (prompts.ShowMessageBox(MessageText(102), MessageText(MsgConfirm),
                                   MbYesNo | MbIconQuestion) == IdYes)
            return "";
    }
}

void ImportTransmission(std::span<const std::uint8_t> buffer, ImportState& state, Prompts& prompts,
                        MemoryChooser& chooser, CommentDialogs& dialogs, const NameAsker& askName,
                        const FileWriter& writer, ImportFiler* filer) {
    buffer = buffer.first(std::min(buffer.size(), kTransferBufferSize));
    auto notes = std::make_unique<ImportNotes>();
    state.MemSelected.fill(false);
    if (CheckTransmission(buffer, *notes, state.MemReceived, prompts) == 0) {
        prompts.ShowMessageBox(MessageText(101), MessageText(MsgProblem), MbOk);
        return;
    }
    ImportTarget target = filer ? state.target : ImportTarget::Files;
    std::optional<MemoryFlags> chosen = filer ? chooser.ChooseMemTo(state.MemReceived, target)
                                              : chooser.ChooseMem(state.MemReceived);
    if (!chosen)
        return;
    if (filer)
        state.target = target;
    for (int n = 1; n <= kMemories; ++n)
        state.MemSelected[static_cast<std::size_t>(n)] =
            (*chosen)[static_cast<std::size_t>(n)] &&
            state.MemReceived[static_cast<std::size_t>(n)];
    if (std::none_of(state.MemSelected.begin(), state.MemSelected.end(), [](bool b) { return b; }))
        return;
    if (!EditImportComments(*notes, state.MemSelected, prompts, dialogs))
        return;
    if (target == ImportTarget::Archive &&
        filer->File(ImportedWaveforms(buffer, *notes, state.MemSelected)) == ImportFiler::Done)
        return;
    std::string base = AskBaseName(prompts, askName);
    if (base.empty())
        return;
    SaveTransmission(buffer, *notes, state.MemSelected, base, prompts, askName, writer);
}

void MemorySelection::Reset(const MemoryFlags& received) {
    visible_ = received;
    visible_[0] = false;
    checked_.fill(false);
    remembered_.fill(false);
    caption_ = kSelectAllText;
}

void MemorySelection::SelAllClick() {
    bool selecting = caption_ == kSelectAllText;
    for (std::size_t n = 1; n < visible_.size(); ++n) {
        if (!visible_[n])
            continue;
        if (selecting) {
            remembered_[n] = checked_[n];
            checked_[n] = true;
        } else {
            checked_[n] = remembered_[n];
        }
    }
    caption_ = selecting ? kUnselectAllText : kSelectAllText;
}

void MemorySelection::SetChecked(int n, bool checked) {
    checked_.at(static_cast<std::size_t>(n)) = checked;
}

MemoryFlags MemorySelection::Selected() const {
    MemoryFlags out{};
    for (std::size_t n = 1; n < out.size(); ++n)
        out[n] = visible_[n] && checked_[n];
    return out;
}

std::string MemBoxCaption(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "Mem %02d", n);
    return text;
}

} // namespace r470
