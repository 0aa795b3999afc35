#include "instrument/instrument_sim.h"

#include "waveform/synth.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace r470 {

InstrumentMemory SynthesizedMemory(int n) {
    SynthOptions o;
    o.memNo = n;
    o.samples = 500;
    o.faultAtNs = 150 + 10 * n;
    o.fault = n % 3 == 0 ? SynthOptions::Short : SynthOptions::Open;
    o.cableId = "MEM " + std::to_string(n);
    o.seed = static_cast<unsigned>(n);
    TraceData t = Synthesize(o);
    InstrumentMemory m;
    m.header = t.header;
    m.samples.assign(t.samples.begin(), t.samples.begin() + t.header.SampleCount);
    return m;
}

SimulatedInstrument::SimulatedInstrument() {
    for (int n = 1; n <= kInstrumentMemories; ++n)
        memories_[static_cast<std::size_t>(n)] = SynthesizedMemory(n);
}

std::vector<int> SimulatedInstrument::LoadFrom(const std::string& dir,
                                               std::vector<std::string>& problems) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (HasWaveformExtension(it->path().filename().string()))
            files.push_back(it->path());
    }
    if (ec)
        problems.push_back(dir + ": " + ec.message());
    std::sort(files.begin(), files.end()); // the same memories on every run
    std::vector<int> loaded;
    for (const fs::path& p : files) {
        TraceData t;
        if (int state = ReadTraceFile(p.string(), t); state != LoadOk) {
            problems.push_back(p.string() + ": " + LoadStateText(state));
            continue;
        }
        int n = t.header.MemNo;
        if (n < 1 || n > kInstrumentMemories) {
            problems.push_back(p.string() + ": memory number " + std::to_string(n) +
                               " is not 1 to 48");
            continue;
        }
        InstrumentMemory m;
        m.header = t.header;
        m.samples.assign(t.samples.begin(), t.samples.begin() + t.header.SampleCount);
        memories_[static_cast<std::size_t>(n)] = m;
        loaded.push_back(n);
    }
    std::sort(loaded.begin(), loaded.end());
    loaded.erase(std::unique(loaded.begin(), loaded.end()), loaded.end());
    return loaded;
}

std::vector<std::uint8_t> SimulatedInstrument::EncodeSend(std::span<const int> list,
                                                          ExtensionMode mode) const {
    // Room for the start block first: it needs the length of what follows.
    std::vector<std::uint8_t> out(kStartBlockSize);
    std::size_t i = 0;
    for (int n : list) {
        const InstrumentMemory& m = Memory(n);
        bool ext = mode == ExtensionMode::Yes || (mode == ExtensionMode::Mixed && i % 2 == 0);
        auto r = EncodeMemoryRecord(m.header, m.samples, ext);
        out.insert(out.end(), r.begin(), r.end());
        ++i;
    }
    auto start = EncodeStartBlock(static_cast<std::uint32_t>(out.size()),
                                  static_cast<std::uint16_t>(list.size()));
    std::copy(start.begin(), start.end(), out.begin());
    return out;
}

namespace {

// The records of `body` when every one has (or none has) an extension and they fill it.
std::optional<std::vector<MemoryRecord>> SplitRecords(std::span<const std::uint8_t> body,
                                                      std::size_t count, bool withExtension) {
    std::vector<MemoryRecord> out;
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        auto r = DecodeMemoryRecord(body.subspan(at), withExtension);
        if (!r)
            return std::nullopt;
        at += r->size;
        out.push_back(std::move(*r));
    }
    if (at != body.size())
        return std::nullopt;
    return out;
}

} // namespace

ComputerTransmission CheckComputerTransmission(std::span<const std::uint8_t> bytes) {
    ComputerTransmission t;
    auto bad = [&](std::string why) {
        t.status = ComputerTransmission::Bad;
        t.problem = std::move(why);
        return t;
    };
    auto start = DecodeStartBlock(bytes);
    if (!start) {
        if (!bytes.empty() && bytes[0] != kStartMarker)
            return bad("the transmission does not begin with 'H'");
        return t;
    }
    if (start->marker != kStartMarker)
        return bad("the transmission does not begin with 'H'");
    if (start->length < 2)
        return bad("length " + std::to_string(start->length) + " is shorter than the count");
    // Start block, records, checksum: the length counts the count field and the records.
    const std::size_t recordBytes = start->length - 2;
    if (recordBytes > kInstrumentMemories * RecordSize(kMaxSamples, true) ||
        start->count > kInstrumentMemories)
        return bad("length " + std::to_string(start->length) + " or count " +
                   std::to_string(start->count) + " is more than 48 memories can hold");
    t.total = kStartBlockSize + recordBytes + 1;
    if (bytes.size() < t.total)
        return t;
    auto body = bytes.subspan(kStartBlockSize, recordBytes);
    auto records = SplitRecords(body, start->count, true);
    if (!records)
        records = SplitRecords(body, start->count, false);
    if (!records)
        return bad("the records do not add up to the length " + std::to_string(start->length));
    if (Checksum(bytes.first(t.total - 1)) != bytes[t.total - 1])
        return bad("checksum " + std::to_string(bytes[t.total - 1]) + " should be " +
                   std::to_string(Checksum(bytes.first(t.total - 1))));
    for (std::size_t i = 0; i < records->size(); ++i) {
        const TraceHeader& h = (*records)[i].header;
        if (h.MemMarker != kMemoryMarker)
            return bad("record " + std::to_string(i + 1) + " does not begin with 'M'");
        if (h.MemNo < 1 || h.MemNo > kInstrumentMemories)
            return bad("record " + std::to_string(i + 1) + " is for memory " +
                       std::to_string(h.MemNo) + ", not 1 to 48");
    }
    t.records = std::move(*records);
    t.status = ComputerTransmission::Ok;
    return t;
}

TraceData MemoryToTrace(const MemoryRecord& r) {
    TraceData t;
    t.header = r.header;
    t.header.Diel = r.header.InstDiel;
    t.header.Cursor = r.header.InstCursor;
    t.header.DispGain = 1;
    std::copy(r.samples.begin(), r.samples.end(), t.samples.begin());
    t.notes.Date = r.header.InstDate;
    t.notes.Time = r.header.InstTime;
    t.notes.CableId = r.header.InstCableId;
    return t;
}

std::string MemoryFileName(int memNo) {
    std::string n = std::to_string(memNo);
    return "MEM" + std::string(n.size() < 2 ? 2 - n.size() : 0, '0') + n + ".KEL";
}

std::optional<std::vector<int>> ParseMemoryList(const std::string& text) {
    std::vector<int> out;
    auto number = [](std::string_view s) -> std::optional<int> {
        int v = 0;
        auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (s.empty() || ec != std::errc{} || p != s.data() + s.size() || v < 1 ||
            v > kInstrumentMemories)
            return std::nullopt;
        return v;
    };
    std::string_view rest = text;
    while (true) {
        auto comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        auto dash = item.find('-');
        auto a = number(item.substr(0, dash));
        auto b = dash == std::string_view::npos ? a : number(item.substr(dash + 1));
        if (!a || !b || *b < *a)
            return std::nullopt;
        for (int n = *a; n <= *b; ++n)
            out.push_back(n);
        if (comma == std::string_view::npos)
            break;
        rest = rest.substr(comma + 1);
    }
    return out;
}

} // namespace r470
