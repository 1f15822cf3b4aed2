// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Answering the program's modal windows in tests: the action runs as soon as
// a modal window of the given class is shown, within two seconds.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace tovix::test {

template <class Window>
void WhenModal(std::function<void(Window&)> act) {
    auto* timer = new QTimer;
    auto* since = new QElapsedTimer;
    since->start();
    QObject::connect(timer, &QTimer::timeout, [timer, since, act] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window == nullptr && since->elapsed() < 2000) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete since;
        if (window == nullptr) {
            ADD_FAILURE() << "no modal " << Window::staticMetaObject.className();
            return;
        }
        act(*window);
    });
    timer->start(5);
}

}  // namespace tovix::test
