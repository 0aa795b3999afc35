// "Report...": the waveforms loaded in the window as the report's pages, measured with the
// dielectric and cable type in use, in the display's distance unit.
#pragma once

#include "display/display.h"
#include "output/report_defaults.h"
#include "output/report_pages.h"

#include <vector>

namespace r470 {

class Prompts;

// Slots 1 to 4 in order; the difference waveform has no file and no page of its own.
std::vector<ReportWaveform> LoadedWaveforms(const Workspace& session, const DisplayState& display);

// Feet when the display shows feet, metres otherwise (a time axis has no distance).
int ReportUnits(const SettingsRecord& settings);

ReportOptions ReportOptionsFor(const ReportDefaults& d, int units, const std::string& today);

// The command's guard: "No traces loaded" told and false when there is nothing to report.
bool CanReport(const Workspace& session, Prompts& prompts);

} // namespace r470
