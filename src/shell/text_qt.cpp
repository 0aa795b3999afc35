#include "shell/text_qt.h"

#include "common/cp1252.h"

#include <QFont>

namespace r470 {

QString ToQ(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

std::string FromQ(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

void InstallFontSubstitutes() {
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
}

} // namespace r470
