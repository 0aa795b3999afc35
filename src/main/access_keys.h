// Access letters of one menu level: which item a letter reaches, and whether it acts at once.
#pragma once

#include <span>
#include <string>

namespace r470 {

// The upper-case letter after the "&" of a caption ("&&" is a plain "&"); 0 for none.
char AccessLetter(const std::string& caption);

struct AccessStep {
    int item = -1;    // -1: no item has the letter
    bool act = false; // run or open it now; otherwise only highlight it
};

// A letter that one item has acts on it at once. A letter several items share highlights
// the next of them after `highlighted` (-1 for none), in turn, and acts on nothing.
AccessStep StepByLetter(std::span<const std::string> captions, char letter, int highlighted);

} // namespace r470
