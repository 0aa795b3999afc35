#include "shell/console_prompts.h"

#include "common/cp1252.h"

namespace r470 {

int ConsolePrompts::ShowMessageBox(const std::string& text, const std::string& caption,
                                   unsigned flags) {
    out_ << Cp1252ToUtf8(caption.empty() ? text : caption + ": " + text) << "\n";
    MessageBoxLayout layout = LayoutForFlags(flags);
    return layout.escapeButton ? layout.escapeButton : layout.buttons.front();
}

int ConsolePrompts::ShowMsgWindow(const std::string& text) {
    out_ << Cp1252ToUtf8(text) << "\n";
    return IdOk;
}

void ConsolePrompts::ShowTextWindow(const std::string& caption, const std::string& heading,
                                    const std::string& text) {
    std::string first = heading.empty() ? caption : caption + ": " + heading;
    out_ << Cp1252ToUtf8(first) << "\n" << Cp1252ToUtf8(text) << "\n";
}

} // namespace r470
