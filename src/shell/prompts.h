// What the core may ask of the user: the system message box, the program's own message
// window and the beep. The window program shows them; tests answer from a script.
#pragma once

#include <string>
#include <vector>

namespace r470 {

// Button identifiers returned by a message box.
enum ButtonId : int {
    IdOk = 1,
    IdCancel = 2,
    IdAbort = 3,
    IdRetry = 4,
    IdIgnore = 5,
    IdYes = 6,
    IdNo = 7
};

// Flag words: the low four bits choose the buttons, the next four the icon.
enum MbFlags : unsigned {
    MbOk = 0,
    MbOkCancel = 1,
    MbAbortRetryIgnore = 2,
    MbYesNoCancel = 3,
    MbYesNo = 4,
    MbRetryCancel = 5,
    MbIconStop = 0x10,
    MbIconQuestion = 0x20,
    MbIconExclamation = 0x30,
    MbIconInformation = 0x40,
};

enum class BoxIcon { None, Stop, Question, Exclamation, Information };

struct MessageBoxLayout {
    std::vector<int> buttons; // ButtonId values, left to right; the first is the default
    BoxIcon icon = BoxIcon::None;
    int escapeButton = 0; // the answer Escape or the close box gives; 0 when neither may
};

MessageBoxLayout LayoutForFlags(unsigned flags);

// A text as the message box takes it: up to the first zero byte, at most 255 characters.
std::string BoxText(const std::string& text);
// The window title for a box's caption. An empty one is shown as one blank: an empty title
// would make the window system put the program's name there instead.
std::string BoxTitle(const std::string& caption);

class Prompts {
  public:
    virtual ~Prompts() = default;
    virtual int ShowMessageBox(const std::string& text, const std::string& caption,
                               unsigned flags) = 0;
    // A box whose text is UTF-8, not the program's code page: it names characters that code
    // page has no room for. Where UTF-8 cannot be shown, they come out as "?".
    virtual int ShowUtf8MessageBox(const std::string& utf8, const std::string& caption,
                                   unsigned flags);
    virtual int ShowMsgWindow(const std::string& text) = 0;
    // A text longer than a message box takes (a help, every problem of a file): a heading
    // over the text in a box that scrolls and lets the user copy it, and one OK button.
    // Where there is no such window, a message box with as much of it as the box takes.
    virtual void ShowTextWindow(const std::string& caption, const std::string& heading,
                                const std::string& text) {
        ShowMessageBox(heading.empty() ? text : heading + "\r\n" + text, caption,
                       MbOk | MbIconInformation);
    }
    virtual void Beep() = 0;
};

// An information box with one OK button, or the text window when the text is longer than a
// box takes.
void ShowInformation(Prompts& prompts, const std::string& caption, const std::string& text);

} // namespace r470
