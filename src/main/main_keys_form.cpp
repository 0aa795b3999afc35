// What the main window does with keys and with presses on its stepping buttons: it sees
// each key before the focused control, and the menu bar owns its access letters.
#include "main/access_menu_bar_qt.h"
#include "main/main_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QWindow>

namespace r470 {

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
    // Claim the menu bar's letters (and every key while it highlights an item) before any
    // shortcut sees them, so that the key press comes to the window and the bar.
    if (e->type() == QEvent::ShortcutOverride && menuBar_ &&
        menuBar_->TakeKey(static_cast<QKeyEvent*>(e), false)) {
        e->accept();
        return true;
    }
    return QMainWindow::event(e);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == windowHandle() &&
        (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::FocusOut))
        menuBar_->ClearHighlight();
    if (watched == windowHandle() &&
        (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)) {
        auto* k = static_cast<QKeyEvent*>(e);
        // An open menu takes the keys that reach this window (the arrows walk the menus),
        // and so does the menu bar with an item highlighted. A release still ends a hold.
        if (e->type() == QEvent::KeyPress) {
            if (QApplication::activePopupWidget() || QWidget::keyboardGrabber())
                return false;
            if (menuBar_->TakeKey(k, true))
                return true;
            if (menuBar_->activeAction())
                return false;
        }
        FormKey key = KeyOf(k->key());
        if (key == FormKey::Other)
            return false;
        if (e->type() == QEvent::KeyPress) {
            bool consumed = repeat_->FormKeyDown(key);
            RepaintWindow();
            return consumed;
        }
        // The system's key repeat sends a release before every repeated press; only the
        // real release ends the hold.
        if (!k->isAutoRepeat())
            repeat_->FormKeyUp(key);
        return false;
    }
    auto* b = qobject_cast<QPushButton*>(watched);
    if (b && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)) {
        repeat_->RptMouseDown(b->property("tag").toInt());
        RepaintWindow();
    } else if (b && e->type() == QEvent::MouseButtonRelease) {
        repeat_->RptMouseUp();
    }
    return QMainWindow::eventFilter(watched, e);
}

} // namespace r470
