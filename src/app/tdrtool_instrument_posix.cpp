// tdrtool instrument: a simulated instrument on a pseudo-terminal or a device.
#include "app/tdrtool_cli.h"
#include "common/cp1252.h"
#include "common/file_io.h"
#include "instrument/instrument_sim.h"
#include "instrument/port_release.h"
#include "instrument/sim_line.h"
#include "shell/messages.h"

#include <cstring>
#include <unistd.h>

namespace tdrtool {

std::string InstrumentHelp() {
    return "Usage: tdrtool instrument (--pty | --device PATH) [--memories DIR] [--send LIST]\n"
           "                          [--receive] [--extensions yes|no|mixed] "
           "[--line-rate|--fast]\n"
           "A simulated instrument with 48 memories: those in the waveform files of DIR (by\n"
           "their memory number), the others synthesized.\n"
           "  --pty           make a pseudo-terminal; its port path is the first output line\n"
           "  --send LIST     send memories (\"1,3,5-8\") as after RS232 then 2\n"
           "  --receive       wait for one transmission as after RS232 then 3, check it and\n"
           "                  store its memories in DIR as MEMnn.KEL\n"
           "  --extensions    whether sent records carry the 3-byte extension (yes)\n"
           "  --fast          send as fast as the line takes it instead of at 4800 baud\n"
           "Memories are sent and stored with their fields as they stand on the line.\n";
}

int RunInstrument(const Args& args) {
    bool pty = false, receive = false, fast = false;
    std::string device, dir;
    std::vector<int> sendList;
    r470::ExtensionMode ext = r470::ExtensionMode::Yes;
    std::optional<int> end = ReadArgs(
        args, InstrumentHelp(), nullptr,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            if (name == "--pty") {
                pty = true;
                return std::nullopt;
            } else if (name == "--receive") {
                receive = true;
                return std::nullopt;
            } else if (name == "--fast" || name == "--line-rate") {
                fast = name == "--fast";
                return std::nullopt;
            }
            auto value = r.Value();
            if (!value || value->empty())
                return UsageError("instrument", "\"" + name + "\" needs a value", InstrumentHelp());
            if (name == "--device") {
                device = *value;
            } else if (name == "--memories") {
                dir = *value;
            } else if (name == "--send") {
                auto list = r470::ParseMemoryList(*value);
                if (!list)
                    return UsageError("instrument", "bad memory list \"" + *value + "\"",
                                      InstrumentHelp());
                sendList = *list;
            } else if (name == "--extensions") {
                if (*value == "yes")
                    ext = r470::ExtensionMode::Yes;
                else if (*value == "no")
                    ext = r470::ExtensionMode::No;
                else if (*value == "mixed")
                    ext = r470::ExtensionMode::Mixed;
                else
                    return UsageError("instrument", "bad value \"" + *value + "\" for --extensions",
                                      InstrumentHelp());
            } else {
                return UsageError("instrument", "unknown option \"" + name + "\"",
                                  InstrumentHelp());
            }
            return std::nullopt;
        });
    if (end)
        return *end;
    if (pty == !device.empty())
        return UsageError("instrument", "give one of --pty and --device PATH", InstrumentHelp());
    if (sendList.empty() && !receive)
        return UsageError("instrument", "nothing to do: give --send LIST or --receive",
                          InstrumentHelp());
    if (receive && dir.empty())
        return UsageError("instrument", "--receive needs --memories DIR", InstrumentHelp());

    r470::SimulatedInstrument inst;
    if (!dir.empty()) {
        std::vector<std::string> problems;
        auto loaded = inst.LoadFrom(dir, problems);
        for (const auto& p : problems)
            std::cerr << "tdrtool instrument: " << p << "\n";
        std::cerr << loaded.size() << " memories from " << dir << ", the others synthesized\n";
    }

    r470::ReleasePortsOnSignals("tdrtool instrument: cancelled\n");
    r470::SimPty line;
    int fd = -1;
    if (pty) {
        if (int e = line.Open(); e != 0) {
            std::cerr << "tdrtool instrument: cannot make a pseudo-terminal: " << std::strerror(e)
                      << "\n";
            return kExitFailed;
        }
        fd = line.Fd();
        std::cout << line.PortPath() << std::endl;
    } else {
        int err = 0;
        fd = r470::OpenSimDevice(device, err);
        if (fd < 0) {
            std::cerr << "tdrtool instrument: " << device << ": " << std::strerror(err) << "\n";
            return kExitFailed;
        }
        r470::NoteHeldPort(fd);
    }
    r470::SteadyClock clock;
    int status = kExitOk;
    if (!sendList.empty()) {
        auto bytes = inst.EncodeSend(sendList, ext);
        std::cerr << "sending " << sendList.size() << " memories, " << bytes.size() << " bytes\n";
        int e = r470::WriteLine(fd, bytes, clock, fast ? 0 : r470::kLineByteUs, 60000000);
        if (e != 0) {
            std::cerr << "tdrtool instrument: the line took nothing for a minute\n";
            status = kExitFailed;
        } else if (pty) {
            // Stay until the program has read it all: closing would hang the line up.
            // Written bytes reach the port end a moment later; then it has them until read.
            // A moment of nothing unread can come while the system still moves bytes to the
            // port end, so the line must stay read for a whole second before closing.
            for (int i = 0; i < 100 && line.Unread() == 0; ++i)
                clock.SleepUs(10000);
            for (int i = 0, quiet = 0; i < 1200 && quiet < 10; ++i) {
                quiet = line.Unread() == 0 ? quiet + 1 : 0;
                clock.SleepUs(100000);
            }
        }
        if (status == kExitOk)
            std::cout << "sent " << bytes.size() << " bytes" << std::endl;
    }
    if (receive && status == kExitOk) {
        std::cerr << "waiting for a transmission\n";
        std::vector<std::uint8_t> got;
        r470::ComputerTransmission t;
        bool ok = r470::ReadLine(fd, got, 3600LL * 1000000, 5000000, [&](const auto& b) {
            t = r470::CheckComputerTransmission(b);
            return t.status != r470::ComputerTransmission::NeedMore;
        });
        if (!ok) {
            std::cerr << "tdrtool instrument: transmission incomplete: " << got.size()
                      << " bytes, then nothing for 5 s\n";
            status = kExitFailed;
        } else if (t.status == r470::ComputerTransmission::Bad) {
            std::cerr << "tdrtool instrument: bad transmission: " << t.problem << "\n";
            status = kExitFailed;
        } else {
            std::cout << "received " << t.total << " bytes, " << t.records.size()
                      << " memories, checksum good" << std::endl;
            for (const auto& rec : t.records) {
                std::string path = dir + "/" + r470::MemoryFileName(rec.header.MemNo);
                r470::TraceData trace = r470::MemoryToTrace(rec);
                int e = r470::WriteFileSafely(
                    path, [&](r470::ByteSink& s) { return r470::WriteTrace(s, trace); });
                if (e != 0) {
                    std::cerr << "tdrtool instrument: " << path << ": "
                              << r470::Cp1252ToUtf8(r470::IoErrorText(e)) << "\n";
                    status = kExitFailed;
                    continue;
                }
                std::cout << "memory " << rec.header.MemNo << ": " << rec.samples.size()
                          << " samples" << (rec.hasExtension ? ", with extension" : "") << " -> "
                          << path << std::endl;
            }
        }
    }
    if (!pty) {
        r470::ForgetHeldPort(fd);
        ::close(fd);
    }
    return status;
}

} // namespace tdrtool
