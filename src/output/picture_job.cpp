#include "output/picture_job.h"

#include "waveform/trace_file.h"

#include <algorithm>

namespace r470 {

std::string LoadForPicture(Session& session, Display& display, SetCommands& commands,
                           Prompts& prompts, const PictureOptions& o) {
    if (o.files.empty())
        return "no waveform file given";
    if (o.files.size() > static_cast<std::size_t>(kFileSlots))
        return "at most 4 waveform files";
    if (o.axisUnits)
        session.settings.XAxisUnits = static_cast<std::int16_t>(*o.axisUnits);
    if (o.dielUnits)
        session.settings.DielUnits = static_cast<std::int16_t>(*o.dielUnits);
    for (const std::string& f : o.files)
        if (commands.LoadFile(f) != LoadOk)
            return "cannot load " + f;
    if (o.cursorsNs) {
        DisplayState& s = display.state();
        s.Cursor1Ns = std::clamp(o.cursorsNs->first, s.ViewStartNs, s.ViewEndNs);
        s.Cursor2Ns = std::clamp(o.cursorsNs->second, s.ViewStartNs, s.ViewEndNs);
    }
    if (o.zoom)
        display.Zoom(prompts);
    return "";
}

} // namespace r470
