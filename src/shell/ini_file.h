// Read-only INI files: sections and keys match in any letter case, values are read the way
// the window-placement section has always been read (integers, booleans as integers).
#pragma once

#include <map>
#include <optional>
#include <string>

namespace r470 {

class IniFile {
  public:
    static IniFile Parse(const std::string& text);
    // A missing or unreadable file is an empty one.
    static IniFile Load(const std::string& path);

    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    // Every key of a section (in lower case) with its value; empty when there is no section.
    std::map<std::string, std::string> Section(const std::string& section) const;
    // The default when the key is missing or not a whole integer.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

  private:
    std::map<std::string, std::map<std::string, std::string>> sections_; // lower-case names
};

// "R470.INI" in the user's configuration folder.
std::string IniFilePath(const std::string& appName, const std::string& configDir);

// Opens the INI file, reads one integer, closes it.
int ReadIniInt(const std::string& iniPath, const std::string& section, const std::string& key,
               int def);

} // namespace r470
