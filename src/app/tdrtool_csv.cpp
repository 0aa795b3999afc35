// tdrtool csv: the samples of waveform files with their time and distance, as CSV.
#include "app/tdrtool_cable.h"
#include "app/tdrtool_cli.h"
#include "app/tdrtool_units.h"
#include "common/file_io.h"
#include "display/sample_table.h"
#include "shell/console_prompts.h"
#include "shell/messages.h"
#include "waveform/units.h"

namespace tdrtool {

std::string CsvHelp() {
    return "Usage: tdrtool csv FILE... [--units feet|metres|time] [--diel D | --cable NAME]\n"
           "                [--out PATH]\n"
           "Writes the samples of each waveform file as CSV with a heading row: sample\n"
           "number (from 1), time in ns, distance in the chosen unit (none with time),\n"
           "then the raw sample value of each file, one column per file. Several files\n"
           "must share one sample interval. Times and distances are the ones the window's\n"
           "cursor readouts show for a cursor on that sample.\n"
           "  --units U   feet, metres or time (metres)\n"
           "  --diel D    dielectric, PVF x 1000, 300-999 (the first file's)\n"
           "  --cable NAME  the velocity factor of a cable of \"tdrtool cables\"\n"
           "  --out PATH  write to PATH instead of standard output\n";
}

int RunCsv(const Args& args) {
    std::vector<std::string> files;
    r470::SampleTableOptions options;
    std::string out;
    DielOption diel;
    std::optional<int> end = ReadArgs(
        args, CsvHelp(), &files,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            std::optional<std::string> value = r.Value();
            if (name != "--units" && !DielOption::Takes(name) && name != "--out")
                return UsageError("csv", "unknown option \"" + name + "\"", CsvHelp());
            if (!value)
                return UsageError("csv", "\"" + name + "\" needs a value", CsvHelp());
            bool ok = true;
            if (name == "--out") {
                out = *value;
                ok = !out.empty();
            } else if (name == "--units") {
                if (auto units = ParseAxisUnits(*value))
                    options.axisUnits = *units;
                else
                    ok = false;
            } else {
                return diel.Read("csv", name, *value, CsvHelp());
            }
            if (!ok)
                return UsageError("csv", "bad value \"" + *value + "\" for " + name, CsvHelp());
            return std::nullopt;
        });
    if (end)
        return *end;
    options.diel = diel.diel;
    if (files.empty())
        return UsageError("csv", "no waveform file given", CsvHelp());

    r470::ConsolePrompts prompts(std::cerr);
    std::vector<r470::TableWaveform> waves;
    for (const std::string& f : files) {
        r470::TableWaveform w{r470::BaseName(f), {}};
        if (r470::LoadTraceFile(f, w.data, prompts) != r470::LoadOk) {
            std::cerr << "tdrtool csv: cannot load " << f << "\n";
            return kExitFailed;
        }
        waves.push_back(std::move(w));
    }
    std::string csv;
    if (std::string e = r470::SamplesCsv(waves, options, csv); !e.empty()) {
        std::cerr << "tdrtool csv: " << e << "\n";
        return kExitFailed;
    }
    if (out.empty()) {
        std::cout << csv;
        return std::cout.flush() ? kExitOk : kExitFailed;
    }
    int code = r470::WriteFileSafely(out, [&csv](r470::ByteSink& sink) {
        return sink.Write({reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()});
    });
    if (code != 0) {
        std::cerr << "tdrtool csv: cannot write " << out << ": " << r470::IoErrorText(code) << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace tdrtool
