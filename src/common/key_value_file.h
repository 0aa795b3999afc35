// Small files of the program's own, one "key=value" a line (UTF-8): the remembered choices.
#pragma once

#include "common/file_io.h"

#include <string>
#include <utility>
#include <vector>

namespace r470 {

// Every "key=value" line of the file's first 16 KiB, in order; lines without "=" are
// skipped and a CR before the line break dropped. A missing or unreadable file gives none.
std::vector<std::pair<std::string, std::string>> ReadKeyValues(const std::string& path);

// Writes `text` whole through `writer`; the writer's error code, 0 when written.
int SaveText(const std::string& path, const std::string& text, const FileWriter& writer);

} // namespace r470
