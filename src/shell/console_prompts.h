// Prompts for programs without a window: each message goes to standard error and every
// question is answered the safe way (Cancel where there is one, else the first button).
#pragma once

#include "shell/prompts.h"

#include <ostream>

namespace r470 {

class ConsolePrompts : public Prompts {
  public:
    explicit ConsolePrompts(std::ostream& out) : out_(out) {}
    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned flags) override;
    int ShowMsgWindow(const std::string& text) override;
    void ShowTextWindow(const std::string& caption, const std::string& heading,
                        const std::string& text) override;
    void Beep() override {}

  private:
    std::ostream& out_;
};

} // namespace r470
