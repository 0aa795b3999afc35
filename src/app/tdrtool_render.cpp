// tdrtool render: the display drawn to a picture without a window.
#ifdef TDRTOOL_HAS_RENDER
#include "app/tdrtool_cable.h"
#include "app/tdrtool_cli.h"
#include "app/tdrtool_load.h"
#include "app/tdrtool_platform.h"
#include "app/tdrtool_units.h"
#include "output/picture_qt.h"
#include "waveform/units.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>

namespace tdrtool {

std::string RenderHelp() {
    return "Usage: tdrtool render FILE... --out PATH [options]\n"
           "Loads the waveform files into slots 1, 2, ... as the window's \"Add waveform\"\n"
           "does and draws what a picture of the display shows: frame, waveforms, scale,\n"
           "cursors, readout line and the details table of the current waveform. PATH\n"
           "ends in .bmp or .png (a picture of --size), or .pdf (the printed A4 page).\n"
           "  --size WxH          picture size in pixels (648x489)\n"
           "  --units U           feet, metres or time (metres)\n"
           "  --diel-units D      pvf, v or v2 (pvf)\n"
           "  --diel D            dielectric, PVF x 1000, 300-999, set after loading as the\n"
           "                      window's dielectric controls set it (the first file's)\n"
           "  --cable NAME        the velocity factor of a cable of \"tdrtool cables\"\n"
           "  --cursors NS1,NS2   cursor times in ns (from the first file); \"auto\" puts\n"
           "                      them on the launch and the largest reflection, as\n"
           "                      \"Find fault\" does\n"
           "  --zoom              zoom on the active cursor\n"
           "  --current N         the selected slot, whose details the table shows (the\n"
           "                      last file)\n"
           "  --diff A,B          also draw slot A minus slot B (lower minus higher)\n";
}

int RunRender(const Args& args) {
    r470::PictureOptions o;
    std::string out;
    DielOption diel;
    std::optional<int> end = ReadArgs(
        args, RenderHelp(), &o.files,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            if (name == "--zoom") {
                o.zoom = true;
                return std::nullopt;
            }
            std::optional<std::string> value = r.Value();
            if (!value)
                return UsageError("render", "\"" + name + "\" needs a value", RenderHelp());
            bool ok = true;
            if (name == "--out") {
                out = *value;
                ok = !out.empty();
            } else if (name == "--size") {
                auto x = value->find('x');
                auto w = ParseNumber<int>(value->substr(0, x), 1);
                auto h = x == std::string::npos ? std::nullopt
                                                : ParseNumber<int>(value->substr(x + 1), 1);
                ok = w && h;
                o.width = w.value_or(0);
                o.height = h.value_or(0);
            } else if (name == "--units") {
                if (auto units = ParseAxisUnits(*value))
                    o.axisUnits = *units;
                else
                    ok = false;
            } else if (DielOption::Takes(name)) {
                return diel.Read("render", name, *value, RenderHelp());
            } else if (name == "--diel-units") {
                if (*value == "pvf")
                    o.dielUnits = r470::DielPvf;
                else if (*value == "v")
                    o.dielUnits = r470::DielV;
                else if (*value == "v2")
                    o.dielUnits = r470::DielVHalf;
                else
                    ok = false;
            } else if (name == "--current") {
                auto n = ParseNumber<int>(*value);
                ok = n.has_value();
                o.current = n;
            } else if (name == "--cursors" && *value == "auto") {
                o.cursorsAuto = true;
            } else if (name == "--cursors") {
                auto times = ParseCursorTimes(*value);
                ok = times.has_value();
                if (ok)
                    o.cursorsNs = *times;
            } else if (name == "--diff") {
                auto comma = value->find(',');
                auto a = ParseNumber<int>(value->substr(0, comma));
                auto b = comma == std::string::npos ? std::nullopt
                                                    : ParseNumber<int>(value->substr(comma + 1));
                ok = a && b;
                if (ok)
                    o.diff = std::make_pair(*a, *b);
            } else {
                return UsageError("render", "unknown option \"" + name + "\"", RenderHelp());
            }
            if (!ok)
                return UsageError("render", "bad value \"" + *value + "\" for " + name,
                                  RenderHelp());
            return std::nullopt;
        });
    if (end)
        return *end;
    o.diel = diel.diel;
    if (out.empty())
        return UsageError("render", "--out PATH is required", RenderHelp());
    if (o.files.empty())
        return UsageError("render", "no waveform file given", RenderHelp());
    if (std::string e = r470::PictureNumbersError(o); !e.empty())
        return UsageError("render", e, RenderHelp());
    // Drawing needs fonts from a GUI application; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Offscreen drawing on Windows looks for fonts only beside Qt, where a real machine has
    // none: the system's own, unless the user named a folder.
    if (std::string fonts = SystemFontFolder();
        !fonts.empty() && qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", QByteArray::fromStdString(fonts));
    // Without a session (a script, a service) there is no runtime folder; a private one for
    // this run keeps Qt from complaining on every picture.
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
    std::string error = r470::RenderPictureFile(o, out, std::cerr);
    if (!error.empty()) {
        std::cerr << "tdrtool render: " << error << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace tdrtool
#endif
