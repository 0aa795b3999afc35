// Prompts shown with Qt: the system message box and the program's message window.
#pragma once

#include "shell/prompts.h"

class QString;
class QWidget;

namespace r470 {

class QtPrompts : public Prompts {
  public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned flags) override;
    int ShowUtf8MessageBox(const std::string& utf8, const std::string& caption,
                           unsigned flags) override;
    int ShowMsgWindow(const std::string& text) override;
    void ShowTextWindow(const std::string& caption, const std::string& heading,
                        const std::string& text) override;
    void Beep() override;

  private:
    int Box(const QString& text, const std::string& caption, unsigned flags);

    QWidget* parent_;
};

} // namespace r470
