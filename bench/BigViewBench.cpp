// SPDX-License-Identifier: GPL-3.0-or-later
// The text view with a whole part file, as the main window uses it: no word
// wrap, vertical bar, the last line may scroll to the top. Runs on Qt's
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
//   BigViewBench FILE [RUNS]
//
// Prints "name value" lines for bench/run.sh:
//   lines                 view lines after the load
//   load_paint_median_ms  median of RUNS loads of FILE into the shown view
//                         followed by painting the first page (grab())
//   load_median_ms        the load alone (it paints the page on screen too)
//   paint_median_ms       grab() alone: painting one page
//   line_scroll_median_ms median of a Down key (one view line, painted at
//   line_scroll_max_ms    once), and the slowest one
//   page_scroll_median_ms median of a Page Down key
//   store_bytes           resident set growth of loading FILE into a line
//                         store of its own
//   view_bytes            resident set growth of loading FILE into the view
//                         and painting it (its line store included)

#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "components/BigView/BigView.h"
#include "components/BvStrings.h"

namespace {

using tovix::bench::Clock;
using tovix::bench::Median;
using tovix::bench::Milliseconds;
using tovix::bench::ResidentBytes;

void SetUpAsMainView(tovix::TBigView& view) {
    using tovix::TBvStyles;
    view.SetBvStyle({TBvStyles::bvClientLow, TBvStyles::bvDblFrame});
    view.SetScrollBar(tovix::TScrollStyle::ssVertical);
    view.SetViewTabStop(2);
    view.SetWrapByte(512);
    view.SetWordWrap(false);
    view.SetScOver(true);
    view.SetSelect(false);
    view.resize(800, 600);
    view.show();
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: BigViewBench FILE [RUNS]\n";
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::filesystem::path path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;

    tovix::TBigView view;
    SetUpAsMainView(view);
    // Font files, glyph caches and the first paint of any widget cost once
    // per process, whatever the text: a few lines of the file warm them up.
    {
        tovix::TBvStrings sample;
        sample.LoadFromFile(path);
        std::vector<std::string> lines;
        for (int i = 0; i < std::min(sample.Count(), 200); ++i) {
            lines.push_back(sample.Get(i));
        }
        view.AddStrings(lines);
    }
    (void)view.grab();
    view.Clear();

    tovix::TBvStrings store;
    const long beforeStore = ResidentBytes();
    store.LoadFromFile(path);
    const long storeBytes = ResidentBytes() - beforeStore;

    const long beforeView = ResidentBytes();
    view.LoadFromFile(path);
    (void)view.grab();
    const long viewBytes = ResidentBytes() - beforeView;

    std::vector<double> loadPaint;
    std::vector<double> load;
    std::vector<double> paint;
    for (int i = 0; i < runs; ++i) {
        QPixmap page;
        const double loaded = Milliseconds([&] { view.LoadFromFile(path); });
        const double painted = Milliseconds([&] { page = view.grab(); });
        load.push_back(loaded);
        paint.push_back(painted);
        loadPaint.push_back(loaded + painted);
    }

    std::vector<double> lineScroll;
    std::vector<double> pageScroll;
    const int steps = std::max(runs * 20, 100);
    view.SetTopLine(tovix::ViewLineIndex(view.ViewLineCount().value / 3));
    for (int i = 0; i < steps; ++i) {
        lineScroll.push_back(Milliseconds([&] { view.KeyDown(Qt::Key_Down, Qt::NoModifier); }));
        QApplication::processEvents();
    }
    for (int i = 0; i < steps; ++i) {
        pageScroll.push_back(Milliseconds([&] { view.KeyDown(Qt::Key_PageDown, Qt::NoModifier); }));
        QApplication::processEvents();
    }

    std::printf("lines %d\n", view.ViewLineCount().value);
    std::printf("load_paint_median_ms %.2f\n", Median(loadPaint));
    std::printf("load_median_ms %.2f\n", Median(load));
    std::printf("paint_median_ms %.2f\n", Median(paint));
    std::printf("line_scroll_median_ms %.3f\n", Median(lineScroll));
    std::printf("line_scroll_max_ms %.3f\n",
                *std::max_element(lineScroll.begin(), lineScroll.end()));
    std::printf("page_scroll_median_ms %.3f\n", Median(pageScroll));
    std::printf("store_bytes %ld\n", storeBytes);
    std::printf("view_bytes %ld\n", viewBytes);
    return 0;
}
