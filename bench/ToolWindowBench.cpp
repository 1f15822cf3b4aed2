// SPDX-License-Identifier: GPL-3.0-or-later
// A dictionary built from the viewer's menu, in process on the offscreen
// platform:
//
//   ToolWindowBench EXM-FILE OUT-DIR RUNS
//
// Each run chooses 作成(&M) → 英和辞書作成, names EXM-FILE and a new set in
// OUT-DIR in the tool window and presses 実行(&O); the time runs from that
// press until the command returns, with the real chain, its captions and the
// progress bar. Meanwhile a timer asks the window to repaint every 20 ms, as
// a desktop uncovering it would, and the paints and the progress bar's
// changes are recorded. Prints the median time, the progress bar's changes
// with their shortest interval, and the longest interval between two paints
// of the window; OUT-DIR is the program directory (work files) too.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "app/gui/MainWindow.h"
#include "app/gui/ToolWindows.h"
#include "dict/DicFileSet.h"
#include "platform/ProgramDir.h"

namespace {

namespace fs = std::filesystem;

// Times of the events of one kind, in milliseconds since the clock started.
struct Times {
    std::vector<double> at;

    double LongestGap() const {
        double longest = 0;
        for (size_t n = 1; n < at.size(); ++n) {
            longest = std::max(longest, at[n] - at[n - 1]);
        }
        return longest;
    }
    double ShortestGap() const {
        double shortest = at.size() > 1 ? 1e9 : 0;
        for (size_t n = 1; n < at.size(); ++n) {
            shortest = std::min(shortest, at[n] - at[n - 1]);
        }
        return shortest;
    }
};

// Records the paints of the main window while `recording`.
class PaintRecorder : public QObject {
  public:
    PaintRecorder(QWidget& window, const QElapsedTimer& clock) : window_(window), clock_(clock) {
        window.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (recording && watched == &window_ && event->type() == QEvent::Paint) {
            paints.at.push_back(static_cast<double>(clock_.nsecsElapsed()) / 1e6);
        }
        return false;
    }
    bool recording = false;
    Times paints;

  private:
    QWidget& window_;
    const QElapsedTimer& clock_;
};

void RemoveSet(const fs::path& dic) {
    std::error_code error;
    fs::remove(dic, error);
    fs::remove(tovix::TableFileName(dic), error);
    fs::remove(tovix::GlobalTableFileName(dic), error);
    for (int part = 1; part <= 45; ++part) {
        fs::remove(tovix::PartFileName(dic, part), error);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: ToolWindowBench EXM-FILE OUT-DIR RUNS\n");
        return 2;
    }
    QApplication app(argc, argv);
    const fs::path exm = fs::absolute(argv[1]);
    const fs::path outDir = fs::absolute(argv[2]);
    const int runs = std::max(1, std::atoi(argv[3]));
    tovix::SetProgramDir(outDir);
    const fs::path dic = outDir / "WINDOW.DIC";

    tovix::TForm1 window({});
    window.show();
    QElapsedTimer clock;
    clock.start();
    PaintRecorder recorder(window, clock);
    QTimer expose;
    expose.setInterval(20);
    QObject::connect(&expose, &QTimer::timeout, &window, [&] { window.update(); });
    Times progress;
    auto* bar = window.findChild<QProgressBar*>("ToolProgress");
    QObject::connect(bar, &QProgressBar::valueChanged, [&] {
        progress.at.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    });
    int captions = 0;
    QObject::connect(&window, &QWidget::windowTitleChanged, [&] { ++captions; });

    std::vector<double> times;
    double longestPaintGap = 0;
    double shortestProgressGap = 1e9;
    size_t progressChanges = 0;
    for (int run = 0; run < runs; ++run) {
        RemoveSet(dic);
        progress.at.clear();
        recorder.paints.at.clear();
        double pressed = 0;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<tovix::TToolWindow*>(QApplication::activeModalWidget());
            if (form == nullptr) {
                std::fprintf(stderr, "no tool window\n");
                std::exit(1);
            }
            form->Edit(1)->setText(QString::fromStdString(exm.string()));
            form->Edit(2)->setText(QString::fromStdString(dic.string()));
            recorder.recording = true;
            expose.start();
            pressed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            form->BtnOk()->click();
        });
        window.MenuItem("MenuMake02")->trigger();
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6 - pressed);
        expose.stop();
        recorder.recording = false;
        if (!fs::exists(tovix::TableFileName(dic))) {
            std::fprintf(stderr, "the dictionary was not built\n");
            return 1;
        }
        longestPaintGap = std::max(longestPaintGap, recorder.paints.LongestGap());
        if (progress.at.size() > 1) {
            shortestProgressGap = std::min(shortestProgressGap, progress.ShortestGap());
        }
        progressChanges = progress.at.size();
    }
    RemoveSet(dic);
    std::printf("window_median_ms %.1f\n", tovix::bench::Median(times));
    std::printf("progress_updates %zu\n", progressChanges);
    std::printf("progress_min_interval_ms %.1f\n", shortestProgressGap);
    std::printf("paints %zu\n", recorder.paints.at.size());
    std::printf("paint_max_interval_ms %.1f\n", longestPaintGap);
    std::printf("captions %d\n", captions / runs);
    return 0;
}
