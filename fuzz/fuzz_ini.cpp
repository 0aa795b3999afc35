// The INI file is edited by hand: any text must parse, and lookups must not fail on it.
#include "shell/ini_file.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    r470::IniFile ini = r470::IniFile::Parse(text);
    // The placement section the program reads, and a section and key taken from the input
    // itself so that odd names are looked up too.
    const std::string section = "R470 3.04 Version";
    for (const char* key : {"Left", "Top", "Width", "Height", "Maximized"}) {
        (void)ini.ReadInteger(section, key, -1);
        (void)ini.ReadBool(section, key, false);
    }
    auto cut = text.find('\n');
    std::string first = text.substr(0, cut);
    std::string rest = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    (void)ini.Value(first, rest.substr(0, rest.find('\n')));
    (void)ini.ReadInteger("Ports", first, 0);
    return 0;
}
