#include "main/access_menu_bar_qt.h"

#include "main/access_keys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace r470 {

QList<QAction*> AccessMenuBar::Items() const {
    QList<QAction*> items;
    for (QAction* a : actions())
        if (a->isVisible() && !a->isSeparator())
            items.append(a);
    return items;
}

bool AccessMenuBar::TakeKey(const QKeyEvent* e, bool act) {
    const int key = e->key();
    const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
    if (!highlighted_ && (!letter || e->modifiers() != Qt::AltModifier))
        return false;

    const QList<QAction*> items = Items();
    std::vector<std::string> captions;
    for (QAction* a : items)
        captions.push_back(a->text().toStdString());
    const int at = static_cast<int>(items.indexOf(highlighted_.data()));
    AccessStep step;
    if (letter)
        step = StepByLetter(captions, static_cast<char>('A' + (key - Qt::Key_A)), at);
    if (!highlighted_ && step.item < 0)
        return false;
    if (!act)
        return true;

    if (step.item >= 0 && step.act) {
        Act(items[step.item]);
    } else if (step.item >= 0) {
        Highlight(items[step.item]);
    } else if (letter) {
        // No item has the letter: the highlight stays, as in any menu.
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter ||
               (key == Qt::Key_Down && highlighted_->menu())) {
        Act(highlighted_);
    } else if ((key == Qt::Key_Left || key == Qt::Key_Right) && !items.isEmpty()) {
        const int n = static_cast<int>(items.size());
        Highlight(items[(at + (key == Qt::Key_Right ? 1 : n - 1)) % n]);
    } else if (key != Qt::Key_Alt && key != Qt::Key_Shift && key != Qt::Key_Control &&
               key != Qt::Key_Meta) {
        ClearHighlight(); // Escape, and any key the bar has no use for
    }
    return true;
}

void AccessMenuBar::Highlight(QAction* a) {
    highlighted_ = a;
    update();
}

void AccessMenuBar::ClearHighlight() {
    if (!highlighted_)
        return;
    highlighted_ = nullptr;
    update();
}

void AccessMenuBar::Act(QAction* a) {
    ClearHighlight();
    if (a->menu())
        setActiveAction(a); // opens it
    else
        a->trigger();
}

void AccessMenuBar::paintEvent(QPaintEvent* e) {
    QMenuBar::paintEvent(e);
    if (!highlighted_)
        return;
    QPainter p(this);
    QStyleOptionMenuItem opt;
    initStyleOption(&opt, highlighted_);
    opt.rect = actionGeometry(highlighted_);
    opt.state |= QStyle::State_Selected | QStyle::State_Sunken;
    style()->drawControl(QStyle::CE_MenuBarItem, &opt, &p, this);
}

} // namespace r470
