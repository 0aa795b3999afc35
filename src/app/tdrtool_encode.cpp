// tdrtool encode: the bytes a send puts on the line, written to a file instead.
#include "app/tdrtool_link.h"
#include "shell/messages.h"

namespace tdrtool {

std::string EncodeHelp() {
    return "Usage: tdrtool encode FILE:MEM... --out FILE\n"
           "Writes exactly the bytes that \"tdrtool send\" (and the window's export) puts on\n"
           "the line for the same waveforms, start block to checksum, without a port.\n";
}

int RunEncode(const Args& args) {
    std::string out;
    Args items;
    std::optional<int> end = ReadArgs(
        args, EncodeHelp(), &items,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            auto value = r.Value();
            if (name != "--out" || !value || value->empty())
                return UsageError("encode", "unknown option or missing value \"" + name + "\"",
                                  EncodeHelp());
            out = *value;
            return std::nullopt;
        });
    if (end)
        return *end;
    if (out.empty())
        return UsageError("encode", "--out FILE is required", EncodeHelp());
    if (std::string problem = ExportItemsProblem(items); !problem.empty())
        return UsageError("encode", problem, EncodeHelp());
    r470::WaveformSet set;
    std::array<int, 5> memories{};
    if (std::string problem = LoadExport(items, set, memories); !problem.empty()) {
        std::cerr << "tdrtool encode: " << problem << "\n";
        return kExitFailed;
    }
    const std::vector<std::uint8_t> bytes =
        r470::EncodeExport(r470::MarkedExportItems(set, memories));
    int e = r470::WriteFileSafely(out, [&](r470::ByteSink& s) { return s.Write(bytes); });
    if (e != 0) {
        std::cerr << "tdrtool encode: " << out << ": " << r470::Cp1252ToUtf8(r470::IoErrorText(e))
                  << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace tdrtool
