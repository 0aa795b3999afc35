// Runs a step on the modal dialog a command opens, once its event loop is running.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace r470::test {

template <class T = QWidget> void WhenModal(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY(w);
        act(w);
    });
}

// Runs `act` once `dialog` itself is on screen, for a dialog known before the command opens it.
inline void WhenShown(QWidget* dialog, std::function<void()> act) {
    auto* poll = new QTimer(dialog);
    QObject::connect(poll, &QTimer::timeout, dialog, [dialog, poll, act] {
        if (!dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act();
    });
    poll->start(5);
}

} // namespace r470::test
