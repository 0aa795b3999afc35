#include "main/access_keys.h"

#include <vector>

namespace r470 {

namespace {
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

char AccessLetter(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] != '&')
            return Upper(caption[i + 1]);
        ++i; // "&&" shows one "&"
    }
    return 0;
}

AccessStep StepByLetter(std::span<const std::string> captions, char letter, int highlighted) {
    std::vector<int> with;
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (letter != 0 && AccessLetter(captions[i]) == Upper(letter))
            with.push_back(static_cast<int>(i));
    if (with.empty())
        return {};
    if (with.size() == 1)
        return {with[0], true};
    for (int i : with)
        if (i > highlighted)
            return {i, false};
    return {with[0], false};
}

} // namespace r470
