#include "common/temp_files.h"

namespace r470 {

namespace {

constexpr char kPrefix[] = ".r470~";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
constexpr int kRandomLength = 6;
constexpr std::time_t kAbandonedAfter = 60; // seconds without a change

bool IsRandomPart(const std::string& s) {
    if (s.size() != kRandomLength)
        return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

} // namespace

std::string TempFileName(long pid, const std::string& random6) {
    return kPrefix + std::to_string(pid) + "." + random6;
}

long TempFileOwner(const std::string& name) {
    if (name.compare(0, kPrefixLength, kPrefix) != 0)
        return -1;
    std::string rest = name.substr(kPrefixLength);
    if (IsRandomPart(rest))
        return 0;
    auto dot = rest.find('.');
    if (dot == std::string::npos || dot == 0 || dot > 9 || !IsRandomPart(rest.substr(dot + 1)))
        return -1;
    long pid = 0;
    for (std::size_t i = 0; i < dot; ++i) {
        if (rest[i] < '0' || rest[i] > '9')
            return -1;
        pid = pid * 10 + (rest[i] - '0');
    }
    return pid > 0 ? pid : -1;
}

bool TempFileAbandoned(long owner, std::time_t modified, std::time_t now, bool writerGone) {
    if (owner < 0 || now - modified < kAbandonedAfter)
        return false;
    // An older name gives no writer to ask; a minute without a change is long enough.
    return owner == 0 || writerGone;
}

} // namespace r470
