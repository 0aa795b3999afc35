#include "waveform/trace_info.h"

#include "common/numbers.h"

#include "common/cp1252.h"

#include <charconv>
#include <cstdint>
#include <vector>

namespace r470 {
namespace {

// The length of the well-formed UTF-8 sequence at `i`, or 0 when the byte there starts none.
std::size_t Utf8SequenceAt(const std::string& s, std::size_t i) {
    auto b = static_cast<std::uint8_t>(s[i]);
    std::size_t len = 0;
    char32_t c = 0, min = 0;
    if (b < 0x80)
        return 1;
    if ((b & 0xE0) == 0xC0)
        len = 2, c = b & 0x1F, min = 0x80;
    else if ((b & 0xF0) == 0xE0)
        len = 3, c = b & 0x0F, min = 0x800;
    else if ((b & 0xF8) == 0xF0)
        len = 4, c = b & 0x07, min = 0x10000;
    else
        return 0;
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        auto cb = static_cast<std::uint8_t>(s[i + k]);
        if ((cb & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (cb & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return len;
}

// A field of the report: its name and one JSON value, or several for an array.
struct Field {
    std::string name;
    std::vector<std::string> values;
    bool array = false;
};

std::string Text(const std::string& cp1252) {
    return JsonQuote(Cp1252ToUtf8(cp1252));
}

std::string Number(long long v) {
    return std::to_string(v);
}

template <std::size_t N>
Field Bytes(const std::string& name, const std::array<std::uint8_t, N>& a) {
    Field f{name, {}, true};
    for (std::uint8_t b : a)
        f.values.push_back(Number(static_cast<long long>(b)));
    return f;
}

Field One(const std::string& name, std::string value) {
    return Field{name, {std::move(value)}};
}

std::vector<Field> Fields(const std::string& file, int state, const TraceData* trace) {
    std::vector<Field> out = {
        One("file", JsonQuoteFileName(file)),
        One("state", Number(static_cast<long long>(state))),
        One("message", Text(LoadStateText(state))),
    };
    if (state != LoadOk || trace == nullptr)
        return out;
    const TraceHeader& h = trace->header;
    auto num = [](long long v) { return Number(v); };
    std::vector<Field> head = {
        One("Signature", Text(h.Signature)),
        Bytes("Reserved1", h.Reserved1),
        One("Spare", num(h.Spare)),
        One("FileVersion", num(h.FileVersion)),
        One("MemMarker", Text(std::string(1, static_cast<char>(h.MemMarker)))),
        One("MemNo", num(h.MemNo)),
        One("Gain", num(h.Gain)),
        One("SampleIntLo", num(h.SampleIntLo)),
        One("SampleIntHi", num(h.SampleIntHi)),
        One("SampleCount", num(h.SampleCount)),
        One("InstDiel", num(h.InstDiel)),
        One("PulseWidth", num(h.PulseWidth)),
        One("ModeText", Text(h.ModeText)),
        One("InstCursor", num(h.InstCursor)),
        One("MaxSample", num(h.MaxSample)),
        One("InstCableId", Text(h.InstCableId)),
        One("InstDate", Text(h.InstDate)),
        One("InstTime", Text(h.InstTime)),
        One("Machine1", Text(h.Machine1)),
        One("Machine2", Text(h.Machine2)),
        One("DispGain", num(h.DispGain)),
        One("Diel", num(h.Diel)),
        One("Cursor", num(h.Cursor)),
        One("Filter", num(h.Filter)),
        One("Impedance", num(h.Impedance)),
        Bytes("Reserved2", h.Reserved2),
        One("NsPerSample", ShortestText(SampleIntervalNs(h))),
    };
    out.insert(out.end(), head.begin(), head.end());
    const TraceNotes& n = trace->notes;
    out.push_back(One("Date", Text(n.Date)));
    out.push_back(One("Time", Text(n.Time)));
    out.push_back(One("CableId", Text(n.CableId)));
    Field comments{"Comments", {}, true};
    for (const std::string& c : n.Comments)
        comments.values.push_back(Text(c));
    out.push_back(comments);
    out.push_back(One("MoreComments", Text(n.MoreComments)));
    return out;
}

} // namespace

std::string JsonQuote(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (char ch : text) {
        auto b = static_cast<std::uint8_t>(ch);
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (b < 0x20) {
                out += "\\u00";
                out += kHex[b >> 4];
                out += kHex[b & 0xF];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

std::string JsonQuoteFileName(const std::string& name) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    std::size_t i = 0;
    while (i < name.size()) {
        std::size_t len = Utf8SequenceAt(name, i);
        if (len == 0) {
            auto b = static_cast<std::uint8_t>(name[i++]);
            out += "\\udc";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
            continue;
        }
        std::string quoted = JsonQuote(name.substr(i, len));
        out += quoted.substr(1, quoted.size() - 2);
        i += len;
    }
    return out + '"';
}

std::string TraceInfoJson(const std::string& file, int state, const TraceData* trace) {
    std::string out = "{";
    bool first = true;
    for (const Field& f : Fields(file, state, trace)) {
        if (!first)
            out += ',';
        first = false;
        out += JsonQuote(f.name) + ':';
        if (!f.array) {
            out += f.values.front();
            continue;
        }
        out += '[';
        for (std::size_t i = 0; i < f.values.size(); ++i)
            out += (i ? "," : "") + f.values[i];
        out += ']';
    }
    out += '}';
    return out;
}

std::string TraceInfoText(const std::string& file, int state, const TraceData* trace) {
    std::string out;
    for (const Field& f : Fields(file, state, trace)) {
        if (f.name == "message" && state == LoadOk)
            continue; // an empty message says nothing to a reader
        if (!f.array) {
            out += f.name + ": " + f.values.front() + "\n";
        } else if (f.name == "Comments") {
            // One line each, numbered from 1 as the program shows them.
            for (std::size_t i = 0; i < f.values.size(); ++i)
                out += f.name + std::to_string(i + 1) + ": " + f.values[i] + "\n";
        } else {
            out += f.name + ":";
            for (const std::string& v : f.values)
                out += " " + v;
            out += "\n";
        }
    }
    return out;
}

} // namespace r470
