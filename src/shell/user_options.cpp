#include "shell/user_options.h"

#include "common/key_value_file.h"

namespace r470 {

namespace {

// A path with a line break in it cannot be kept on one line: it is not kept.
bool OneLine(const std::string& s) {
    for (char c : s)
        if (c == '\n' || c == '\r' || c == '\0')
            return false;
    return true;
}

} // namespace

std::string UserFilesDir(const AppPaths& paths) {
    return paths.configDir.empty() ? DirName(paths.iniFile) : paths.configDir;
}

std::string UserOptionsPath(const AppPaths& paths) {
    return JoinPath(UserFilesDir(paths), "r470-options.txt");
}

UserOptions ReadUserOptions(const std::string& path) {
    UserOptions o;
    for (const auto& [key, value] : ReadKeyValues(path)) {
        if (key == "archive")
            o.archivePath = value;
        else if (key == "import")
            o.importToArchive = value == "archive";
    }
    return o;
}

std::string UserOptionsText(const UserOptions& o) {
    return "archive=" + (OneLine(o.archivePath) ? o.archivePath : std::string()) +
           "\nimport=" + (o.importToArchive ? "archive" : "files") + "\n";
}

int SaveUserOptions(const std::string& path, const UserOptions& o, const FileWriter& writer) {
    return SaveText(path, UserOptionsText(o), writer);
}

} // namespace r470
