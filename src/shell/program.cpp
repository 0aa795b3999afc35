#include "shell/program.h"

#include "common/file_io.h"
#include "shell/ini_file.h"
#include "shell/program_place.h"
#include "shell/settings.h"

namespace r470 {

const char* const kAppName = "R470";
const char* const kMainCaption = "R470 3.04 Version";
const char* const kProgName = "Kelvanor Pulsonimetry";
const char* const kVersionText = "Version 3.04 08/03/17";
const char* const kCopyrightText = "Copyright \xA9 2017-2026 Kelvanor Pulsonimetry";
const MakerDetails kMaker = {"Kelvanor Pulsonimetry Ltd",
                             "Unit 4, Fieldside Works",
                             "Harbour Road",
                             "Kelvanor KV1 4TD",
                             "Contact Nos:",
                             "Tel +44 1632 960470"};

std::string WorkingFolder(const std::string& startedIn, const std::string& documents) {
    if (documents.empty() || (FolderWritable(startedIn) && !SharedProgramFolder(startedIn)))
        return startedIn;
    return documents;
}

AppPaths DefaultAppPaths(const std::string& programPath, const std::string& configDir,
                         const std::string& iniDir, const std::string& workingDir) {
    return {SettingsFilePath(programPath, configDir), IniFilePath(kAppName, iniDir), workingDir,
            SettingsReadPath(programPath, configDir), configDir};
}

} // namespace r470
