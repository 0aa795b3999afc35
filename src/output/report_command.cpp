#include "output/report_command.h"

#include "common/cp1252.h"
#include "shell/prompts.h"

namespace r470 {

namespace {
std::string LastPart(const std::string& path) {
    auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
} // namespace

std::vector<ReportWaveform> LoadedWaveforms(const Workspace& session, const DisplayState& display) {
    std::vector<ReportWaveform> out;
    for (int n = 1; n <= kFileSlots; ++n) {
        const TraceSlot& slot = session.set.Slot(n);
        if (!slot.Loaded)
            continue;
        ReportWaveform w;
        // The real name as the system spells it; the upper-case form is for the panel only.
        w.fileName = LastPart(slot.Path.empty() ? Cp1252ToUtf8(slot.FileName) : slot.Path);
        w.trace = slot.data;
        w.diel = session.DisplayDiel;
        w.cableType = Cp1252ToUtf8(display.CableName);
        out.push_back(std::move(w));
    }
    return out;
}

int ReportUnits(const SettingsRecord& settings) {
    return settings.XAxisUnits == AxisFeet ? AxisFeet : AxisMetres;
}

ReportOptions ReportOptionsFor(const ReportDefaults& d, int units, const std::string& today) {
    ReportOptions o;
    o.title = d.title.empty() ? kDefaultReportTitle : d.title;
    o.technician = d.technician;
    o.site = d.site;
    o.units = units;
    o.madeOn = today;
    return o;
}

bool CanReport(const Workspace& session, Prompts& prompts) {
    return !NoTraces(session.set, prompts);
}

} // namespace r470
