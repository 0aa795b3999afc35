// Waveform files come from disks, mail and other programs: any bytes must give a load state,
// and whatever loads must survive being written and read again unchanged.
#include "common/file_io.h"
#include "waveform/trace_file.h"
#include "waveform/trace_info.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

struct Collect : r470::ByteSink {
    std::vector<std::uint8_t> bytes;
    int Write(std::span<const std::uint8_t> b) override {
        bytes.insert(bytes.end(), b.begin(), b.end());
        return 0;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    r470::MemorySource in(std::span(data, size));
    r470::TraceData t;
    int state = r470::ReadTrace(in, t);
    if (state != r470::LoadOk && state != r470::LoadNotWaveform &&
        state != r470::LoadWrongVersion && state != r470::LoadReadError)
        std::abort();
    // The summary reads every field, including the texts of a half-read file.
    (void)r470::TraceInfoJson("fuzz.KEL", state, &t);
    if (state != r470::LoadOk)
        return 0;
    (void)r470::TraceInfoText("fuzz.KEL", state, &t);

    Collect out;
    if (r470::WriteTrace(out, t) != 0)
        std::abort();
    r470::MemorySource again(out.bytes);
    r470::TraceData back;
    if (r470::ReadTrace(again, back) != r470::LoadOk || !(back.header == t.header) ||
        !(back.notes == t.notes) ||
        !std::equal(t.samples.begin(), t.samples.begin() + t.header.SampleCount,
                    back.samples.begin()))
        std::abort();
    return 0;
}
