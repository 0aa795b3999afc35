#include "output/picture_job.h"

#include "display/compare.h"
#include "display/fault_cursors.h"
#include "shell/messages.h"
#include "waveform/trace_file.h"

#include <algorithm>
#include <cctype>

namespace r470 {

PictureFormat PictureFormatFor(const std::string& path) {
    std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : "";
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".bmp"   ? PictureFormat::Bmp
           : ext == ".png" ? PictureFormat::Png
           : ext == ".pdf" ? PictureFormat::Pdf
                           : PictureFormat::None;
}

std::string PictureRequestError(const PictureOptions& o, const std::string& outPath) {
    if (PictureFormatFor(outPath) == PictureFormat::None)
        return "the picture must be a .bmp, .png or .pdf file";
    return PictureNumbersError(o);
}

std::string PictureNumbersError(const PictureOptions& o) {
    if (o.current && (*o.current < 1 || *o.current > kDiffSlot))
        return "the current slot must be 1 to 5";
    if (o.width < 16 || o.height < 16 || o.width > 20000 || o.height > 20000)
        return "the picture size must be 16 to 20000 pixels each way";
    // A NaN would pass the clamp to the view and reach the pixel conversion.
    if (o.cursorsNs && !(o.cursorsNs->first >= 0 && o.cursorsNs->first <= kMaxCursorNs &&
                         o.cursorsNs->second >= 0 && o.cursorsNs->second <= kMaxCursorNs))
        return "the cursor times must be 0 to " + std::to_string(static_cast<long>(kMaxCursorNs)) +
               " ns";
    auto slot = [](int n) { return n >= 1 && n <= kFileSlots; };
    if (o.diff && !(slot(o.diff->first) && slot(o.diff->second)))
        return "the compared slots must be 1 to 4";
    return "";
}

std::string LoadForPicture(Workspace& session, Display& display, SetCommands& commands,
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
    if (o.diel)
        display.ChangeDiel(*o.diel, prompts);
    if (o.diff) {
        // As if chosen in the display-mode window: every waveform stays shown, the pair is
        // compared and the difference drawn.
        DisplayChoice c;
        for (int n = 1; n <= kFileSlots; ++n) {
            auto i = static_cast<std::size_t>(n - 1);
            c.Disp[i] = session.set.Slot(n).Loaded && session.set.Slot(n).Shown;
            c.Diff[i] = n == o.diff->first || n == o.diff->second;
        }
        c.Disp[kDiffSlot - 1] = true;
        bool inRange = o.diff->first >= 1 && o.diff->first <= kFileSlots && o.diff->second >= 1 &&
                       o.diff->second <= kFileSlots;
        int problem = inRange ? DisplayChoiceProblem(c, session.set) : 125;
        if (problem != 0)
            return "--diff: " + MessageText(problem);
        CompareCommands(session, display, commands, prompts).ApplyDisplayChoice(c);
    }
    if (o.current) {
        if (!session.set.Slot(*o.current).Loaded)
            return "slot " + std::to_string(*o.current) + " holds no waveform";
        session.set.CurTrace = *o.current;
    }
    if (o.cursorsNs) {
        DisplayState& s = display.state();
        s.Cursor1Ns = std::clamp(o.cursorsNs->first, s.ViewStartNs, s.ViewEndNs);
        s.Cursor2Ns = std::clamp(o.cursorsNs->second, s.ViewStartNs, s.ViewEndNs);
    }
    // With nothing found the page is still drawn, with the cursors where the file put them.
    if (o.cursorsAuto)
        FindFault(session.set, display, prompts, false);
    if (o.zoom)
        display.Zoom(prompts);
    return "";
}

} // namespace r470
