#include "main/access_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace r470 {
namespace {

TEST(AccessKeys, LetterIsTheOneAfterTheAmpersand) {
    for (auto [caption, letter] : {std::pair{"&File", 'F'},
                                   {"Grap&h", 'H'},
                                   {"Save &as", 'A'},
                                   {"R&&D &notes", 'N'}, // "&&" is a plain "&"
                                   {"R&&D", '\0'},
                                   {"dBRL", '\0'},
                                   {"end&", '\0'}})
        EXPECT_EQ(AccessLetter(caption), letter) << caption;
}

TEST(AccessKeys, UniqueLetterActsSharedLetterHighlightsInTurn) {
    const std::vector<std::string> bar = {"&File",   "&Import",  "Grap&h", "&Edit",
                                          "&Export", "&Toolbar", "&Help"};
    struct Case {
        char letter;
        int highlighted;
        int item;
        bool act;
    };
    for (Case c : {Case{'f', -1, 0, true}, // either case, at once
                   {'T', 3, 5, true},      // a unique letter acts even while another is lit
                   {'E', -1, 3, false},    // shared: the first, only highlighted
                   {'E', 3, 4, false},     // then the next
                   {'e', 4, 3, false},     // and round again
                   {'E', 1, 3, false},     // from an item without the letter: the next one on
                   {'H', 5, 6, false},
                   {'H', 6, 2, false},
                   {'Q', 3, -1, false}, // nobody's letter
                   {'\0', -1, -1, false}}) {
        AccessStep s = StepByLetter(bar, c.letter, c.highlighted);
        EXPECT_EQ(s.item, c.item) << c.letter << " from " << c.highlighted;
        EXPECT_EQ(s.act, c.act) << c.letter << " from " << c.highlighted;
    }
}

} // namespace
} // namespace r470
