// What `tdrtool info` prints about one waveform file: every header field and the notes, as
// a JSON line for scripts or as readable "field: value" lines. Output is UTF-8.
#pragma once

#include "waveform/trace_file.h"

#include <string>

namespace r470 {

// `text` (UTF-8) as a quoted JSON string: quotes, backslashes and control characters
// escaped.
std::string JsonQuote(const std::string& text);
// A file name's bytes as a JSON string that gives them back: UTF-8 as it stands, every byte
// that is not part of valid UTF-8 as the escape "\udcXX" (the lone surrogate U+DC00 + byte,
// as file-system decoders that keep undecodable bytes do).
std::string JsonQuoteFileName(const std::string& name);

// One JSON object on one line, without a line break. `file` is the path as the user gave it
// (taken as UTF-8 when it is valid UTF-8, else as Windows-1252); `trace` is used only when
// `state` is LoadOk. Reserved1 and Reserved2 are arrays of their byte values, Filter and
// Spare numbers, MemMarker a one-character text.
std::string TraceInfoJson(const std::string& file, int state, const TraceData* trace);

// The same facts as "field: value" lines, each ending in a line break; texts are quoted and
// escaped like JSON so that padding and line breaks stay visible.
std::string TraceInfoText(const std::string& file, int state, const TraceData* trace);

} // namespace r470
