#include "waveform/trace_records.h"

#include "common/bytes.h"

#include <algorithm>

namespace r470 {

const std::array<std::uint8_t, 7> kSignature = {6, 'K', 'E', 'L', 'T', 'D', 'R'};

TraceHeader::TraceHeader()
    : Signature(reinterpret_cast<const char*>(kSignature.data()), kSignature.size()),
      ModeText(16, ' '), InstCableId(10, ' '), InstDate(6, ' '), InstTime(6, ' '), Machine1(6, ' '),
      Machine2(6, ' ') {}

std::array<std::uint8_t, kHeaderSize> EncodeHeader(const TraceHeader& h) {
    std::array<std::uint8_t, kHeaderSize> b{};
    std::span<std::uint8_t> s(b);
    PutChars(s, 0, 7, h.Signature, 0);
    std::copy(h.Reserved1.begin(), h.Reserved1.end(), b.begin() + 7);
    b[10] = h.Spare;
    PutU16(s, 11, h.FileVersion);
    b[13] = h.MemMarker;
    PutU16(s, 14, h.MemNo);
    PutU16(s, 16, h.Gain);
    PutU16(s, 18, h.SampleIntLo);
    b[20] = h.SampleIntHi;
    PutU16(s, 21, h.SampleCount);
    PutU16(s, 23, h.InstDiel);
    PutU16(s, 25, h.PulseWidth);
    PutChars(s, 27, 16, h.ModeText, ' ');
    PutU16(s, 43, h.InstCursor);
    PutU16(s, 45, h.MaxSample);
    PutChars(s, 47, 10, h.InstCableId, ' ');
    PutChars(s, 57, 6, h.InstDate, ' ');
    PutChars(s, 63, 6, h.InstTime, ' ');
    PutChars(s, 69, 6, h.Machine1, ' ');
    PutChars(s, 75, 6, h.Machine2, ' ');
    PutI16(s, 81, h.DispGain);
    PutU16(s, 83, h.Diel);
    PutU16(s, 85, h.Cursor);
    b[87] = h.Filter;
    PutU16(s, 88, h.Impedance);
    std::copy(h.Reserved2.begin(), h.Reserved2.end(), b.begin() + 90);
    return b;
}

TraceHeader DecodeHeader(std::span<const std::uint8_t, kHeaderSize> s) {
    TraceHeader h;
    h.Signature = GetChars(s, 0, 7);
    std::copy_n(s.begin() + 7, 3, h.Reserved1.begin());
    h.Spare = s[10];
    h.FileVersion = GetU16(s, 11);
    h.MemMarker = s[13];
    h.MemNo = GetU16(s, 14);
    h.Gain = GetU16(s, 16);
    h.SampleIntLo = GetU16(s, 18);
    h.SampleIntHi = s[20];
    h.SampleCount = GetU16(s, 21);
    h.InstDiel = GetU16(s, 23);
    h.PulseWidth = GetU16(s, 25);
    h.ModeText = GetChars(s, 27, 16);
    h.InstCursor = GetU16(s, 43);
    h.MaxSample = GetU16(s, 45);
    h.InstCableId = GetChars(s, 47, 10);
    h.InstDate = GetChars(s, 57, 6);
    h.InstTime = GetChars(s, 63, 6);
    h.Machine1 = GetChars(s, 69, 6);
    h.Machine2 = GetChars(s, 75, 6);
    h.DispGain = GetI16(s, 81);
    h.Diel = GetU16(s, 83);
    h.Cursor = GetU16(s, 85);
    h.Filter = s[87];
    h.Impedance = GetU16(s, 88);
    std::copy_n(s.begin() + 90, 18, h.Reserved2.begin());
    return h;
}

double SampleIntervalNs(const TraceHeader& h) {
    return (h.SampleIntLo + h.SampleIntHi * 65535.0) / 1000.0;
}

namespace {

void Cut(std::string& s, std::size_t len) {
    if (s.size() > len)
        s.resize(len);
}

// Offsets of the length-prefixed texts in the 1333-byte block.
constexpr std::size_t kDateAt = 0, kTimeAt = 11, kCableAt = 22, kCommentsAt = 53, kMoreAt = 308;

void PutShortString(std::span<std::uint8_t> b, std::size_t at, std::size_t len,
                    const std::string& text) {
    std::size_t n = std::min(text.size(), len);
    b[at] = static_cast<std::uint8_t>(n);
    PutChars(b, at + 1, len, text.substr(0, n), 0);
}

std::string GetShortString(std::span<const std::uint8_t> b, std::size_t at, std::size_t len) {
    std::size_t n = std::min<std::size_t>(b[at], len);
    return GetChars(b, at + 1, n);
}

} // namespace

void TraceNotes::CutToFields() {
    Cut(Date, kDateLen);
    Cut(Time, kTimeLen);
    Cut(CableId, kCableIdLen);
    for (auto& c : Comments)
        Cut(c, kCommentLen);
    Cut(MoreComments, kMoreCommentsLen);
}

std::array<std::uint8_t, kNotesSize> EncodeNotesBlock(const TraceNotes& n) {
    std::array<std::uint8_t, kNotesSize> b{};
    std::span<std::uint8_t> s(b);
    PutShortString(s, kDateAt, kDateLen, n.Date);
    PutShortString(s, kTimeAt, kTimeLen, n.Time);
    PutShortString(s, kCableAt, kCableIdLen, n.CableId);
    for (std::size_t i = 0; i < kCommentLines; ++i)
        PutShortString(s, kCommentsAt + i * (kCommentLen + 1), kCommentLen, n.Comments[i]);
    std::string more = n.MoreComments.substr(0, n.MoreComments.find('\0'));
    PutChars(s, kMoreAt, kMoreCommentsLen + 1, more.substr(0, kMoreCommentsLen), 0);
    return b;
}

TraceNotes DecodeNotesBlock(std::span<const std::uint8_t, kNotesSize> s) {
    TraceNotes n;
    n.Date = GetShortString(s, kDateAt, kDateLen);
    n.Time = GetShortString(s, kTimeAt, kTimeLen);
    n.CableId = GetShortString(s, kCableAt, kCableIdLen);
    for (std::size_t i = 0; i < kCommentLines; ++i)
        n.Comments[i] = GetShortString(s, kCommentsAt + i * (kCommentLen + 1), kCommentLen);
    std::string more = GetChars(s, kMoreAt, kMoreCommentsLen);
    n.MoreComments = more.substr(0, more.find('\0'));
    return n;
}

} // namespace r470
