// UTF-8 inside the program, UTF-16 at the Windows system calls.
#pragma once

#include <string>

namespace r470 {

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

} // namespace r470
