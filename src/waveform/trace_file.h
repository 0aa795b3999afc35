// Reading and writing one waveform file: header, SampleCount samples, nine zero-terminated
// texts.
#pragma once

#include "common/file_io.h"
#include "waveform/trace_records.h"

#include <string>

namespace r470 {

class Prompts;

enum LoadState : int {
    LoadCannotOpen = -1,
    LoadOk = 0,
    LoadAbandoned = 1, // read, then given up at a compatibility question
    LoadNotWaveform = 2,
    LoadWrongVersion = 3,
    LoadReadError = 4,
};

struct TraceData {
    TraceHeader header;
    TraceSamples samples{};
    TraceNotes notes;
};

// The most the notes block can take: nine terminators around the longest texts.
constexpr std::size_t kNotesReadLimit = 1353;

// `anyVersion` reads a file of another format version too (the file dialog's preview).
int ReadTrace(ByteSource& in, TraceData& into, bool anyVersion = false);
int ReadTraceFile(const std::string& path, TraceData& into);
int ReadText(ByteSource& in, TraceNotes& into);

// Waveform files end in ".KEL" in any letter case.
extern const std::string kWaveformExtension;
bool HasWaveformExtension(const std::string& name);

// The message shown for a load state (empty for LoadOk).
std::string LoadStateText(int state);
// Reads `path` and reports a failure the way the program does; returns the state.
int LoadTraceFile(const std::string& path, TraceData& into, Prompts& prompts);

int AppendText(ByteSink& out, const TraceNotes& notes);
int WriteTrace(ByteSink& out, const TraceData& trace);

} // namespace r470
