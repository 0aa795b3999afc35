#include "archive/archive_export.h"

#include "archive/archive_text.h"
#include "common/file_io.h"
#include "shell/messages.h"

#include <algorithm>
#include <cctype>

namespace r470 {

namespace {

bool DeviceName(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    s = s.substr(0, s.find('.'));
    static const char* kNames[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* n : kNames)
        if (s == n)
            return true;
    return s.size() == 4 && (s.starts_with("COM") || s.starts_with("LPT")) &&
           std::isdigit(static_cast<unsigned char>(s[3]));
}

std::string WithoutExtension(const std::string& name) {
    std::string base = BaseName(name);
    auto dot = base.rfind('.');
    return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}

// Makes `dir` and the folders above it that are missing.
bool MakeFolders(const std::string& dir) {
    if (dir.empty() || IsFolder(dir))
        return true;
    std::string parent = DirName(dir);
    if (parent != dir && !parent.empty() && !MakeFolders(parent))
        return false;
    return MakeFolder(dir);
}

} // namespace

std::string SafePathPart(const std::string& text) {
    std::string s;
    for (char c : text) {
        auto b = static_cast<unsigned char>(c);
        s += (b < 0x20 || std::string("/\\:*?\"<>|").find(c) != std::string::npos) ? '_' : c;
    }
    // Windows drops trailing dots and spaces; a name must not vanish or change.
    while (!s.empty() && (s.back() == '.' || s.back() == ' '))
        s.back() = '_';
    if (s.empty())
        return "_";
    if (DeviceName(s))
        s += "_";
    return s;
}

std::string ArchiveExportName(const ArchiveTest& t) {
    std::string base = WithoutExtension(t.fileName);
    std::string name = std::to_string(t.test) + (base.empty() ? "" : "-" + base) + ".KEL";
    return SafePathPart(t.site.empty() ? "no site" : t.site) + "/" + SafePathPart(t.cable) + "/" +
           SafePathPart(name);
}

ExportResult ExportArchive(CableArchive& archive, const std::string& dir) {
    ExportResult r;
    std::vector<ArchiveTest> tests = archive.List({});
    for (const ArchiveTest& t : tests) {
        std::string rel = ArchiveExportName(t);
        std::string path = dir;
        std::size_t start = 0;
        for (std::size_t slash; (slash = rel.find('/', start)) != std::string::npos;
             start = slash + 1)
            path = JoinPath(path, rel.substr(start, slash - start));
        std::string file = JoinPath(path, rel.substr(start));
        std::optional<std::vector<std::uint8_t>> bytes = archive.Bytes(t.test);
        if (!MakeFolders(path)) {
            r.problems.push_back(file + ": cannot make its folder");
            continue;
        }
        int rc = bytes ? WriteFileBytes(file, *bytes) : -1;
        if (rc != 0)
            r.problems.push_back(
                file + (bytes ? ": " + IoErrorText(rc) : std::string(": its waveform is missing")));
        else
            ++r.written;
    }
    std::string csv = ArchiveIndexCsv(tests);
    if (!MakeFolders(dir))
        r.problems.push_back(dir + ": cannot make the folder");
    else if (int rc =
                 WriteFileBytes(JoinPath(dir, "index.csv"),
                                {reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()}))
        r.problems.push_back(JoinPath(dir, "index.csv") + ": " + IoErrorText(rc));
    return r;
}

} // namespace r470
