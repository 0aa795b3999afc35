#include "shell/prompts_qt.h"

#include "shell/msg_form.h"
#include "shell/text_qt.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace r470 {
namespace {

QMessageBox::StandardButton ToStandard(int id) {
    switch (id) {
    case IdOk:
        return QMessageBox::Ok;
    case IdCancel:
        return QMessageBox::Cancel;
    case IdAbort:
        return QMessageBox::Abort;
    case IdRetry:
        return QMessageBox::Retry;
    case IdIgnore:
        return QMessageBox::Ignore;
    case IdYes:
        return QMessageBox::Yes;
    default:
        return QMessageBox::No;
    }
}

QMessageBox::Icon ToQtIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Stop:
        return QMessageBox::Critical;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::Exclamation:
        return QMessageBox::Warning;
    case BoxIcon::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtPrompts::ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return Box(ToQ(BoxText(text)), caption, flags);
}

int QtPrompts::ShowUtf8MessageBox(const std::string& utf8, const std::string& caption,
                                  unsigned flags) {
    return Box(QString::fromStdString(utf8.substr(0, utf8.find('\0'))), caption, flags);
}

int QtPrompts::Box(const QString& text, const std::string& caption, unsigned flags) {
    MessageBoxLayout layout = LayoutForFlags(flags);
    QWidget* parent = parent_ ? parent_ : QApplication::activeWindow();
    QMessageBox box(ToQtIcon(layout.icon), ToQ(BoxTitle(caption)), text, QMessageBox::NoButton,
                    parent);
    std::map<QAbstractButton*, int> ids;
    for (int id : layout.buttons)
        ids[box.addButton(ToStandard(id))] = id;
    box.setDefaultButton(ToStandard(layout.buttons.front()));
    if (layout.escapeButton)
        box.setEscapeButton(box.button(ToStandard(layout.escapeButton)));
    // The box needs the arrow even while the caller shows an hourglass.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    auto it = ids.find(box.clickedButton());
    if (it != ids.end())
        return it->second;
    // Closed without a button (only boxes that have no Cancel can get here).
    return layout.escapeButton ? layout.escapeButton : layout.buttons.back();
}

int QtPrompts::ShowMsgWindow(const std::string& text) {
    return r470::ShowMsgWindow(text);
}

void QtPrompts::ShowTextWindow(const std::string& caption, const std::string& heading,
                               const std::string& text) {
    QDialog window(parent_ ? parent_ : QApplication::activeWindow());
    window.setObjectName("TextWindow");
    window.setWindowTitle(ToQ(BoxTitle(caption)));
    auto* layout = new QVBoxLayout(&window);
    if (!heading.empty()) {
        auto* label = new QLabel(ToQ(heading), &window);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto* body = new QPlainTextEdit(&window);
    body->setObjectName("Text");
    body->setReadOnly(true);
    body->setLineWrapMode(QPlainTextEdit::NoWrap);
    body->setPlainText(ToQ(text).replace("\r\n", "\n"));
    layout->addWidget(body);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &window);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    layout->addWidget(buttons);
    // Wide enough for the longest line, up to half the screen; the rest scrolls.
    const QFontMetrics fm = body->fontMetrics();
    int widest = 0;
    for (const QString& line : body->toPlainText().split('\n'))
        widest = std::max(widest, fm.horizontalAdvance(line));
    window.resize(std::clamp(widest + 60, 360, 900),
                  std::clamp(fm.lineSpacing() * (body->blockCount() + 2) + 100, 200, 560));
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    window.exec();
    QApplication::restoreOverrideCursor();
}

void QtPrompts::Beep() {
    QApplication::beep();
}

} // namespace r470
