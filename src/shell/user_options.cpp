#include "shell/user_options.h"

#include <vector>

namespace r470 {

namespace {

constexpr std::size_t kMaxBytes = 16384;

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
    InFile f;
    if (f.Open(path) != 0)
        return o;
    std::vector<std::uint8_t> buf(kMaxBytes);
    std::size_t got = 0;
    if (f.Read(buf, got) != 0)
        return o;
    std::string text(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(got));
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? end : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
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
    const std::string text = UserOptionsText(o);
    return writer(path, [&text](ByteSink& out) {
        return out.Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    });
}

} // namespace r470
