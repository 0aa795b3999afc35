// tdrtool report: the cable test report of waveform files as a PDF.
#ifdef TDRTOOL_HAS_RENDER
#include "app/tdrtool_cli.h"
#include "app/tdrtool_units.h"
#include "output/report_files.h"
#include "output/report_qt.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <optional>

namespace tdrtool {

std::string ReportHelp() {
    return "Usage: tdrtool report FILE... --out R.pdf [options]\n"
           "The cable test report as a PDF: one page per waveform file with its header,\n"
           "graph (cursors on the launch and the largest reflection), reflections and\n"
           "comments, after a summary page when there are several. Every file is read\n"
           "first: one that cannot be read is named with the reason and nothing is written.\n"
           "  --title T           the report's title (\"Cable test report\")\n"
           "  --technician NAME   who made the tests\n"
           "  --site S            where\n"
           "  --units U           feet or metres (metres)\n"
           "  --paper P           a4 or letter (Letter where the locale measures in inches,\n"
           "                      A4 elsewhere)\n"
           "  --baseline FILE     a healthy record of the cable: drawn under each waveform,\n"
           "                      with the first change since it\n";
}

int RunReport(const Args& args) {
    Args files;
    std::string out, baseline;
    r470::ReportOptions o;
    std::optional<r470::PaperKind> paper;
    std::optional<int> end = ReadArgs(
        args, ReportHelp(), &files,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            std::optional<std::string> value = r.Value();
            if (!value)
                return UsageError("report", "\"" + name + "\" needs a value", ReportHelp());
            bool ok = true;
            if (name == "--out") {
                out = *value;
                ok = !out.empty();
            } else if (name == "--title") {
                o.title = *value;
            } else if (name == "--technician") {
                o.technician = *value;
            } else if (name == "--site") {
                o.site = *value;
            } else if (name == "--baseline") {
                baseline = *value;
                ok = !baseline.empty();
            } else if (name == "--units") {
                auto units = ParseAxisUnits(*value);
                ok = units && *units != r470::AxisTime;
                o.units = units.value_or(r470::AxisMetres);
            } else if (name == "--paper") {
                ok = *value == "a4" || *value == "letter";
                paper = *value == "letter" ? r470::PaperKind::Letter : r470::PaperKind::A4;
            } else {
                return UsageError("report", "unknown option \"" + name + "\"", ReportHelp());
            }
            if (!ok)
                return UsageError("report", "bad value \"" + *value + "\" for " + name,
                                  ReportHelp());
            return std::nullopt;
        });
    if (end)
        return *end;
    if (out.empty())
        return UsageError("report", "--out R.pdf is required", ReportHelp());
    if (files.empty())
        return UsageError("report", "no waveform file given", ReportHelp());

    std::vector<r470::ReportWaveform> waveforms;
    if (std::string e = r470::ReadReportFiles(files, baseline, waveforms); !e.empty()) {
        std::cerr << "tdrtool report: " << e << "; no report written\n";
        return kExitFailed;
    }
    // Drawing needs fonts from a GUI application; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::optional<QTemporaryDir> runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeDir.emplace(QDir::tempPath() + "/tdrtool-XXXXXX");
        if (runtimeDir->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
    }
    int argc = 1;
    char name[] = "tdrtool";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    o.madeOn = r470::ReportToday();
    std::string error =
        r470::WriteReportPdf(waveforms, o, paper.value_or(r470::SystemPaper()), out);
    if (!error.empty()) {
        std::cerr << "tdrtool report: cannot write " << out << ": " << error << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace tdrtool
#endif
