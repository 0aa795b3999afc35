#include "display/sample_table.h"

#include "common/numbers.h"
#include "waveform/trace_records.h"
#include "waveform/units.h"

#include <algorithm>

namespace r470 {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

int TableDiel(const std::vector<TableWaveform>& waves, const SampleTableOptions& o) {
    int diel = o.diel ? *o.diel : waves.empty() ? kMinDiel : waves.front().data.header.Diel;
    return std::clamp(diel, kMinDiel, kMaxDiel);
}

std::string SamplesCsv(const std::vector<TableWaveform>& waves, const SampleTableOptions& o,
                       std::string& csv) {
    csv.clear();
    if (waves.empty())
        return "no waveform";
    const double ns = SampleIntervalNs(waves.front().data.header);
    auto count = [](const TableWaveform& w) {
        return std::min<int>(w.data.header.SampleCount, static_cast<int>(kMaxSamples));
    };
    int rows = 0;
    for (const TableWaveform& w : waves) {
        if (SampleIntervalNs(w.data.header) != ns)
            return w.name + " has another sample interval than " + waves.front().name;
        rows = std::max(rows, count(w));
    }
    const int diel = TableDiel(waves, o);
    const bool distance = o.axisUnits != AxisTime;

    csv = "sample,time_ns";
    if (distance)
        csv += o.axisUnits == AxisFeet ? ",distance_ft" : ",distance_m";
    for (const TableWaveform& w : waves) {
        csv += ',';
        csv += CsvField(w.name);
    }
    csv += "\r\n";
    for (int i = 1; i <= rows; ++i) {
        // The time the display gives sample i, and so a cursor standing on it.
        double t = (i - 1) * ns;
        csv += std::to_string(i);
        csv += ',';
        csv += ShortestText(t);
        if (distance) {
            csv += ',';
            csv += ShortestText(NsToAxisUnits(diel, o.axisUnits, t));
        }
        for (const TableWaveform& w : waves) {
            csv += ",";
            if (i <= count(w))
                csv += std::to_string(w.data.samples[static_cast<std::size_t>(i - 1)]);
        }
        csv += "\r\n";
    }
    return "";
}

} // namespace r470
