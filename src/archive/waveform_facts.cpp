#include "archive/waveform_facts.h"

#include "analysis/first_change.h"
#include "analysis/trace_events.h"
#include "common/cp1252.h"
#include "common/numbers.h"
#include "shell/messages.h"
#include "waveform/units.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace r470 {

namespace {

std::string Trim(const std::string& s) {
    auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// Digits only, or -1.
int Digits(const std::string& s) {
    if (s.empty() || s.size() > 4 ||
        !std::all_of(s.begin(), s.end(), [](char c) { return std::isdigit((unsigned char)c); }))
        return -1;
    return std::stoi(s);
}

std::vector<std::string> Split(const std::string& s, const std::string& seps) {
    std::vector<std::string> parts(1);
    for (char c : s) {
        if (seps.find(c) != std::string::npos)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool RealDate(int y, int m, int d) {
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1900 || y > 2999 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1])
        return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m != 2 || d <= 28 || leap;
}

std::string TwoDigits(int v) {
    return std::string(1, char('0' + v / 10)) + char('0' + v % 10);
}

} // namespace

std::string FiledCableId(const TraceData& trace) {
    std::string id = Trim(trace.notes.CableId);
    if (id.empty())
        id = Trim(trace.header.InstCableId);
    return Cp1252ToUtf8(id);
}

namespace {

// The instrument's own six characters, "081226" or "143200", as three pairs; else split.
std::vector<std::string> Fields(const std::string& text, const std::string& seps) {
    std::string t = Trim(text);
    if (t.size() != 6)
        return Split(t, seps);
    std::vector<std::string> pairs = {t.substr(0, 2), t.substr(2, 2), t.substr(4, 2)};
    for (const std::string& p : pairs)
        if (Digits(p) < 0)
            return Split(t, seps);
    return pairs;
}

} // namespace

std::string IsoDate(const std::string& text) {
    std::vector<std::string> p = Fields(text, "/.-");
    if (p.size() != 3)
        return {};
    int a = Digits(p[0]), b = Digits(p[1]), c = Digits(p[2]);
    int y, m, d;
    if (p[0].size() == 4) {
        y = a, m = b, d = c;
    } else {
        d = a, m = b, y = c;
        if (p[2].size() == 2)
            y = 2000 + c;
        else if (p[2].size() != 4)
            return {};
    }
    if (a < 0 || b < 0 || c < 0 || !RealDate(y, m, d))
        return {};
    return std::to_string(y) + "-" + TwoDigits(m) + "-" + TwoDigits(d);
}

std::string ClockTime(const std::string& text) {
    std::vector<std::string> p = Fields(text, ":");
    if (p.size() < 2 || p.size() > 3)
        return {};
    const int limits[] = {23, 59, 59};
    std::string out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        int v = Digits(p[i]);
        if (p[i].size() > 2 || v < 0 || v > limits[i])
            return {};
        // Appended piece by piece: GCC 12 at -O3 warns falsely on a literal + string&&.
        if (i)
            out += ':';
        out += TwoDigits(v);
    }
    return out;
}

WaveformFacts ReadWaveformFacts(std::span<const std::uint8_t> bytes, bool countEvents) {
    WaveformFacts f;
    MemorySource in(bytes);
    int state = ReadTrace(in, f.trace);
    if (state != LoadOk) {
        f.problem = Cp1252ToUtf8(LoadStateText(state));
        return f;
    }
    f.cable = FiledCableId(f.trace);
    f.date = IsoDate(f.trace.notes.Date);
    f.time = ClockTime(f.trace.notes.Time);
    f.memNo = f.trace.header.MemNo;
    if (countEvents)
        f.events = static_cast<int>(AnalyseTrace(f.trace).events.size());
    return f;
}

int ReadFileForFiling(const std::string& path, std::vector<std::uint8_t>& bytes) {
    // The header, 65535 samples and the longest notes: nothing larger is a waveform.
    constexpr std::size_t kLimit = kHeaderSize + 65535 + kNotesReadLimit;
    bytes.clear();
    InFile in;
    if (int rc = in.Open(path))
        return rc;
    std::uint8_t chunk[16384];
    for (;;) {
        std::size_t got = 0;
        if (int rc = in.Read(chunk, got))
            return rc;
        if (got == 0)
            return 0;
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() > kLimit)
            return kFileTooLarge;
    }
}

std::string FilingReadText(int code) {
    return code == kFileTooLarge ? std::string("too large to be a waveform file")
                                 : Cp1252ToUtf8(IoErrorText(code));
}

ChangeResult ChangeSinceBaseline(const TraceData& test, const TraceData& baseline, int* events) {
    ChangeResult r;
    FirstChange c = CompareWithReference(test, baseline);
    if (events)
        *events = c.problem.empty() ? static_cast<int>(c.wave.events.size())
                                    : static_cast<int>(AnalyseTrace(test).events.size());
    if (!c.problem.empty()) {
        r.kind = ChangeResult::CannotCompare;
        r.problem = Cp1252ToUtf8(c.problem);
        return r;
    }
    if (!c.found) {
        r.kind = ChangeResult::NoChange;
        return r;
    }
    // As `events --reference` measures it: the waveform's own analysis (the comparison's)
    // and dielectric.
    const TraceAnalysis& a = c.wave;
    int diel = std::clamp<int>(test.header.Diel, kMinDiel, kMaxDiel);
    r.kind = ChangeResult::Changed;
    r.timeNs = c.onsetNs;
    r.distance = DistanceFromLaunch(a, c.onsetNs, diel, AxisMetres);
    return r;
}

std::string ChangeNumber(double v) {
    double r = std::nearbyint(v * 1000.0) / 1000.0;
    return ShortestText(r == 0 ? 0.0 : r);
}

} // namespace r470
