// Conversion between the program's single-byte Windows-1252 texts and UTF-8 (used only at
// the edges: the window toolkit and the command-line tool's output).
#pragma once

#include <string>

namespace r470 {

std::string Cp1252ToUtf8(const std::string& text);
// Characters with no Windows-1252 form become '?'.
std::string Utf8ToCp1252(const std::string& text);
// The characters of a UTF-8 text that Windows-1252 has no form for, each once in the order
// they first appear, separated by blanks; "" when the whole text can be stored.
std::string Unstorable1252(const std::string& utf8);
// True when `text` is well-formed UTF-8 (no stray, overlong or surrogate sequences): a file
// that is not was most likely written as Windows-1252 by an older editor.
bool IsUtf8(const std::string& text);

} // namespace r470
