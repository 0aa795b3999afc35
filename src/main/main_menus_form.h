// The main window's menu bar and toolbar buttons as tables: caption (with its access
// letter), object name, shortcut and command, in the order they are shown. A command is
// what the item does, usually one call into the core; adding one is a row here.
#pragma once

#include <cstddef>
#include <span>
#include <type_traits>

namespace r470 {

class TMainForm;

// A row's command: a function of the window (most, written in the row) or one of its
// members (for jobs of the window itself).
class FormCommand {
  public:
    using Member = void (TMainForm::*)();
    using Function = void (*)(TMainForm&);

    constexpr FormCommand() = default;
    constexpr FormCommand(std::nullptr_t) {}
    constexpr FormCommand(Member m) : member_(m) {}
    template <class F>
    requires std::is_convertible_v<F, Function>
    constexpr FormCommand(F f) : function_(f) {}

    explicit constexpr operator bool() const { return member_ || function_; }
    void operator()(TMainForm& form) const;

  private:
    Member member_ = nullptr;
    Function function_ = nullptr;
};

struct MenuRow {
    bool topLevel;       // a menu of the bar, or an item of the menu above it
    const char* caption; // "&" marks the access letter; "-" is a separator
    const char* name;    // object name; empty for a separator
    const char* shortcut;
    FormCommand handler; // empty for a menu with items
};

// A button of the normal toolbar and its twin on the instrument toolbar ("" for none) that
// either does what a menu item does or runs its own command. The stepping buttons are not
// here: their tags take them through the press-and-hold rules.
struct ButtonRow {
    const char* normal;
    const char* instrument;
    const char* sameAs; // a menu item's object name, or ""
    FormCommand click = {};
};

std::span<const MenuRow> MainMenuRows();
std::span<const ButtonRow> ToolButtonRows();

} // namespace r470
