// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixture of the text view's widget tests: a shown 400 x 300 view and
// helpers that set it up as the main window does, size it by view lines and
// click on its characters.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>
#include <QTest>
#include <string>
#include <vector>

#include "components/BigView/BigView.h"
#include "platform/Cp932.h"

namespace tovix::test {

inline std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

inline ViewLineIndex Line(int v) {
    return ViewLineIndex(v);
}

inline TViewPos V(size_t column, int line) {
    return {ByteColumn(column), ViewLineIndex(line)};
}

inline std::vector<std::string> Numbered(int n) {
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    return lines;
}

class BigViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        view_.resize(400, 300);
        view_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view_));
    }

    // The main window's set-up: one view line per text line, vertical bar.
    void MainViewWith(int lines, int pageLines, bool scOver = false) {
        view_.SetWordWrap(false);
        view_.SetScrollBar(TScrollStyle::ssVertical);
        view_.SetScOver(scOver);
        FitPage(pageLines);
        view_.Assign(Numbered(lines));
    }

    // Makes the control exactly `lines` view lines high (plus half a line and
    // a horizontal scroll bar).
    void FitPage(int lines) {
        const int bar =
            HasHorizontal(view_.ScrollBar())
                ? view_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view_)
                : 0;
        view_.resize(400, lines * view_.LineHeight() + view_.LineHeight() / 2 + bar);
        QApplication::processEvents();
        ASSERT_EQ(view_.PageLines(), lines);
    }

    std::vector<std::string> Shown() const {
        std::vector<std::string> lines;
        for (ViewLineIndex v(0); v < view_.ViewLineCount(); ++v) {
            lines.push_back(view_.GetViewLine(v));
        }
        return lines;
    }

    // A double click as the window system delivers it: press, release, a
    // second press, the double click, release.
    void DoubleClick(QPoint at) {
        QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, at);
        QTest::mousePress(view_.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view_.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view_.viewport(), Qt::LeftButton, {}, at);
    }

    QPoint PointAt(int column, int viewLine) const {
        const std::string text = view_.GetViewLine(Line(viewLine));
        const int before = view_.TextWidthOf(std::string_view(text).substr(0, column - 1));
        const int width = view_.TextWidthOf(std::string_view(text).substr(column - 1, 1));
        return QPoint(before + width / 2, (Line(viewLine) - view_.TopLine()) * view_.LineHeight() +
                                              view_.LineHeight() / 2);
    }

    TBigView view_;
};

}  // namespace tovix::test
