// A Prompts double: answers from a script and records every question asked.
#pragma once

#include "shell/prompts.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace r470::test {

struct AskedBox {
    std::string text;
    std::string caption;
    unsigned flags;
};

class ScriptedPrompts : public Prompts {
  public:
    // Answers given in order; running out of answers is a test failure, not a silent OK.
    std::deque<int> answers;
    std::vector<AskedBox> boxes;
    std::vector<std::string> msgWindows;
    struct TextWindow {
        std::string caption, heading, text;
    };
    std::vector<TextWindow> textWindows;
    int beeps = 0;

    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned flags) override {
        boxes.push_back({text, caption, flags});
        if (answers.empty())
            throw std::logic_error("unexpected message box: " + text);
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    // Recorded as given, so a test sees the characters named.
    int ShowUtf8MessageBox(const std::string& utf8, const std::string& caption,
                           unsigned flags) override {
        return ShowMessageBox(utf8, caption, flags);
    }
    int ShowMsgWindow(const std::string& text) override {
        msgWindows.push_back(text);
        return IdOk;
    }
    void ShowTextWindow(const std::string& caption, const std::string& heading,
                        const std::string& text) override {
        textWindows.push_back({caption, heading, text});
    }
    void Beep() override { ++beeps; }
};

} // namespace r470::test
