#include "shell/msg_form.h"

#include "shell/msg_layout.h"
#include "shell/prompts.h"
#include "shell/text_qt.h"
#include "ui_msg_form.h"

#include <QApplication>
#include <QShowEvent>
#include <QTextOption>

namespace r470 {

TMsgForm::TMsgForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TMsgForm>()) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(MsgWindowLayout::ClientWidth, MsgWindowLayout::ClientHeight);
    QPalette pal = ui_->Memo->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    ui_->Memo->setPalette(pal);
    connect(ui_->Button1, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(ui_->Button2, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

TMsgForm::~TMsgForm() = default;

void TMsgForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (ui_->Button1->isDefault())
        ui_->Button1->setFocus();
    else
        ui_->Button2->setFocus();
    raise();
    activateWindow();
}

int ShowMsgWindow(const std::string& text) {
    TMsgForm form;
    auto& ui = form.ui();
    ui.Button1->setText("&Ok");
    ui.Button1->setDefault(true);
    ui.Button1->move(CentredLeft(ui.Memo->width(), ui.Button1->width()), ui.Button1->y());
    ui.Button2->hide();
    form.setWindowTitle("Message:");
    ui.Memo->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
    ui.Memo->append(ToQ(text));
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    // Its one button gives OK, and so do Escape and the window's close: callers may rely on it.
    (void)form.exec();
    QApplication::restoreOverrideCursor();
    return IdOk;
}

} // namespace r470
