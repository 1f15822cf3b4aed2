// SPDX-License-Identifier: GPL-3.0-or-later
// The text view with one very long text line: a part file of 1,001 entries
// whose middle translation line holds SIZE bytes, shown as the main window
// shows a part (no word wrap), and the long entry alone wrapped as the zoom
// window shows one (60 bytes a view line) and wrapped at the window's width.
// A size of 1K measures a short line, the reference for the long ones.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
//   LongLineBench [SIZE...]      SIZE: bytes with K or M (default: 1K 10M 100M)
//
// Prints "name value" lines, each name suffixed with _SIZE:
//   main_load_ms        load of the part file and painting the first page
//   main_show_ms        median of bringing the long line onto the page from
//                       the top (SetTopLine), painted
//   main_line_ms        median of a Down or Up key with the long line shown
//   main_page_ms        median of a Page Down or Page Up key over it
//   main_mark_ms        a find mark near the end of the long line: the view
//                       turns sideways to it and paints
//   main_mark_repaint_ms painting that page again
//   wrap60_assign_ms    the long entry put into a view wrapping at 60 bytes,
//                       and painted
//   wrap60_take_ms      the same with the entry handed over (Assign of an
//                       rvalue list: no copy), as the zoom window shows one
//   entry_copy_ms       a copy of the entry alone: what wrap60_assign_ms
//                       spends before the view does anything
//   wrap60_end_ms       End key: to its last view line, painted
//   wrap60_line_ms      median of an Up key near its end
//   width_assign_ms     the long entry put into a view wrapping at its width
//   width_take_ms       the same, handed over
//   width_resize_ms     a change of the view's width (wraps again), painted
//   view_lines60        view lines of the long entry at 60 bytes

#include <unistd.h>
#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "components/BigView/BigView.h"
#include "platform/Cp932.h"

namespace {

using tovix::TBigView;
using tovix::bench::Median;
using tovix::bench::Milliseconds;

constexpr int kEntriesAround = 500;

std::string LongTranslation(size_t bytes) {
    const std::string unit = "\t" + tovix::Utf8ToCp932("長い訳語 long translation, ");
    std::string line;
    line.reserve(bytes + unit.size());
    while (line.size() < bytes) {
        line += unit;
    }
    return line;
}

std::filesystem::path WritePart(const std::string& longLine) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tovix-longline-" + std::to_string(getpid()));
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < kEntriesAround; ++i) {
        out << "apple" << i << "\r\n\tfruit " << i << "\r\n";
    }
    out << "applelong\r\n" << longLine << "\r\n";
    for (int i = 0; i < kEntriesAround; ++i) {
        out << "apply" << i << "\r\n\tuse " << i << "\r\n";
    }
    return path;
}

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

void SetUp(TBigView& view, bool wordWrap, int wrapByte, int width, int height) {
    view.SetScrollBar(tovix::TScrollStyle::ssVertical);
    view.SetViewTabStop(2);
    view.SetWrapByte(wrapByte);
    view.SetWordWrap(wordWrap);
    view.SetScOver(true);
    view.SetSelect(false);
    view.resize(width, height);
    view.show();
    Settle();
}

// Median time of `n` presses of a key, painting each.
double KeyMedian(TBigView& view, int key, int n) {
    std::vector<double> times;
    for (int i = 0; i < n; ++i) {
        times.push_back(Milliseconds([&] { view.KeyDown(key, Qt::NoModifier); }));
        Settle();
    }
    return Median(times);
}

void Print(const char* name, const std::string& size, double value) {
    std::printf("%s_%s %.2f\n", name, size.c_str(), value);
    std::fflush(stdout);
}

// "1K" or "10M" in bytes; 0 when it is no size.
size_t Bytes(const std::string& size) {
    const size_t number = std::strtoul(size.c_str(), nullptr, 10);
    const char unit = size.empty() ? ' ' : size.back();
    return unit == 'K' ? number << 10 : unit == 'M' ? number << 20 : 0;
}

