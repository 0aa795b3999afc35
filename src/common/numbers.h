// Numbers as text for people and scripts: the shortest form that reads back the same.
#pragma once

#include <charconv>
#include <string>

namespace r470 {

inline std::string ShortestText(double v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

} // namespace r470
