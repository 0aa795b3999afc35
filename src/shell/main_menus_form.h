// The main window's menu bar and toolbar buttons as tables: caption (with its access
// letter), object name, shortcut and handler, in the order they are shown.
#pragma once

#include <span>

namespace r470 {

class TMainForm;
using FormHandler = void (TMainForm::*)();

struct MenuRow {
    bool topLevel;       // a menu of the bar, or an item of the menu above it
    const char* caption; // "&" marks the access letter; "-" is a separator
    const char* name;    // object name; empty for a separator
    const char* shortcut;
    FormHandler handler; // null for a menu with items
};

struct ButtonRow {
    const char* name;
    FormHandler click;
};

std::span<const MenuRow> MainMenuRows();
std::span<const ButtonRow> ToolButtonRows();

} // namespace r470
