// What the main window does with keys and with presses on its stepping buttons: it sees
// each key before the focused control, and the menu bar owns its access letters.
#include "shell/main_form.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QWindow>

namespace r470 {

bool TMainForm::MenuBarKey(const QKeyEvent* e, bool act) {
    if (e->modifiers() != Qt::AltModifier || e->key() < Qt::Key_A || e->key() > Qt::Key_Z)
        return false;
    // Two menus share E (Edit, Export) and two H (Graph, Help), and toolbar buttons may
    // share a letter with a menu. The first menu with the letter wins, every time; the
    // others stay one arrow key away once a menu is open.
    QChar letter = QChar('A' + (e->key() - Qt::Key_A));
    for (QAction* a : menuBar()->actions()) {
        QString text = a->text();
        int amp = text.indexOf('&');
        if (amp < 0 || amp + 1 >= text.size() || text[amp + 1].toUpper() != letter)
            continue;
        if (act && a->menu())
            menuBar()->setActiveAction(a);
        else if (act)
            a->trigger();
        return true;
    }
    return false;
}

namespace {
FormKey KeyOf(int key) {
    switch (key) {
    case Qt::Key_Space:
        return FormKey::Space;
    case Qt::Key_Left:
        return FormKey::Left;
    case Qt::Key_Right:
        return FormKey::Right;
    case Qt::Key_Up:
        return FormKey::Up;
    case Qt::Key_Down:
        return FormKey::Down;
    default:
        return FormKey::Other;
    }
}
} // namespace

bool TMainForm::event(QEvent* e) {
    // Claim the menu bar's letters before any shortcut sees them, so that the key press
    // comes to the window and opens the menu (see MenuBarKey).
    if (e->type() == QEvent::ShortcutOverride && MenuBarKey(static_cast<QKeyEvent*>(e), false)) {
        e->accept();
        return true;
    }
    return QMainWindow::event(e);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == windowHandle() &&
        (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (e->type() == QEvent::KeyPress && MenuBarKey(k, true))
            return true;
        FormKey key = KeyOf(k->key());
        if (key == FormKey::Other)
            return false;
        if (e->type() == QEvent::KeyPress)
            return FormKeyDown(key);
        // The system's key repeat sends a release before every repeated press; only the
        // real release ends the hold.
        if (!k->isAutoRepeat())
            FormKeyUp(key);
        return false;
    }
    auto* b = qobject_cast<QPushButton*>(watched);
    if (b && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick))
        RptMouseDown(b->property("tag").toInt());
    else if (b && e->type() == QEvent::MouseButtonRelease)
        RptMouseUp();
    return QMainWindow::eventFilter(watched, e);
}

bool TMainForm::FormKeyDown(FormKey key) {
    bool consumed = repeat_->FormKeyDown(key);
    RepaintWindow();
    return consumed;
}

void TMainForm::FormKeyUp(FormKey key) {
    repeat_->FormKeyUp(key);
}

void TMainForm::RptMouseDown(int tag) {
    Painted([this, tag] { repeat_->RptMouseDown(tag); });
}

void TMainForm::RptMouseUp() {
    repeat_->RptMouseUp();
}

void TMainForm::RptTimerTimer() {
    Painted([this] { repeat_->RptTimerTimer(); });
}

void TMainForm::TaggedClick(int tag) {
    Painted([this, tag] { repeat_->Click(tag); });
}

} // namespace r470
