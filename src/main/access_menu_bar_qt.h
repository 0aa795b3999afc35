// The main window's menu bar with the desktop's access letters: Alt and a letter that one
// item has runs or opens that item; a letter that items share highlights them in turn, and
// Enter then runs or opens the highlighted one. Escape leaves it, the arrows walk the bar.
#pragma once

#include <QMenuBar>
#include <QPointer>

class QKeyEvent;

namespace r470 {

class AccessMenuBar : public QMenuBar {
    Q_OBJECT
  public:
    using QMenuBar::QMenuBar;

    // True when the key press belongs to the bar: Alt and a letter of one of its items, or
    // any key while an item is highlighted. With `act` false it only answers.
    bool TakeKey(const QKeyEvent* e, bool act);
    QAction* Highlighted() const { return highlighted_; }
    void ClearHighlight();

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    void Highlight(QAction* a);
    void Act(QAction* a);
    QList<QAction*> Items() const;

    QPointer<QAction> highlighted_;
};

} // namespace r470
