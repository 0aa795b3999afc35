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

} // namespace r470::test
