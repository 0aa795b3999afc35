// The number of pages of a PDF file's bytes, by its page objects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace r470::test {

inline std::size_t PdfPages(const std::vector<std::uint8_t>& pdf) {
    std::string s(pdf.begin(), pdf.end());
    std::size_t pages = 0;
    for (std::size_t at = 0; (at = s.find("/Type /Page", at)) != std::string::npos; ++at)
        pages += s.compare(at, 12, "/Type /Pages") != 0;
    return pages;
}

} // namespace r470::test
