// The samples of waveforms as a table for other programs (CSV): each sample's number, its
// time and its distance, worked out as the display's cursor readouts work them out.
#pragma once

#include "waveform/trace_file.h"

#include <optional>
#include <string>
#include <vector>

namespace r470 {

struct TableWaveform {
    std::string name; // the column heading: the file's name
    TraceData data;
};

struct SampleTableOptions {
    int axisUnits = 1;       // feet 0, metres 1, time 2 (no distance column)
    std::optional<int> diel; // the first waveform's dielectric otherwise
};

// One CSV field: quoted, with quotes doubled, when it holds a comma, quote or line break.
std::string CsvField(const std::string& text);

// The dielectric a table uses: the given one, else the first waveform's, kept in the
// range the display keeps it in.
int TableDiel(const std::vector<TableWaveform>& waves, const SampleTableOptions& options);

// The table as CSV with CRLF line ends and a heading row: "sample", "time_ns", the distance
// ("distance_ft" or "distance_m") unless on a time axis, then one raw-value column per
// waveform. Samples are numbered from 1; sample i lies at (i - 1) times the sample
// interval. Waveforms of different lengths leave empty cells; they must share one sample
// interval. Returns "" and fills `csv`, or what is wrong.
std::string SamplesCsv(const std::vector<TableWaveform>& waves, const SampleTableOptions& options,
                       std::string& csv);

} // namespace r470
