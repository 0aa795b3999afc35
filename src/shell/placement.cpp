#include "shell/placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace r470 {

Placement RestorePlacement(const std::string& appName, const IniFile& ini,
                           const std::string& section, const Placement& current,
                           ScreenSize screen) {
    if (appName.empty())
        return current;
    Placement out = current;
    int top = ini.ReadInteger(section, "Top", current.normal.top);
    int left = ini.ReadInteger(section, "Left", current.normal.left);
    int width = ini.ReadInteger(section, "Width", current.normal.width);
    int height = ini.ReadInteger(section, "Height", current.normal.height);
    bool maximized = ini.ReadBool(section, "Maximized", false);
    if (top < 0 && left < 0 && screen.width < width && screen.height < height)
        maximized = true;
    if (maximized)
        out.maximized = true;
    else
        out.normal = {left, top, width, height};
    return out;
}

Placement StartupPlacement(const std::string& appName, const IniFile& ini,
                           const std::string& section, const Placement& current, ScreenSize screen,
                           const SettingsRecord& settings) {
    Placement out = current;
    int top = ini.ReadInteger(section, "Top", 0);
    int left = ini.ReadInteger(section, "Left", 0);
    bool maximizedByIni = false;
    if (top < 0 && left < 0) {
        int width = ini.ReadInteger(section, "Width", 0);
        int height = ini.ReadInteger(section, "Height", 0);
        maximizedByIni = screen.width < width && screen.height < height;
    }
    if (maximizedByIni)
        out.maximized = true;
    else
        out = RestorePlacement(appName, ini, section, out, screen);

    if (settings.WinMaximized)
        out.maximized = true;
    else if (settings.WinWidth > 0 && settings.WinHeight > 0)
        out.normal = {settings.WinLeft, settings.WinTop, settings.WinWidth, settings.WinHeight};
    out.normal = FitToScreen(out.normal, screen);
    return out;
}

WindowRect FitToScreen(const WindowRect& r, ScreenSize screen) {
    if (screen.width <= 0 || screen.height <= 0)
        return r;
    WindowRect out = r;
    // A window of no size cannot be seen or grabbed; one larger than the screen cannot be
    // made (and a stored 32767 would cost gigabytes of backing image).
    out.width = std::clamp(r.width, 1, screen.width);
    out.height = std::clamp(r.height, 1, screen.height);
    out.left = std::clamp(r.left, 0, screen.width - out.width);
    out.top = std::clamp(r.top, 0, screen.height - out.height);
    return out;
}

namespace {
std::int16_t Clamp16(int v) {
    return static_cast<std::int16_t>(std::clamp<int>(v, std::numeric_limits<std::int16_t>::min(),
                                                     std::numeric_limits<std::int16_t>::max()));
}
} // namespace

void StorePlacement(SettingsRecord& settings, const Placement& now) {
    if (now.maximized) {
        settings.WinMaximized = 1;
        return;
    }
    settings.WinMaximized = 0;
    settings.WinLeft = Clamp16(now.normal.left);
    settings.WinTop = Clamp16(now.normal.top);
    settings.WinWidth = Clamp16(now.normal.width);
    settings.WinHeight = Clamp16(now.normal.height);
}

} // namespace r470
