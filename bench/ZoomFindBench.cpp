// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom window and the find window in the viewer, in process on the
// offscreen platform:
//
//   ZoomFindBench zoom JE-DICTIONARY RUNS
//     F9 on the entry with the longest translation of the dictionary, until
//     the zoom window's view has been painted for the first time.
//   ZoomFindBench find EJ-DICTIONARY TEXT RUNS
//     a find of TEXT (which stands nowhere) from the find window with part 1
//     in the view, until the notice that nothing was found is shown: every
//     part file is searched.
//
// Prints medians in milliseconds.

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "app/gui/FindWindow.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MessageWindow.h"
#include "app/gui/ZoomWindow.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "components/LightStrings.h"
#include "dict/DicFileSet.h"

namespace {

using tovix::bench::Median;

// Runs `act` once on the first event of `type` that a widget inside a window
// of class W receives (the text view's viewport only, when `inView` is set),
// after that event and the others of its turn of the event loop are handled.
template <class W>
class AfterFirstEvent : public QObject {
  public:
    AfterFirstEvent(QEvent::Type type, std::function<void(W&)> act, bool inView = false)
        : type_(type), act_(std::move(act)), inView_(inView) {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == type_ && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            auto* w = qobject_cast<W*>(widget->window());
            if (w != nullptr &&
                (!inView_ || qobject_cast<tovix::TBigView*>(widget->parentWidget()) != nullptr)) {
                done_ = true;
                QTimer::singleShot(0, w, [this, w] { act_(*w); });
            }
        }
        return false;
    }

  private:
    QEvent::Type type_;
    std::function<void(W&)> act_;
    bool inView_;
    bool done_ = false;
};

// The part file and line of the headword whose translation is the longest.
std::pair<int, int> LongestEntry(const std::filesystem::path& dic) {
    std::pair<int, int> at{1, 0};
    size_t longest = 0;
    for (int part = 1; part <= 45; ++part) {
        tovix::TLightStrings lines;
        lines.LoadFromFile(tovix::PartFileName(dic, part));
        for (int n = 1; n < lines.Count(); n += 2) {
            if (lines.View(n).size() > longest) {
                longest = lines.View(n).size();
                at = {part, n - 1};
            }
        }
    }
    std::printf("zoom_translation_bytes %zu\n", longest);
    return at;
}

int Zoom(const std::filesystem::path& dic, int runs) {
    const auto [part, line] = LongestEntry(dic);
    tovix::TForm1 window({QString::fromStdString(dic.string()), "JPN"});
    window.show();
    window.BigView1()->LoadFromFile(tovix::PartFileName(dic, part));
    window.BigView1()->SetTopLine(tovix::ViewLineIndex(line));
    std::vector<double> ms;
    int lines = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        AfterFirstEvent<tovix::TForm3> painted(
            QEvent::Paint,
            [&](tovix::TForm3& zoom) {
                ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
                lines = zoom.BigView1()->ViewLineCount().value;
                zoom.close();
            },
            true);
        timer.start();
        window.RunCommand("Button9Click");
    }
    std::printf("zoom_view_lines %d\n", lines);
    std::printf("zoom_first_paint_median_ms %.2f\n", Median(ms));
    return 0;
}

int Find(const std::filesystem::path& dic, const QString& text, int runs) {
    tovix::TForm1 window({QString::fromStdString(dic.string()), "ENG"});
    window.show();
    window.DicEdit1()->SetText("a");
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        AfterFirstEvent<tovix::TForm4> asked(QEvent::Paint, [&](tovix::TForm4& find) {
            find.Edit1()->setText(text);
            timer.start();
            find.BtnSearch()->click();
        });
        AfterFirstEvent<tovix::TForm17> told(QEvent::Show, [&](tovix::TForm17& notice) {
            ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            notice.close();
        });
        window.RunCommand("Button4Click");
    }
    std::printf("find_median_ms %.2f\n", Median(ms));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "zoom" && argc == 4) {
        return Zoom(argv[2], std::atoi(argv[3]));
    }
    if (mode == "find" && argc == 5) {
        return Find(argv[2], QString::fromUtf8(argv[3]), std::atoi(argv[4]));
    }
    std::fprintf(stderr, "usage: ZoomFindBench zoom DIC RUNS | find DIC TEXT RUNS\n");
    return 2;
}
