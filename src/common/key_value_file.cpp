#include "common/key_value_file.h"

namespace r470 {

std::vector<std::pair<std::string, std::string>> ReadKeyValues(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> out;
    InFile f;
    if (f.Open(path) != 0)
        return out;
    std::vector<std::uint8_t> buf(16384);
    std::size_t got = 0;
    if (f.Read(buf, got) != 0)
        return out;
    std::string text(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(got));
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? end : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            out.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return out;
}

int SaveText(const std::string& path, const std::string& text, const FileWriter& writer) {
    return writer(path, [&text](ByteSink& out) {
        return out.Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    });
}

} // namespace r470
