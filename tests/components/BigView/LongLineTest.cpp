// SPDX-License-Identifier: GPL-3.0-or-later
// The text view with text lines of megabytes: drawn, scrolled and wrapped as
// a short line is.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <string>
#include <vector>

#include "components/BigView/BigView.h"
#include "components/BigView/ViewFont.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

// Kanji and Latin letters in runs of about 3,000 bytes between tabs, so that
// pieces, tab stops and double-byte characters all meet in the line.
std::string Units(size_t minBytes) {
    const std::string unit = Utf8ToCp932("長い訳語 long translation, ");
    std::string text;
    while (text.size() < minBytes) {
        for (int i = 0; i < 100; ++i) {
            text += unit;
        }
        text += '\t';
    }
    return text;
}

std::vector<std::string> LinesAround(const std::string& line) {
    std::vector<std::string> lines;
    for (int i = 0; i < 30; ++i) {
        lines.push_back(i == 12 ? line : "line " + std::to_string(i));
    }
    return lines;
}

void SetUpView(TBigView& view, const std::vector<std::string>& lines) {
    view.SetWordWrap(false);
    view.SetScrollBar(TScrollStyle::ssBoth);
    view.SetScOver(true);
    view.SetViewTabStop(2);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.Assign(lines);
}

QImage Drawn(TBigView& view) {
    QApplication::processEvents();
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The page as drawing every text line whole, without any clipping, shows it;
// `lines` stand for the view's text lines.
QImage DrawnWhole(const TBigView& view, const std::vector<std::string>& lines) {
    QPixmap pixmap(view.viewport()->size());
    pixmap.fill(view.Color());
    QPainter painter(&pixmap);
    painter.setClipRect(QRect(0, 0, pixmap.width(), view.PageLines() * view.LineHeight()));
    painter.setFont(view.DrawFont());
    painter.setPen(view.FontColor());
    const TViewFont font(view.font());
    const int x = -view.HorzPos() * view.CharWidth();
    for (int row = 0; row < view.PageLines(); ++row) {
        const size_t line = static_cast<size_t>((view.TopLine() + row).value);
        if (line < lines.size()) {
            font.Draw(painter, x, row * view.LineHeight(), lines[line],
                      view.CharWidth() * view.ViewTabStop(), -TWrapMeasure::kMaxTextWidth,
                      TWrapMeasure::kMaxTextWidth);
        }
    }
    painter.end();
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

// Guards the freeze on a line of many megabytes: every paint converted,
// measured and drew the whole line. Drawing only what shows must look
// exactly like drawing all of a line that holds what shows.
TEST(LongLineTest, ALongLineLooksLikeTheStartThatShows) {
    const std::string start = Units(8000);
    const std::vector<std::string> shortLines = LinesAround(start);
    TBigView view;
    SetUpView(view, LinesAround(Units(2'000'000)));
    QImage blank(Drawn(view).size(), QImage::Format_RGB32);
    blank.fill(view.Color());

    const auto same = [&](const char* step) {
        const QImage shown = Drawn(view);
        EXPECT_EQ(shown, DrawnWhole(view, shortLines)) << step;
        EXPECT_NE(shown, blank) << step;
    };
    view.SetTopLine(ViewLineIndex(10));
    same("long line on the page");
    view.KeyDown(Qt::Key_Down, Qt::NoModifier);
    same("a line down");
    view.KeyDown(Qt::Key_PageDown, Qt::NoModifier);
    view.KeyDown(Qt::Key_PageUp, Qt::NoModifier);
    same("a page down and up");
    view.SetTopLine(ViewLineIndex(12));
    // Scrolled right: the left edge in the first piece, in the second, and
    // after the first tab.
    for (const size_t bytes : {1000, 2600, 3200}) {
        const int cells =
            view.TextWidthOf(std::string_view(start).substr(0, bytes)) / view.CharWidth();
        view.ScrollColumns(ThumbPosition, cells, 0);
        ASSERT_EQ(view.HorzPos(), cells);
        same("scrolled into the line");
    }
}

// Guards the freeze of a find mark near the end of a long line: the view
// measured the whole line to turn sideways to it, and again at each paint.
TEST(LongLineTest, AMarkNearTheEndOfALongLineIsShown) {
    const std::string line = Units(2'000'000);
    TBigView view;
    SetUpView(view, LinesAround(line));
    view.SetTopLine(ViewLineIndex(10));
    const size_t at = line.size() - 40;
    view.SetMark(TextLineIndex(12), at, 4);
    const int x0 =
        view.TextWidthOf(std::string_view(line).substr(0, at)) - view.HorzPos() * view.CharWidth();
    const int x1 = view.TextWidthOf(std::string_view(line).substr(0, at + 4)) -
                   view.HorzPos() * view.CharWidth();
    EXPECT_GT(view.HorzPos(), 0);
    EXPECT_GE(x0, 0);
    EXPECT_LE(x1, view.viewport()->width());
    view.ClearMark();
    EXPECT_EQ(view.HorzPos(), 0);
}

// A long line wrapped as the zoom window wraps (60 bytes a view line) pages
// to its end and back and shows every byte once.
TEST(LongLineTest, AWrappedLongLinePagesToItsEnd) {
    const std::string line = Units(1'000'000);
    TBigView view;
    view.SetWrapByte(60);
    view.SetScrollBar(TScrollStyle::ssVertical);
    view.SetScOver(true);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.Assign({"head", line});

    std::string joined;
    for (ViewLineIndex v(1); v < view.ViewLineCount(); ++v) {
        joined += view.GetViewLine(v);
    }
    EXPECT_EQ(joined, line);
    view.KeyDown(Qt::Key_End, Qt::NoModifier);
    EXPECT_EQ(view.TopLine(), view.LastViewLine());
    EXPECT_TRUE(view.ViewLine(view.TopLine()).LineEnd);
    view.KeyDown(Qt::Key_PageUp, Qt::NoModifier);
    EXPECT_EQ(view.TopLine(), view.LastViewLine() + 1 - view.PageLines());
    view.KeyDown(Qt::Key_Home, Qt::NoModifier);
    EXPECT_EQ(view.TopLine(), ViewLineIndex(0));
}

// Wrapped at the window's width, a long line takes the byte count that fits
// its start, as a short line does, for every view line.
TEST(LongLineTest, ALongLineWrapsToTheWindowWidth) {
    const std::string line = Units(300'000);
    TBigView view;
    view.SetWrapByte(0);
    view.SetScrollBar(TScrollStyle::ssVertical);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.Assign({line.substr(0, 1000), line});
    const size_t bytes = view.ViewLine(ViewLineIndex(0)).Len;
    EXPECT_LT(view.TextWidthOf(view.GetViewLine(ViewLineIndex(0))), view.viewport()->width());
    std::string joined;
    for (ViewLineIndex v = view.LineToViewLine(TextLineIndex(1)); v < view.ViewLineCount(); ++v) {
        const TViewLineRec rec = view.ViewLine(v);
        if (!rec.LineEnd) {
            EXPECT_TRUE(rec.Len == bytes || rec.Len + 1 == bytes) << v;
        }
        joined += view.GetViewLine(v);
    }
    EXPECT_EQ(joined, line);
}

}  // namespace
}  // namespace tovix
