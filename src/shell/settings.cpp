#include "shell/settings.h"

#include "common/bytes.h"
#include "common/file_io.h"
#include "shell/program_place.h"

namespace r470 {

bool UsesNormalToolbar(const SettingsRecord& s) {
    return s.ToolBarKind == 1;
}

std::array<std::uint8_t, kSettingsSize> EncodeSettings(const SettingsRecord& s) {
    std::array<std::uint8_t, kSettingsSize> b{};
    std::span<std::uint8_t> out(b);
    PutI16(out, 0, s.CommPort);
    PutI16(out, 2, s.XAxisUnits);
    PutI16(out, 4, s.DielUnits);
    PutI16(out, 6, s.ToolBarKind);
    PutI16(out, 8, s.WinLeft);
    PutI16(out, 10, s.WinTop);
    PutI16(out, 12, s.WinWidth);
    PutI16(out, 14, s.WinHeight);
    b[24] = s.WinMaximized;
    return b;
}

std::optional<SettingsRecord> DecodeSettings(std::span<const std::uint8_t> b) {
    if (b.size() < kSettingsSize)
        return std::nullopt;
    SettingsRecord s;
    s.CommPort = GetI16(b, 0);
    s.XAxisUnits = GetI16(b, 2);
    s.DielUnits = GetI16(b, 4);
    s.ToolBarKind = GetI16(b, 6);
    s.WinLeft = GetI16(b, 8);
    s.WinTop = GetI16(b, 10);
    s.WinWidth = GetI16(b, 12);
    s.WinHeight = GetI16(b, 14);
    s.WinMaximized = b[24];
    return s;
}

std::string SettingsFileName(const std::string& programPath) {
    std::string base = BaseName(programPath);
    auto dot = base.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        base.resize(dot);
    return base + ".SET";
}

std::string SettingsFilePath(const std::string& programPath, const std::string& configDir) {
    std::string dir = DirName(programPath);
    if (!SharedProgramFolder(dir) && FolderWritable(dir))
        return JoinPath(dir, SettingsFileName(programPath));
    return JoinPath(configDir, SettingsFileName(programPath));
}

std::string SettingsReadPath(const std::string& programPath, const std::string& configDir) {
    std::string beside = JoinPath(DirName(programPath), SettingsFileName(programPath));
    std::string own = SettingsFilePath(programPath, configDir);
    if (own == beside || CanOpenForReading(own))
        return own;
    return beside;
}

SettingsRecord LoadSettings(const std::string& path) {
    InFile f;
    std::array<std::uint8_t, kSettingsSize> b{};
    std::size_t got = 0;
    if (f.Open(path) != 0 || f.Read(b, got) != 0)
        return SettingsRecord{};
    return DecodeSettings(std::span(b.data(), got)).value_or(SettingsRecord{});
}

void SaveSettings(const std::string& path, const SettingsRecord& s) {
    (void)MakeFolder(DirName(path)); // the configuration folder may not exist yet
    auto bytes = EncodeSettings(s);
    (void)WriteFileSafely(path, [&](ByteSink& out) { return out.Write(bytes); });
}

} // namespace r470
