// Hand-built transmissions as the instrument sends them, for the import's tests.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace r470::test {

struct SentMemory {
    int no = 1;
    int gain = 3;
    int diel = 670;
    int cursor = 100;
    int maxSample = 200;
    int pulseWidth = 10;
    int sampleIntLo = 500;
    std::vector<std::uint8_t> samples = {10, 20, 30, 40};
    std::optional<std::array<std::uint8_t, 3>> ext = std::nullopt; // Filter, Impedance low, high
    std::uint8_t marker = 'M';
    std::string cableId = "CABLE 0001";
    std::string date = "010226";
    std::string time = "123456";
    std::string mode = "NORMAL          ";
    // A SampleCount other than samples.size(), to build broken records.
    std::optional<int> claimedCount = std::nullopt;
};

inline void PutText(std::vector<std::uint8_t>& out, const std::string& t, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        out.push_back(i < t.size() ? static_cast<std::uint8_t>(t[i]) : ' ');
}

inline void Put16(std::vector<std::uint8_t>& out, int v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

inline std::vector<std::uint8_t> MemoryRecordBytes(const SentMemory& m) {
    std::vector<std::uint8_t> r;
    r.push_back(m.marker);
    Put16(r, m.no);
    Put16(r, m.gain);
    Put16(r, m.sampleIntLo);
    r.push_back(0); // SampleIntHi
    Put16(r, m.claimedCount.value_or(static_cast<int>(m.samples.size())));
    Put16(r, m.diel);
    Put16(r, m.pulseWidth);
    PutText(r, m.mode, 16);
    Put16(r, m.cursor);
    Put16(r, m.maxSample);
    r.insert(r.end(), m.samples.begin(), m.samples.end());
    PutText(r, m.cableId, 10);
    PutText(r, m.date, 6);
    PutText(r, m.time, 6);
    PutText(r, "R470  ", 6);
    PutText(r, "V3.04 ", 6);
    if (m.ext)
        r.insert(r.end(), m.ext->begin(), m.ext->end());
    return r;
}

// The start block with the whole transmission's length and the record count, then the
// records. `count` and `length` override the true values.
inline std::vector<std::uint8_t> Transmission(const std::vector<SentMemory>& memories,
                                              std::optional<int> count = std::nullopt,
                                              std::optional<std::uint32_t> length = std::nullopt) {
    std::vector<std::uint8_t> body;
    for (const SentMemory& m : memories) {
        auto r = MemoryRecordBytes(m);
        body.insert(body.end(), r.begin(), r.end());
    }
    std::uint32_t len = length.value_or(static_cast<std::uint32_t>(7 + body.size()));
    std::vector<std::uint8_t> out = {'H'};
    Put16(out, static_cast<int>(len & 0xFFFF));
    Put16(out, static_cast<int>(len >> 16));
    Put16(out, count.value_or(static_cast<int>(memories.size())));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

} // namespace r470::test
