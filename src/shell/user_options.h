// What the window remembers beyond the fixed settings record: the cable archive's file and
// where the last import went. A small UTF-8 file of the program's own in the user's
// configuration folder, written when a choice changes.
#pragma once

#include "common/file_io.h"
#include "shell/program.h"

#include <string>

namespace r470 {

struct UserOptions {
    std::string archivePath;      // empty: the default place
    bool importToArchive = false; // the import's last destination
    bool operator==(const UserOptions&) const = default;
};

// The folder for the user's own files: `configDir`, else the INI file's.
std::string UserFilesDir(const AppPaths& paths);
std::string UserOptionsPath(const AppPaths& paths);
// Lines "key=value"; unknown keys and a missing or unreadable file leave the defaults.
UserOptions ReadUserOptions(const std::string& path);
std::string UserOptionsText(const UserOptions& o);
// 0 or the writer's error code.
int SaveUserOptions(const std::string& path, const UserOptions& o,
                    const FileWriter& writer = WriteFileSafely);

} // namespace r470
