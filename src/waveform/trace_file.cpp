#include "waveform/trace_file.h"

#include "shell/messages.h"
#include "shell/prompts.h"

#include <algorithm>
#include <vector>

namespace r470 {

int ReadText(ByteSource& in, TraceNotes& into) {
    std::array<std::uint8_t, kNotesReadLimit> buf{};
    std::size_t n = 0;
    if (in.Read(buf, n) != 0)
        return LoadReadError;
    std::size_t p = 0;
    auto next = [&]() {
        std::size_t start = std::min(p, n);
        std::size_t end = start;
        while (end < n && buf[end] != 0)
            ++end;
        p = end + 1;
        return std::string(reinterpret_cast<const char*>(buf.data() + start), end - start);
    };
    into.Date = next();
    into.Time = next();
    into.CableId = next();
    for (auto& c : into.Comments)
        c = next();
    // MoreComments is zero-terminated; anything after its terminator is not part of it.
    into.MoreComments = next();
    into.CutToFields();
    return LoadOk;
}

int ReadTrace(ByteSource& in, TraceData& into, bool anyVersion) {
    std::array<std::uint8_t, kHeaderSize> head{};
    std::size_t got = 0;
    if (in.Read(head, got) != 0)
        return LoadReadError;
    if (got < kHeaderSize)
        return LoadNotWaveform;
    if (!std::equal(kSignature.begin(), kSignature.end(), head.begin()))
        return LoadNotWaveform;
    into.header = DecodeHeader(head);
    if (into.header.FileVersion != kFileVersion && !anyVersion)
        return LoadWrongVersion;
    if (into.header.SampleCount > kMaxSamples)
        return LoadNotWaveform;
    std::span<std::uint8_t> samples(into.samples.data(), into.header.SampleCount);
    if (in.Read(samples, got) != 0 || got < samples.size())
        return LoadReadError;
    return ReadText(in, into.notes);
}

int ReadTraceFile(const std::string& path, TraceData& into) {
    InFile f;
    if (f.Open(path) != 0)
        return LoadCannotOpen;
    return ReadTrace(f, into);
}

const std::string kWaveformExtension = ".KEL";

bool HasWaveformExtension(const std::string& name) {
    const std::size_t n = kWaveformExtension.size();
    if (name.size() <= n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = name[name.size() - n + i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != kWaveformExtension[i])
            return false;
    }
    return true;
}

std::string LoadStateText(int state) {
    switch (state) {
    case LoadCannotOpen:
        return MessageText(MsgCannotOpenData);
    case LoadNotWaveform:
        return MessageText(MsgNotWaveformFile);
    case LoadWrongVersion:
        return MessageText(MsgWrongVersion);
    case LoadReadError:
        return MessageText(MsgReadError);
    default:
        return {};
    }
}

int LoadTraceFile(const std::string& path, TraceData& into, Prompts& prompts) {
    int state = ReadTraceFile(path, into);
    if (state == LoadCannotOpen)
        prompts.ShowMessageBox(LoadStateText(state), MessageText(MsgFileError), MbOk);
    else if (state != LoadOk)
        prompts.ShowMessageBox(LoadStateText(state), MessageText(MsgCannotLoad), MbOk);
    return state;
}

int AppendText(ByteSink& out, const TraceNotes& notes) {
    auto put = [&](const std::string& text) {
        std::vector<std::uint8_t> bytes(text.begin(), std::find(text.begin(), text.end(), '\0'));
        bytes.push_back(0);
        return out.Write(bytes);
    };
    const std::string* texts[] = {&notes.Date,        &notes.Time,        &notes.CableId,
                                  &notes.Comments[0], &notes.Comments[1], &notes.Comments[2],
                                  &notes.Comments[3], &notes.Comments[4], &notes.MoreComments};
    for (const std::string* t : texts)
        if (int e = put(*t); e != 0)
            return e;
    return 0;
}

int WriteTrace(ByteSink& out, const TraceData& trace) {
    auto head = EncodeHeader(trace.header);
    if (int e = out.Write(head); e != 0)
        return e;
    std::size_t count = std::min<std::size_t>(trace.header.SampleCount, kMaxSamples);
    if (int e = out.Write(std::span(trace.samples.data(), count)); e != 0)
        return e;
    return AppendText(out, trace.notes);
}

} // namespace r470
