// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up probes: a program started with the wall-clock time (nanoseconds
// since the epoch) of its launch as first argument prints how many
// milliseconds passed until `widget` was first painted, then quits.

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

class FirstPaintProbe : public QObject {
  public:
    explicit FirstPaintProbe(long long launchNs) : launchNs_(launchNs) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::system_clock::now().time_since_epoch())
                                      .count();
            std::printf("first_paint_ms %.2f\n", static_cast<double>(now - launchNs_) / 1e6);
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    long long launchNs_;
    bool reported_ = false;
};
