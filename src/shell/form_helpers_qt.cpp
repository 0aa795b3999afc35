#include "shell/form_helpers_qt.h"

#include "shell/text_qt.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace r470 {

namespace {
constexpr int kMaxControlText = 255;
}

void SetCheck(QWidget* form, const QString& name, bool checked) {
    if (auto* b = form ? form->findChild<QAbstractButton*>(name) : nullptr)
        b->setChecked(checked);
}

bool GetCheck(QWidget* form, const QString& name) {
    auto* b = form ? form->findChild<QAbstractButton*>(name) : nullptr;
    return b && b->isChecked();
}

void SetEdit(QWidget* form, const QString& name, const std::string& text) {
    QWidget* w = form ? form->findChild<QWidget*>(name) : nullptr;
    QString t = ToQ(text);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(t);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(t);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(t);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->setPlainText(t);
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->setCurrentText(t);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(t);
    else if (w)
        w->setWindowTitle(t);
}

std::string GetEdit(QWidget* form, const QString& name) {
    QWidget* w = form ? form->findChild<QWidget*>(name) : nullptr;
    QString t;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        t = e->text();
    else if (auto* l = qobject_cast<QLabel*>(w))
        t = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        t = b->text();
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        t = p->toPlainText();
    else if (auto* c = qobject_cast<QComboBox*>(w))
        t = c->currentText();
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        t = g->title();
    return FromQ(t).substr(0, kMaxControlText);
}

} // namespace r470
