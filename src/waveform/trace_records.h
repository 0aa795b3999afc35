// The three records of one waveform: the 108-byte header, the samples and the notes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace r470 {

constexpr std::size_t kHeaderSize = 108;
constexpr std::size_t kMaxSamples = 2048;
constexpr std::size_t kNotesSize = 1333;
constexpr std::uint16_t kFileVersion = 2;
extern const std::array<std::uint8_t, 7> kSignature; // length 6 + "KELTDR"

// Field widths of the notes block's texts.
constexpr std::size_t kDateLen = 10;
constexpr std::size_t kTimeLen = 10;
constexpr std::size_t kCableIdLen = 30;
constexpr std::size_t kCommentLen = 50;
constexpr std::size_t kCommentLines = 5;
constexpr std::size_t kMoreCommentsLen = 1024;

struct TraceHeader {
    std::string Signature; // 7 bytes as stored: length byte and six characters
    std::array<std::uint8_t, 3> Reserved1{};
    std::uint8_t Spare = 0x20;
    std::uint16_t FileVersion = kFileVersion;
    std::uint8_t MemMarker = 'M';
    std::uint16_t MemNo = 0;
    std::uint16_t Gain = 0;
    std::uint16_t SampleIntLo = 0;
    std::uint8_t SampleIntHi = 0;
    std::uint16_t SampleCount = 0;
    std::uint16_t InstDiel = 0;
    std::uint16_t PulseWidth = 0;
    std::string ModeText; // 16, space padded
    std::uint16_t InstCursor = 0;
    std::uint16_t MaxSample = 0;
    std::string InstCableId; // 10
    std::string InstDate;    // 6
    std::string InstTime;    // 6
    std::string Machine1;    // 6
    std::string Machine2;    // 6
    std::int16_t DispGain = 1;
    std::uint16_t Diel = 0;
    std::uint16_t Cursor = 0;
    std::uint8_t Filter = 0;
    std::uint16_t Impedance = 0;
    std::array<std::uint8_t, 18> Reserved2{};

    TraceHeader();
    bool operator==(const TraceHeader&) const = default;
};

std::array<std::uint8_t, kHeaderSize> EncodeHeader(const TraceHeader& h);
TraceHeader DecodeHeader(std::span<const std::uint8_t, kHeaderSize> bytes);

// The sample interval in nanoseconds; the high part weighs 65535, not 65536.
double SampleIntervalNs(const TraceHeader& h);

using TraceSamples = std::array<std::uint8_t, kMaxSamples>;

struct TraceNotes {
    std::string Date;
    std::string Time;
    std::string CableId;
    std::array<std::string, kCommentLines> Comments;
    std::string MoreComments;

    bool operator==(const TraceNotes&) const = default;
    // Cuts every text to its field so that no field can spill into the next.
    void CutToFields();
};

// The 1333-byte in-memory form: length-prefixed texts and a zero-terminated MoreComments.
std::array<std::uint8_t, kNotesSize> EncodeNotesBlock(const TraceNotes& n);
TraceNotes DecodeNotesBlock(std::span<const std::uint8_t, kNotesSize> bytes);

} // namespace r470
