// What the link subcommands share: the port chosen by --port or --device, the INI port
// mapping, and progress on standard error.
#pragma once

#include "app/tdrtool_cli.h"
#include "app/tdrtool_platform.h"
#include "instrument/data_transfer.h"
#include "instrument/system_port.h"
#include "shell/ini_file.h"
#include "shell/program.h"

#include <algorithm>
#include <cstdio>

namespace tdrtool {

inline r470::PortMap IniPortMap() {
    return r470::PortMap::FromIni(r470::IniFilePath(r470::kAppName, r470::IniFolder()));
}

// --device PATH is reached as a number of its own so that the transfer opens it like any port.
constexpr int kDevicePortNo = 999;

struct PortChoice {
    int portNo = 0;
    std::string device;
};

// A COM number 1 to 256, the whole text; anything else (65543 included) is refused, never cut.
inline std::optional<int> ParsePort(const std::string& text) {
    return ParseNumber<int>(text, 1, r470::PortMap::kHighestPort);
}

inline r470::PortMap MapFor(const PortChoice& c) {
    r470::PortMap m = IniPortMap();
    if (!c.device.empty())
        m.Set(kDevicePortNo, c.device);
    return m;
}
inline int NumberFor(const PortChoice& c) {
    return c.device.empty() ? c.portNo : kDevicePortNo;
}

class StderrProgress : public r470::TransferView {
  public:
    void SetMessage(const std::string& text) override {
        if (!text.empty())
            std::fprintf(stderr, "%s\n", text.c_str());
    }
    void SetButtons(bool, bool) override {}
    void SetProgressMax(int max) override { max_ = max; }
    void SetProgress(int position) override {
        // A terminal gets a running count; a log file only the end of each transfer.
        if (position <= 0 || position == last_ || !StderrIsTerminal() ||
            (position % 64 != 0 && position < max_))
            return;
        last_ = position;
        std::fprintf(stderr, "\r%d of %d bytes", position, max_);
        std::fflush(stderr);
    }
    void End() {
        if (last_ >= 0)
            std::fprintf(stderr, "\n");
    }

  private:
    int max_ = 0;
    int last_ = -1;
};

} // namespace tdrtool

#include "common/cp1252.h"
#include "waveform/trace_file.h"
#include "waveform/waveform_set.h"

namespace tdrtool {

// What is wrong with the "FILE:MEM" arguments themselves (a usage error), or "".
inline std::string ExportItemsProblem(const Args& items) {
    if (items.size() > static_cast<std::size_t>(r470::kFileSlots))
        return "at most 4 waveforms can be sent at once";
    std::vector<int> seen;
    for (const std::string& item : items) {
        auto colon = item.rfind(':');
        auto mem = colon == std::string::npos ? std::nullopt
                                              : ParseNumber<int>(item.substr(colon + 1), 1, 48);
        if (!mem || colon == 0)
            return "\"" + item + "\" is not FILE:MEM with MEM 1 to 48";
        if (std::find(seen.begin(), seen.end(), *mem) != seen.end())
            return "memory " + std::to_string(*mem) + " is given twice";
        seen.push_back(*mem);
    }
    return {};
}

// "FILE:MEM" items into slots 1 to 4, each marked for its memory; the problem, or "".
inline std::string LoadExport(const Args& items, r470::WaveformSet& set,
                              std::array<int, 5>& exportMemory) {
    if (items.size() > static_cast<std::size_t>(r470::kFileSlots))
        return "at most 4 waveforms can be sent at once";
    int slot = 0;
    for (const std::string& item : items) {
        auto colon = item.rfind(':');
        auto mem =
            colon == std::string::npos ? std::nullopt : ParseNumber<int>(item.substr(colon + 1));
        if (!mem || *mem < 1 || *mem > 48)
            return "\"" + item + "\" is not FILE:MEM with MEM 1 to 48";
        std::string file = item.substr(0, colon);
        r470::TraceSlot& s = set.Slot(++slot);
        int state = r470::ReadTraceFile(file, s.data);
        if (state != r470::LoadOk)
            return file + ": " + r470::Cp1252ToUtf8(r470::LoadStateText(state));
        s.Loaded = true;
        s.SlotMarked = true;
        for (int other = 1; other < slot; ++other) {
            if (exportMemory[static_cast<std::size_t>(other)] == *mem)
                return "memory " + std::to_string(*mem) + " is given twice";
        }
        exportMemory[static_cast<std::size_t>(slot)] = *mem;
    }
    return {};
}

} // namespace tdrtool
