// tdrtool: the command-line face of the core for scripts, tests and users without a screen.
// Each subcommand only parses its arguments and calls the core; a new one is a file of its
// own (tdrtool_NAME.cpp) and a row in kCommands.
#include "app/tdrtool_cable.h"
#include "app/tdrtool_cli.h"
#include "app/tdrtool_platform.h"

#include <algorithm>
#include <span>

using namespace tdrtool;

namespace {

// ---- the table ----

const Command kCommands[] = {
    {"info", "info [--json] FILE...", "header and notes of waveform files", RunInfo, InfoHelp},
    {"synth", "synth --out FILE [options]", "write a synthetic waveform file", RunSynth, SynthHelp},
    {"csv", "csv FILE... [options]", "samples with time and distance as CSV", RunCsv, CsvHelp},
    {"ports", "ports", "the COM ports that can be opened now", RunPorts, PortsHelp},
    {"receive", "receive (--port N | --device PATH)", "one transmission into buffer.dat",
     RunReceive, ReceiveHelp},
    {"send", "send (--port N | --device PATH) FILE:MEM...", "waveforms into instrument memories",
     RunSend, SendHelp},
    {"encode", "encode FILE:MEM... --out FILE", "the bytes a send puts on the line", RunEncode,
     EncodeHelp},
    {"instrument", "instrument (--pty | --device PATH) ...", "a simulated instrument",
     RunInstrument, InstrumentHelp},
    {"dbrl", "dbrl FILE [--cursors NS1,NS2]", "return loss between two cursor times", RunDbrl,
     DbrlHelp},
    {"events", "events FILE... [--reference FILE] [--json]",
     "reflections, their distances and the first change against a reference", RunEvents,
     EventsHelp},
    {"import-capture", "import-capture CAPTURE --base PATH [options]",
     "write the memories of a captured transmission as waveform files", RunImportCapture,
     ImportCaptureHelp},
    {"cables", "cables [--json]", "the cable types and their velocity factors", RunCables,
     CablesHelp},
    {"vf", "vf FILE --length L (--cursors NS1,NS2 | --auto)", "velocity factor from a known length",
     RunVf, VfHelp},
    {"locate-both", "locate-both A B --length L", "a fault from both ends of a known length",
     RunLocateBoth, LocateBothHelp},
    {"archive", "archive VERB [ARGS] [--db PATH]",
     "the cable archive: file, list, baseline, compare, export", RunArchive, ArchiveHelp},
#ifdef TDRTOOL_HAS_RENDER
    {"render", "render FILE... --out PATH [options]", "draw the display to a BMP, PNG or PDF file",
     RunRender, RenderHelp},
    {"report", "report FILE... --out R.pdf [options]", "the cable test report as a PDF", RunReport,
     ReportHelp},
#endif
};

std::string Usage() {
    std::string s = "Usage: tdrtool COMMAND [ARGS]\n\nCommands:\n";
    for (const Command& c : kCommands) {
        std::string line = "  " + std::string(c.synopsis);
        line.resize(std::max<std::size_t>(line.size() + 2, 32), ' ');
        s += line + std::string(c.summary) + "\n";
    }
    s += "\nRun \"tdrtool help COMMAND\" or \"tdrtool COMMAND --help\" for the arguments of "
         "one command.\n";
    return s;
}

} // namespace

int main(int argc, char** argv) {
    PrepareConsole();
    UseBinaryStreams();
    const Args all = CommandLine(argc, argv);
    if (all.size() < 2) {
        std::cerr << Usage();
        return kExitUsage;
    }
    std::string name = all[1];
    if (IsHelp(name) || name == "help") {
        for (const Command& c : kCommands) {
            if (all.size() > 2 && c.name == all[2]) {
                std::cout << c.help();
                return kExitOk;
            }
        }
        std::cout << Usage();
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (c.name == name)
            return c.run(Args(all.begin() + 2, all.end()));
    }
    std::cerr << "tdrtool: unknown command \"" << name << "\"\n" << Usage();
    return kExitUsage;
}
