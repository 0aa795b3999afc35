// The bytes of a transmission on the instrument link: a seven-byte start block ('H', a
// 32-bit length, a 16-bit record count), memory records back to back, and, when the
// computer sends, a checksum byte. Encoders return bytes; decoders take a span, never read
// past it and say how much they used.
#pragma once

#include "waveform/trace_records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace r470 {

constexpr std::size_t kStartBlockSize = 7;
constexpr std::size_t kMemoryHeadSize = 34;     // header bytes 13 to 46
constexpr std::size_t kMemoryTailSize = 34;     // header bytes 47 to 80
constexpr std::size_t kMemoryExtensionSize = 3; // header bytes 87 to 89
constexpr std::size_t kTransferBufferSize = 65535;
constexpr std::uint8_t kStartMarker = 'H';
constexpr std::uint8_t kMemoryMarker = 'M';

struct StartBlock {
    std::uint8_t marker = 0;
    std::uint32_t length = 0;
    std::uint16_t count = 0;
};

std::array<std::uint8_t, kStartBlockSize> EncodeStartBlock(std::uint32_t length,
                                                           std::uint16_t count);
// Nothing until seven bytes are there.
std::optional<StartBlock> DecodeStartBlock(std::span<const std::uint8_t> bytes);

// Whether a send whose first record is `h` gives every record its extension.
bool WithExtensionFor(const TraceHeader& h);
std::size_t RecordSize(std::size_t sampleCount, bool withExtension);

// One record from a header and its samples, as the header stands.
std::vector<std::uint8_t>
EncodeMemoryRecord(const TraceHeader& h, std::span<const std::uint8_t> samples, bool withExtension);

struct MemoryRecord {
    TraceHeader header; // head, tail and (when present) extension; the rest as a new header
    std::vector<std::uint8_t> samples;
    bool hasExtension = false;
    std::size_t size = 0; // bytes the record took
};
// The record at the start of `bytes`; nothing when it does not fit in them or announces
// more than 2048 samples.
std::optional<MemoryRecord> DecodeMemoryRecord(std::span<const std::uint8_t> bytes,
                                               bool withExtension);

// One waveform to send into an instrument memory.
struct ExportItem {
    const TraceHeader* header;
    std::span<const std::uint8_t> samples; // at least SampleCount bytes
    int memNo;
};

// The header as it goes out for `item`: the target memory, the dielectric in use and the
// cursor in place of the instrument's own; the caller's header is not changed.
TraceHeader ExportHeader(const ExportItem& item);

struct ExportPlan {
    bool withExtension = false;
    std::uint32_t length = 2; // 2 plus the record sizes
};
ExportPlan PlanExport(std::span<const ExportItem> items);

// Exactly what a send puts on the line, start block to checksum.
std::vector<std::uint8_t> EncodeExport(std::span<const ExportItem> items);

std::uint8_t Checksum(std::span<const std::uint8_t> bytes);

} // namespace r470
