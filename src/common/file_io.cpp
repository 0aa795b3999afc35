#include "common/file_io.h"

#include <algorithm>

namespace r470 {

int MemorySource::Read(std::span<std::uint8_t> into, std::size_t& got) {
    got = std::min(into.size(), data_.size() - pos_);
    std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(pos_), got, into.begin());
    pos_ += got;
    return 0;
}

int WriteFileSafely(const std::string& path, const std::function<int(ByteSink&)>& body) {
    VectorSink collected;
    if (int e = body(collected); e != 0)
        return e; // nothing was touched
    return WriteFileBytes(path, collected.data);
}

bool CanOpenForReading(const std::string& path) {
    InFile f;
    return f.Open(path) == 0;
}

std::string DirName(const std::string& path) {
    auto slash = LastSeparator(path);
    if (slash == std::string::npos)
        return ".";
    if (slash == 0 || (slash == RootLength(path) - 1))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    auto slash = LastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty())
        return name;
    if (IsPathSeparator(dir.back()) || dir.size() == RootLength(dir))
        return dir + name;
    return dir + PreferredSeparator() + name;
}

std::size_t NameStart(const std::string& path) {
    const std::size_t sep = path.find_last_of("/\\");
    if (sep != std::string::npos)
        return sep + 1;
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive ? 2 : 0;
}

std::size_t LastSeparator(const std::string& path) {
    for (std::size_t i = path.size(); i-- > 0;)
        if (IsPathSeparator(path[i]))
            return i;
    return std::string::npos;
}

} // namespace r470
