#include "instrument/transfer_format.h"

#include "common/bytes.h"

#include <algorithm>

namespace r470 {

namespace {
constexpr std::size_t kHeadAt = 13, kTailAt = 47, kExtensionAt = 87;
}

std::array<std::uint8_t, kStartBlockSize> EncodeStartBlock(std::uint32_t length,
                                                           std::uint16_t count) {
    std::array<std::uint8_t, kStartBlockSize> b{};
    b[0] = kStartMarker;
    PutU16(b, 1, static_cast<std::uint16_t>(length & 0xFFFF));
    PutU16(b, 3, static_cast<std::uint16_t>(length >> 16));
    PutU16(b, 5, count);
    return b;
}

std::optional<StartBlock> DecodeStartBlock(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kStartBlockSize)
        return std::nullopt;
    StartBlock s;
    s.marker = bytes[0];
    s.length = GetU16(bytes, 1) | static_cast<std::uint32_t>(GetU16(bytes, 3)) << 16;
    s.count = GetU16(bytes, 5);
    return s;
}

bool WithExtensionFor(const TraceHeader& h) {
    return h.Filter == ' ' || (h.Filter >= 'A' && h.Filter <= 'Z') || h.Impedance != 0;
}

std::size_t RecordSize(std::size_t sampleCount, bool withExtension) {
    return kMemoryHeadSize + sampleCount + kMemoryTailSize +
           (withExtension ? kMemoryExtensionSize : 0);
}

std::vector<std::uint8_t> EncodeMemoryRecord(const TraceHeader& h,
                                             std::span<const std::uint8_t> samples,
                                             bool withExtension) {
    const auto hb = EncodeHeader(h);
    // The head announces SampleCount samples; exactly that many follow, whatever the caller
    // handed over, so the record never disagrees with itself.
    std::size_t n = std::min<std::size_t>(h.SampleCount, kMaxSamples);
    std::vector<std::uint8_t> out;
    out.reserve(RecordSize(n, withExtension));
    out.insert(out.end(), hb.begin() + kHeadAt, hb.begin() + kHeadAt + kMemoryHeadSize);
    std::size_t have = std::min(n, samples.size());
    out.insert(out.end(), samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(have));
    out.resize(out.size() + (n - have), 0);
    out.insert(out.end(), hb.begin() + kTailAt, hb.begin() + kTailAt + kMemoryTailSize);
    if (withExtension)
        out.insert(out.end(), hb.begin() + kExtensionAt,
                   hb.begin() + kExtensionAt + kMemoryExtensionSize);
    return out;
}

std::optional<MemoryRecord> DecodeMemoryRecord(std::span<const std::uint8_t> bytes,
                                               bool withExtension) {
    if (bytes.size() < kMemoryHeadSize)
        return std::nullopt;
    std::array<std::uint8_t, kHeaderSize> hb = EncodeHeader(TraceHeader{});
    std::copy_n(bytes.begin(), kMemoryHeadSize, hb.begin() + kHeadAt);
    std::size_t n = GetU16(hb, 21);
    std::size_t size = RecordSize(n, withExtension);
    if (n > kMaxSamples || bytes.size() < size)
        return std::nullopt;
    auto tail = bytes.subspan(kMemoryHeadSize + n);
    std::copy_n(tail.begin(), kMemoryTailSize, hb.begin() + kTailAt);
    if (withExtension)
        std::copy_n(tail.begin() + kMemoryTailSize, kMemoryExtensionSize,
                    hb.begin() + kExtensionAt);
    else
        std::fill_n(hb.begin() + kExtensionAt, kMemoryExtensionSize, 0);
    MemoryRecord r;
    r.header = DecodeHeader(hb);
    r.samples.assign(bytes.begin() + kMemoryHeadSize, bytes.begin() + kMemoryHeadSize + n);
    r.hasExtension = withExtension;
    r.size = size;
    return r;
}

TraceHeader ExportHeader(const ExportItem& item) {
    TraceHeader h = *item.header;
    h.MemNo = static_cast<std::uint16_t>(item.memNo);
    h.InstDiel = h.Diel;
    h.InstCursor = h.Cursor;
    return h;
}

ExportPlan PlanExport(std::span<const ExportItem> items) {
    ExportPlan p;
    if (!items.empty())
        p.withExtension = WithExtensionFor(*items.front().header);
    for (const ExportItem& it : items)
        p.length += static_cast<std::uint32_t>(RecordSize(
            std::min<std::size_t>(it.header->SampleCount, kMaxSamples), p.withExtension));
    return p;
}

std::vector<std::uint8_t> EncodeExport(std::span<const ExportItem> items) {
    ExportPlan p = PlanExport(items);
    auto start = EncodeStartBlock(p.length, static_cast<std::uint16_t>(items.size()));
    std::vector<std::uint8_t> out(start.begin(), start.end());
    for (const ExportItem& it : items) {
        auto rec = EncodeMemoryRecord(ExportHeader(it), it.samples, p.withExtension);
        out.insert(out.end(), rec.begin(), rec.end());
    }
    out.push_back(Checksum(out));
    return out;
}

std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes)
        sum += b;
    return static_cast<std::uint8_t>(sum & 0xFF);
}

} // namespace r470