void MainView(const std::filesystem::path& part, const std::string& size) {
    TBigView view;
    SetUp(view, false, 512, 800, 600);
    Print("main_load_ms", size, Milliseconds([&] {
              view.LoadFromFile(part);
              (void)view.grab();
          }));
    const int longLine = 2 * kEntriesAround + 1;
    std::vector<double> show;
    for (int i = 0; i < 5; ++i) {
        view.SetTopLine(tovix::ViewLineIndex(0));
        show.push_back(Milliseconds([&] { view.SetTopLine(tovix::ViewLineIndex(longLine - 3)); }));
    }
    Print("main_show_ms", size, Median(show));
    std::vector<double> line;
    std::vector<double> page;
    for (int i = 0; i < 3; ++i) {
        line.push_back(KeyMedian(view, Qt::Key_Down, 1));
        line.push_back(KeyMedian(view, Qt::Key_Up, 1));
        page.push_back(KeyMedian(view, Qt::Key_PageDown, 1));
        page.push_back(KeyMedian(view, Qt::Key_PageUp, 1));
    }
    Print("main_line_ms", size, Median(line));
    Print("main_page_ms", size, Median(page));
    // A find mark near the end of the long line turns the view sideways.
    view.SetTopLine(tovix::ViewLineIndex(longLine - 3));
    const size_t length = view.Lines().View(longLine).size();
    Print("main_mark_ms", size,
          Milliseconds([&] { view.SetMark(tovix::TextLineIndex(longLine), length - 10, 4); }));
    Print("main_mark_repaint_ms", size, Milliseconds([&] { view.Redraw(); }));
}

// The entry put into a fresh view and painted: handed over, or copied in.
double AssignMs(const std::vector<std::string>& entry, int wrapByte, bool handOver) {
    TBigView view;
    SetUp(view, true, wrapByte, 400, 300);
    std::vector<std::string> handed = handOver ? entry : std::vector<std::string>();
    return Milliseconds([&] {
        if (handOver) {
            view.Assign(std::move(handed));
        } else {
            view.Assign(entry);
        }
        (void)view.grab();
    });
}

void WrappedViews(const std::string& longLine, const std::string& size) {
    const std::vector<std::string> entry{"applelong", longLine};
    {
        // The copy's pages are freed outside the time taken.
        std::vector<std::string> copy;
        Print("entry_copy_ms", size, Milliseconds([&] { copy = entry; }));
    }
    {
        TBigView view;
        SetUp(view, true, 60, 400, 300);
        Print("wrap60_assign_ms", size, Milliseconds([&] {
                  view.Assign(entry);
                  (void)view.grab();
              }));
        Print("wrap60_end_ms", size,
              Milliseconds([&] { view.KeyDown(Qt::Key_End, Qt::NoModifier); }));
        Print("wrap60_line_ms", size, KeyMedian(view, Qt::Key_Up, 5));
        Print("view_lines60", size, view.ViewLineCount().value);
    }
    {
        TBigView view;
        SetUp(view, true, 0, 400, 300);
        Print("width_assign_ms", size, Milliseconds([&] {
                  view.Assign(entry);
                  (void)view.grab();
              }));
        Print("width_resize_ms", size, Milliseconds([&] {
                  view.resize(500, 300);
                  Settle();
                  (void)view.grab();
              }));
    }
    Print("wrap60_take_ms", size, AssignMs(entry, 60, true));
    Print("width_take_ms", size, AssignMs(entry, 0, true));
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::vector<std::string> sizes(argv + 1, argv + argc);
    if (sizes.empty()) {
        sizes = {"1K", "10M", "100M"};
    }
    {
        // Fonts and the first paint of a widget cost once per process.
        TBigView warm;
        SetUp(warm, false, 512, 200, 100);
        warm.Add("warm up");
        (void)warm.grab();
    }
    for (const std::string& size : sizes) {
        if (Bytes(size) == 0) {
            std::fprintf(stderr, "usage: LongLineBench [SIZE...], SIZE such as 1K or 10M\n");
            return 2;
        }
        const std::string longLine = LongTranslation(Bytes(size));
        const std::filesystem::path part = WritePart(longLine);
        MainView(part, size);
        std::filesystem::remove(part);
        WrappedViews(longLine, size);
    }
    return 0;
}
