// The one crossing between the core's Windows-1252 texts and Qt's strings.
#pragma once

#include <QString>
#include <string>

namespace r470 {

QString ToQ(const std::string& cp1252);
std::string FromQ(const QString& text);

// The program's window font and picture font map to metric-compatible free fonts.
void InstallFontSubstitutes();

} // namespace r470
