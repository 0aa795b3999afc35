// tdrtool report: the cable test report of waveform files as a PDF.
#ifdef TDRTOOL_HAS_RENDER
#include "app/tdrtool_cli.h"
#include "app/tdrtool_units.h"
#include "archive/archive_platform.h"
#include "output/report_archive.h"
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
           "       tdrtool report --cable ID [--site S] --out R.pdf [--db DB] [options]\n"
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
           "                      with the first change since it\n"
           "  --db DB             the cable archive: waveforms filed in it take their site\n"
           "                      and cable ID from it, and their cable's baseline (default\n"
           "                      with --cable: " +
           r470::DefaultArchivePath() +
           ")\n"
           "  --cable ID          every test of this cable in the archive, newest first\n"
           "                      (--site chooses the cable's site)\n";
}

int RunReport(const Args& args) {
    Args files;
    std::string out, baseline, db;
    std::optional<std::string> cable, site;
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
                site = *value;
            } else if (name == "--db") {
                db = *value;
                ok = !db.empty();
            } else if (name == "--cable") {
                cable = *value;
                ok = !cable->empty();
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
    if (cable && !files.empty())
        return UsageError("report", "give waveform files or --cable, not both", ReportHelp());
    if (cable && !baseline.empty())
        return UsageError("report", "--baseline goes with waveform files, not with --cable",
                          ReportHelp());
    if (files.empty() && !cable)
        return UsageError("report", "no waveform file given", ReportHelp());

    auto failed = [](std::string why) {
        if (why.ends_with('.'))
            why.pop_back();
        std::cerr << "tdrtool report: " << why << "; no report written\n";
        return kExitFailed;
    };
    std::vector<r470::ReportWaveform> waveforms;
    std::unique_ptr<r470::CableArchive> archive;
    if (cable || !db.empty()) {
        if (db.empty())
            db = r470::DefaultArchivePath();
        if (db.empty())
            return failed("no folder for the archive: give one with --db DB");
        std::string error;
        r470::ArchiveOpenOptions readOnly;
        readOnly.readOnly = true; // a report changes nothing in the archive
        archive = r470::CableArchive::Open(db, error, readOnly);
        if (!archive)
            return failed(error);
    }
    std::string e;
    if (cable) {
        e = r470::ReadCableReport(*archive, *cable, site, waveforms);
    } else if (archive) {
        e = r470::ReadArchivedReportFiles(*archive, files, baseline, waveforms);
    } else {
        e = r470::ReadReportFiles(files, baseline, waveforms);
    }
    if (!e.empty())
        return failed(e);
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
