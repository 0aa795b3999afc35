// Filling and reading dialog controls by name, for commands that build a control's name
// from a prefix and a slot number ("Disp" + "3"): check boxes, and texts of up to 255
// characters. A missing control changes nothing and reads back as false or empty.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace r470 {

void SetCheck(QWidget* form, const QString& name, bool checked);
bool GetCheck(QWidget* form, const QString& name);
void SetEdit(QWidget* form, const QString& name, const std::string& text);
std::string GetEdit(QWidget* form, const QString& name);

} // namespace r470
