// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs long core work (a tool command's chain, an entry edit) on a thread of
// its own, so that the main window stays painted while it works: the event loop keeps turning, the
// caption shows the progress text of the running step, and a progress bar at
// the bottom of the window shows how far that step has come. The user cannot
// act meanwhile: keys, mouse buttons and closing the window are dropped until
// the work ends (a message box the work shows takes input as usual).
//
// The chain talks to the user through JobReporter(): on the user-interface
// thread it is the window's reporter itself; from the chain's thread a
// message waits for the message box's answer on the user-interface thread, a
// caption is handed over in order, and the step's share done is picked up by
// the progress bar at most every 50 ms.

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <memory>

#include "platform/Reporter.h"
#include "tools/Chains.h"

class QMainWindow;
class QProgressBar;
class QTimer;

namespace tovix {

class ToolRunner : public QObject {
    Q_OBJECT

  public:
    // The shortest time between two changes of the progress bar.
    static constexpr int kProgressIntervalMs = 50;

    // Adds the (hidden) progress bar to `window`'s status bar; messages and
    // captions go to `reporter`.
    ToolRunner(QMainWindow& window, Reporter& reporter);
    ~ToolRunner() override;

    // The reporter a tool job of this window reports through.
    Reporter& JobReporter();

    // Runs `work` on its own thread and returns once it ended; `work`
    // reports through JobReporter(). What it throws is thrown here.
    void RunWork(const std::function<void()>& work);

    // Runs `chain` as RunWork does and returns its result.
    ChainResult Run(const std::function<ChainResult()>& chain);

    bool Running() const { return running_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class ThreadReporter;

    void MakeBar();
    void ShowProgress();

    QMainWindow& window_;
    std::unique_ptr<ThreadReporter> reporter_;
    QProgressBar* bar_ = nullptr;
    QTimer* timer_ = nullptr;
    QElapsedTimer sinceProgress_;  // since the bar last changed
    bool running_ = false;
};

}  // namespace tovix
