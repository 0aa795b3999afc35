#include "shell/prompts.h"

#include "common/cp1252.h"

namespace r470 {

MessageBoxLayout LayoutForFlags(unsigned flags) {
    MessageBoxLayout layout;
    switch (flags & 0x0F) {
    case MbOkCancel:
        layout.buttons = {IdOk, IdCancel};
        layout.escapeButton = IdCancel;
        break;
    case MbAbortRetryIgnore:
        layout.buttons = {IdAbort, IdRetry, IdIgnore};
        break;
    case MbYesNoCancel:
        layout.buttons = {IdYes, IdNo, IdCancel};
        layout.escapeButton = IdCancel;
        break;
    case MbYesNo:
        layout.buttons = {IdYes, IdNo};
        break;
    case MbRetryCancel:
        layout.buttons = {IdRetry, IdCancel};
        layout.escapeButton = IdCancel;
        break;
    default:
        layout.buttons = {IdOk};
        layout.escapeButton = IdOk;
        break;
    }
    switch (flags & 0xF0) {
    case MbIconStop:
        layout.icon = BoxIcon::Stop;
        break;
    case MbIconQuestion:
        layout.icon = BoxIcon::Question;
        break;
    case MbIconExclamation:
        layout.icon = BoxIcon::Exclamation;
        break;
    case MbIconInformation:
        layout.icon = BoxIcon::Information;
        break;
    default:
        break;
    }
    return layout;
}

namespace {
constexpr std::size_t kBoxTextMax = 255;
}

std::string BoxText(const std::string& text) {
    std::string out = text.substr(0, text.find('\0'));
    if (out.size() > kBoxTextMax)
        out.resize(kBoxTextMax);
    return out;
}

int Prompts::ShowUtf8MessageBox(const std::string& utf8, const std::string& caption,
                                unsigned flags) {
    return ShowMessageBox(Utf8ToCp1252(utf8), caption, flags);
}

void ShowInformation(Prompts& prompts, const std::string& caption, const std::string& text) {
    if (BoxText(text) == text)
        prompts.ShowMessageBox(text, caption, MbOk | MbIconInformation);
    else
        prompts.ShowTextWindow(caption, "", text);
}

std::string BoxTitle(const std::string& caption) {
    std::string out = BoxText(caption);
    return out.empty() ? " " : out;
}

} // namespace r470
