// The 106-byte settings record and the settings file beside the program.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace r470 {

constexpr std::size_t kSettingsSize = 106;

struct SettingsRecord {
    std::int16_t CommPort = 2;
    std::int16_t XAxisUnits = 1;  // 0 feet, 1 metres, 2 time
    std::int16_t DielUnits = 0;   // 0 PVF, 1 V, 2 V/2
    std::int16_t ToolBarKind = 1; // 1 normal, anything else instrument
    std::int16_t WinLeft = 0;
    std::int16_t WinTop = 0;
    std::int16_t WinWidth = 0;
    std::int16_t WinHeight = 0;
    std::uint8_t WinMaximized = 0;

    bool operator==(const SettingsRecord&) const = default;
};

// The normal toolbar, or the instrument's keypad.
bool UsesNormalToolbar(const SettingsRecord& s);

std::array<std::uint8_t, kSettingsSize> EncodeSettings(const SettingsRecord& s);
// Nothing when fewer than 106 bytes are given: a cut record is not half-applied.
std::optional<SettingsRecord> DecodeSettings(std::span<const std::uint8_t> bytes);

// The settings file's name for a program file: its extension replaced by ".SET"
// ("r470" gives "r470.SET"). It lives beside the program, or in `configDir` when the
// program's folder cannot be written.
std::string SettingsFileName(const std::string& programPath);
std::string SettingsFilePath(const std::string& programPath, const std::string& configDir);
// The file to read at start-up. Where the program's folder cannot be written, the user's
// own copy when there is one, else the one beside the program (an administrator may have
// put one there for every user).
std::string SettingsReadPath(const std::string& programPath, const std::string& configDir);

// Missing, unreadable or short files give the defaults.
SettingsRecord LoadSettings(const std::string& path);
// Failures are silent: the settings are a convenience, never a reason to stop.
void SaveSettings(const std::string& path, const SettingsRecord& s);

} // namespace r470
