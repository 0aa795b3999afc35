// The names and texts the archive writes for others: export paths any system accepts, and
// the CSV index read back by a spreadsheet.
#include "archive/archive_export.h"
#include "archive/archive_text.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

TEST(ArchiveNames, PathPartsAnySystemAccepts) {
    const std::pair<const char*, const char*> rows[] = {
        {"FEEDER 1", "FEEDER 1"}, // spaces are fine
        {"A/B\\C:D", "A_B_C_D"},  // no separators or drive colons
        {"what?*\"<>|", "what______"},
        {"..", "._"},           // never a way up
        {"", "_"},              // never empty
        {"trail. ", "trail._"}, // Windows would drop the dot and space
        {"CON", "CON_"},        // device names
        {"com7.kel", "com7.kel_"},
        {"COMPUTER", "COMPUTER"},
        {"tab\there", "tab_here"},
    };
    for (const auto& [text, safe] : rows)
        EXPECT_EQ(SafePathPart(text), safe) << text;
}

TEST(ArchiveNames, IndexQuotesWhatACommaOrQuoteWouldSplit) {
    ArchiveTest t;
    t.test = 7;
    t.site = "North, yard";
    t.cable = "C1";
    t.note = "said \"open\"";
    t.fileName = "X.KEL";
    t.change.kind = ChangeResult::Changed;
    t.change.timeNs = 400.70449;
    t.change.distance = 39.6431;
    std::string csv = ArchiveIndexCsv({t});
    std::string row = csv.substr(csv.find('\n') + 1);
    EXPECT_EQ(row, "7,\"North, yard\",C1,,,,,no,400.704,39.643,,\"said \"\"open\"\"\",X.KEL,,"
                   "\"North, yard/C1/7-X.KEL\"\n");
}

} // namespace
} // namespace r470
