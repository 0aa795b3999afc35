// tdrtool dbrl: the return loss of a waveform between two cursor times, measured as the
// window's "dBRL" button measures it.
#include "app/tdrtool_cable.h"
#include "app/tdrtool_cli.h"
#include "app/tdrtool_load.h"
#include "common/cp1252.h"
#include "display/return_loss.h"
#include "shell/messages.h"

namespace tdrtool {

std::string DbrlHelp() {
    return "Usage: tdrtool dbrl FILE [--cursors NS1,NS2] [--diel D | --cable NAME]\n"
           "Loads the waveform file as the window's \"Add waveform\" does and measures the\n"
           "return loss between the two cursors (the earlier one on the launched pulse).\n"
           "Prints \"Return loss R\" and \"dBRL L\" with two decimals each, as the result\n"
           "window shows them; a refusal goes to standard error with exit status 1.\n"
           "  --cursors NS1,NS2   cursor times in ns (both at the file's cursor)\n"
           "  --diel D            dielectric, PVF x 1000, 300-999, set after loading as the\n"
           "                      window's dielectric controls set it (the file's)\n"
           "  --cable NAME        the velocity factor of a cable of \"tdrtool cables\"\n";
}

int RunDbrl(const Args& args) {
    std::string file;
    std::optional<std::pair<double, double>> cursors;
    DielOption diel;
    std::optional<int> end = ReadArgs(
        args, DbrlHelp(), nullptr,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            if (!name.starts_with("--")) {
                if (!file.empty())
                    return UsageError("dbrl", "one waveform file only", DbrlHelp());
                file = name;
                return std::nullopt;
            }
            if (name != "--cursors" && !DielOption::Takes(name))
                return UsageError("dbrl", "unknown option \"" + name + "\"", DbrlHelp());
            std::optional<std::string> value = r.Value();
            if (!value)
                return UsageError("dbrl", "\"" + name + "\" needs a value", DbrlHelp());
            if (DielOption::Takes(name))
                return diel.Read("dbrl", name, *value, DbrlHelp());
            auto comma = value->find(',');
            auto a = ParseNumber<double>(value->substr(0, comma));
            auto b = comma == std::string::npos ? std::nullopt
                                                : ParseNumber<double>(value->substr(comma + 1));
            if (!a || !b)
                return UsageError("dbrl", "bad value \"" + *value + "\" for " + name, DbrlHelp());
            cursors = std::make_pair(*a, *b);
            return std::nullopt;
        });
    if (end)
        return *end;
    if (file.empty())
        return UsageError("dbrl", "no waveform file given", DbrlHelp());

    WindowlessLoad loaded;
    r470::Workspace& session = loaded.session;
    r470::Display& display = loaded.display;
    if (!loaded.Load(file))
        return kExitFailed;
    if (diel.diel)
        display.ChangeDiel(*diel.diel, loaded.prompts);
    const r470::DisplayState& s = display.state();
    double c1 = cursors ? cursors->first : s.Cursor1Ns;
    double c2 = cursors ? cursors->second : s.Cursor2Ns;
    r470::ReturnLoss rl = r470::MeasureCurrentReturnLoss(session.set, c1, c2);
    if (rl.refusal != 0) {
        std::cerr << r470::Cp1252ToUtf8(r470::MessageText(rl.refusal)) << "\n";
        return kExitFailed;
    }
    std::cout << r470::Cp1252ToUtf8(r470::MessageText(152)) << " " << rl.ratioText << "\n"
              << r470::Cp1252ToUtf8(r470::MessageText(151)) << " " << rl.dBText << "\n";
    return kExitOk;
}

} // namespace tdrtool
