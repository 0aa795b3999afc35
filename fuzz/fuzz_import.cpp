// A transmission is whatever arrived on the line or sits in a "buffer.dat": the import's
// checking and saving passes must stay inside the bytes, refuse what they cannot place,
// and write only files the loader reads back with the header the import promises.
#include "instrument/import.h"
#include "shell/prompts.h"
#include "waveform/comments.h"
#include "waveform/trace_file.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

namespace {

class Quiet : public r470::Prompts {
  public:
    int ShowMessageBox(const std::string&, const std::string&, unsigned flags) override {
        // Overwrite questions get Yes so that every record's file is written.
        return (flags & 0x0F) == r470::MbYesNoCancel ? r470::IdYes : r470::IdOk;
    }
    int ShowMsgWindow(const std::string&) override { return r470::IdOk; }
    void Beep() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Slicing the input into a buffer of its own makes a read past it visible to ASan.
    std::vector<std::uint8_t> bytes(data, data + std::min(size, r470::kTransferBufferSize));
    auto notes = std::make_unique<r470::ImportNotes>();
    r470::MemoryFlags received{};
    Quiet prompts;
    int valid = r470::CheckTransmission(bytes, *notes, received, prompts);
    int count = 0;
    for (bool b : received)
        count += b;
    if (count > valid || (valid > 0 && count == 0))
        std::abort();

    std::map<std::string, std::vector<std::uint8_t>> files;
    r470::FileWriter toMemory = [&](const std::string& path,
                                    const std::function<int(r470::ByteSink&)>& body) {
        r470::VectorSink sink;
        if (int e = body(sink); e != 0)
            return e;
        files[path] = std::move(sink.data);
        return 0;
    };
    r470::SaveOutcome out = r470::SaveTransmission(
        bytes, *notes, received, "/m/T.KEL", prompts, [](const std::string&) { return ""; },
        toMemory);
    for (const std::string& f : out.files) {
        const auto& b = files.at(f);
        r470::MemorySource in(b);
        r470::TraceData t;
        if (r470::ReadTrace(in, t) != r470::LoadOk)
            std::abort();
        const r470::TraceHeader& h = t.header;
        if (h.MemNo < 1 || h.MemNo > 48 || !received[h.MemNo] || h.DispGain != 1 ||
            h.Diel != h.InstDiel || h.Cursor != h.InstCursor || h.InstCursor < 1 ||
            h.InstCursor > 2048 || h.InstDiel < 300 || h.InstDiel > 999 || h.Gain == 0 ||
            r470::ImportFileName("/m/T.KEL", h.MemNo) != f)
            std::abort();
        for (std::size_t i = 0; i < h.SampleCount; ++i)
            if (t.samples[i] > h.MaxSample)
                std::abort();
    }
    return 0;
}
