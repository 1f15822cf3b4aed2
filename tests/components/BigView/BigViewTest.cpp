// SPDX-License-Identifier: GPL-3.0-or-later
// The text view widget on Qt's offscreen platform. Pixel expectations come
// from the font metrics of the running system, never from fixed numbers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "components/BigView/BigView.h"
#include "components/BigView/BigViewFixture.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

using test::BigViewTest;
using test::Line;
using test::Numbered;
using test::S;
using test::V;

TEST_F(BigViewTest, MetricsComeFromTheFont) {
    const QFontMetrics metrics(view_.DrawFont());
    EXPECT_EQ(view_.LineHeight(), metrics.height() + metrics.leading());
    const int average = metrics.averageCharWidth();
    EXPECT_EQ(view_.CharWidth(),
              average + static_cast<int>(std::nearbyint(0.3 * (metrics.maxWidth() - average))));
    EXPECT_EQ(view_.PageLines(), view_.height() / view_.LineHeight());

    const int tab = view_.CharWidth() * view_.ViewTabStop();
    const int ab = metrics.horizontalAdvance(QStringLiteral("ab"));
    EXPECT_EQ(view_.TextWidthOf("ab\tc"), (ab / tab + 1) * tab + metrics.horizontalAdvance("c"));
    EXPECT_EQ(view_.TextWidthOf("\t"), tab);
    EXPECT_EQ(view_.TextWidthOf(S("漢字")), metrics.horizontalAdvance(QStringLiteral("漢字")));
    EXPECT_TRUE(metrics.inFont(QChar(0x6F22)));  // the Japanese fallback has the kanji
}

TEST_F(BigViewTest, AddReturnsTheViewLineCount) {
    view_.SetWrapByte(60);
    EXPECT_EQ(view_.Add(std::string(130, 'a')), LineCount(3));
    EXPECT_EQ(view_.Add(""), LineCount(4));
    EXPECT_EQ(view_.LineCount(), LineCount(2));
    EXPECT_EQ(Shown(), (std::vector<std::string>{std::string(60, 'a'), std::string(60, 'a'),
                                                 std::string(10, 'a'), ""}));
    EXPECT_EQ(view_.LineToViewLine(view_.LineCount().Last<TextLineIndex>() + 1),
              view_.LastViewLine() + 1);
    EXPECT_EQ(view_.ViewLineToLine(ViewLineIndex(-1)), TextLineIndex(-1));
}

TEST_F(BigViewTest, SettersClampOrIgnoreValuesOutOfRange) {
    struct Case {
        const char* name;
        std::function<void(TBigView&)> set;
        std::function<int(const TBigView&)> get;
        int expected;
    };
    const auto sense = [](const TBigView& v) { return v.ScrollSense(); };
    const auto tabs = [](const TBigView& v) { return v.ViewTabStop(); };
    const auto wrap = [](const TBigView& v) { return v.WrapByte(); };
    const Case cases[] = {
        {"ScrollSense 0", [](TBigView& v) { v.SetScrollSense(0); }, sense, 1},
        {"ScrollSense 11", [](TBigView& v) { v.SetScrollSense(11); }, sense, 1},
        {"ScrollSense 10", [](TBigView& v) { v.SetScrollSense(10); }, sense, 10},
        {"PCanLimit -5", [](TBigView& v) { v.SetPCanLimit(-5); },
         [](const TBigView& v) { return v.PCanLimit(); }, 0},
        {"ViewTabStop -1", [](TBigView& v) { v.SetViewTabStop(-1); }, tabs, 8},
        {"ViewTabStop 0", [](TBigView& v) { v.SetViewTabStop(0); }, tabs, 0},
        {"WrapByte -1", [](TBigView& v) { v.SetWrapByte(-1); }, wrap, 0},
        {"WrapByte 60", [](TBigView& v) { v.SetWrapByte(60); }, wrap, 60},
        {"Capacity", [](TBigView& v) { v.SetCapacity(100); },
         [](const TBigView& v) { return v.Capacity(); }, 100},
    };
    for (const Case& c : cases) {
        TBigView view;
        c.set(view);
        EXPECT_EQ(c.get(view), c.expected) << c.name;
    }

    // MaxChar is at least 1, and never narrower than the window.
    view_.SetMaxChar(0);
    const int cells = static_cast<int>(
        std::nearbyint(static_cast<double>(view_.viewport()->width()) / view_.CharWidth()));
    EXPECT_EQ(view_.MaxChar(), std::max(1, cells + 1));

    // A caption is cut to 255 bytes, never inside a character.
    view_.SetCaption(std::string(254, 'a') + S("漢"));
    EXPECT_EQ(view_.Caption(), std::string(254, 'a'));
}

TEST_F(BigViewTest, BvStyleHandlerMayChangeTheNewStyle) {
    int changed = 0;
    view_.OnBvStyleChanging = [](TBigView&, TBvStyle& style) {
        style = style.With(TBvStyles::bvDblFrame);
    };
    view_.OnBvStyleChanged = [&](TBigView&) { ++changed; };
    view_.SetBvStyle({TBvStyles::bvCaption});
    EXPECT_EQ(view_.BvStyle(), (TBvStyle{TBvStyles::bvCaption, TBvStyles::bvDblFrame}));
    view_.SetBvStyle(view_.BvStyle());
    EXPECT_EQ(changed, 1);
    view_.OnBvStyleChanging = nullptr;
    view_.SetBvStyle({TBvStyles::bvClientLow});
    EXPECT_EQ(view_.viewport()->x(), 2);  // a sunken edge
    view_.SetBvStyle({TBvStyles::bvClientLow, TBvStyles::bvDblFrame});
    EXPECT_EQ(view_.viewport()->x(), 5);  // inside a double frame
    view_.SetBvStyle({TBvStyles::bvCaption, TBvStyles::bvDblFrame});
    // The caption bar takes room from the page.
    EXPECT_LT(view_.viewport()->height(), view_.height() - 2 * 3);
}

TEST_F(BigViewTest, SetTopLineClampsBeforeTheHandlerSeesIt) {
    MainViewWith(100, 10);
    std::vector<ViewLineIndex> seen;
    view_.OnViewLineChanging = [&](TBigView&, ViewLineIndex& v) { seen.push_back(v); };
    view_.SetTopLine(Line(500));
    EXPECT_EQ(view_.TopLine(), Line(99));
    EXPECT_EQ(view_.BottomLine(), Line(99));
    view_.SetTopLine(Line(-3));
    EXPECT_EQ(view_.TopLine(), Line(0));
    EXPECT_EQ(view_.BottomLine(), Line(9));
    EXPECT_EQ(seen, (std::vector<ViewLineIndex>{Line(99), Line(0)}));

    view_.OnViewLineChanging = [](TBigView&, ViewLineIndex& v) { v = Line(42); };
    view_.SetTopLine(Line(7));
    EXPECT_EQ(view_.TopLine(), Line(42));
    EXPECT_EQ(view_.VertPos(), 42);
}

TEST_F(BigViewTest, VerticalRangeFollowsScOverAndNeverCollapses) {
    struct Case {
        int lines;
        bool scOver;
        int max;
    };
    const Case cases[] = {{100, true, 99}, {100, false, 90}, {1, true, 1},
                          {0, true, 1},    {0, false, 1},    {5, false, 1}};
    for (const Case& c : cases) {
        MainViewWith(c.lines, 10, c.scOver);
        EXPECT_EQ(view_.verticalScrollBar()->minimum(), 0);
        EXPECT_EQ(view_.verticalScrollBar()->maximum(), c.max)
            << c.lines << " lines, ScOver " << c.scOver;
    }
}

// Guards a fault: a text shorter than a page drew a thumb that nearly filled
// the groove, and the strip of groove left below it read as a thumb at the
// bottom while the top line was 0.
TEST_F(BigViewTest, ThumbStandsWhereTheTopLineIs) {
    struct Case {
        int lines;
        int pageLines;
        bool scOver;
        int top;
        bool atTop;  // else at the bottom
    };
    const Case cases[] = {
        {1, 10, true, 0, true},  {3, 20, true, 0, true},    {3, 20, true, 2, false},
        {5, 10, false, 0, true}, {100, 10, true, 0, true},  {100, 10, true, 99, false},
        {15, 10, true, 0, true}, {15, 10, true, 14, false},
    };
    for (const Case& c : cases) {
        MainViewWith(c.lines, c.pageLines, c.scOver);
        view_.SetTopLine(Line(c.top));
        const QScrollBar* bar = view_.verticalScrollBar();
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.subControls = QStyle::SC_All;
        const QStyle* style = bar->style();
        const QRect groove =
            style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);
        const QRect thumb =
            style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
        const std::string what = std::to_string(c.lines) + " lines, page " +
                                 std::to_string(c.pageLines) + ", top " + std::to_string(c.top);
        EXPECT_EQ(bar->value(), c.top) << what;
        EXPECT_LE(thumb.height(), (groove.height() + 1) / 2) << what;
        if (c.atTop) {
            EXPECT_EQ(thumb.top(), groove.top()) << what;
        } else {
            EXPECT_EQ(thumb.bottom(), groove.bottom()) << what;
        }
    }
}

TEST_F(BigViewTest, ScrollKeysMoveTheTopLine) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int from;
        int top;
    };
    const Case cases[] = {
        {Qt::Key_Space, Qt::NoModifier, 0, 9},     {Qt::Key_Space, Qt::ShiftModifier, 20, 11},
        {Qt::Key_PageDown, Qt::NoModifier, 0, 9},  {Qt::Key_PageUp, Qt::NoModifier, 9, 0},
        {Qt::Key_Right, Qt::NoModifier, 0, 9},     {Qt::Key_Left, Qt::NoModifier, 30, 21},
        {Qt::Key_Down, Qt::NoModifier, 0, 1},      {Qt::Key_Up, Qt::NoModifier, 5, 4},
        {Qt::Key_X, Qt::ControlModifier, 0, 1},    {Qt::Key_E, Qt::ControlModifier, 5, 4},
        {Qt::Key_D, Qt::ControlModifier, 0, 9},    {Qt::Key_S, Qt::ControlModifier, 9, 0},
        {Qt::Key_Down, Qt::ShiftModifier, 0, 9},   {Qt::Key_T, Qt::NoModifier, 50, 0},
        {Qt::Key_B, Qt::NoModifier, 0, 90},        {Qt::Key_Home, Qt::NoModifier, 50, 0},
        {Qt::Key_End, Qt::ControlModifier, 0, 90}, {Qt::Key_Down, Qt::ControlModifier, 3, 90},
        {Qt::Key_Down, Qt::NoModifier, 90, 90},    {Qt::Key_Up, Qt::NoModifier, 0, 0},
        {Qt::Key_Q, Qt::NoModifier, 5, 5},         {Qt::Key_T, Qt::ShiftModifier, 5, 5},
    };
    MainViewWith(100, 10);
    for (const Case& c : cases) {
        view_.SetTopLine(Line(c.from));
        QTest::keyClick(&view_, c.key, c.modifiers);
        EXPECT_EQ(view_.TopLine(), Line(c.top)) << "key " << c.key << " from " << c.from;
    }

    view_.SetScOver(true);
    QTest::keyClick(&view_, Qt::Key_B);
    EXPECT_EQ(view_.TopLine(), Line(99));

    view_.SetScrollBar(TScrollStyle::ssNone);
    view_.SetTopLine(Line(0));
    QTest::keyClick(&view_, Qt::Key_Space);
    EXPECT_EQ(view_.TopLine(), Line(0));
}

TEST_F(BigViewTest, ScrollBarActionsAndTheWheelMoveTheTopLine) {
    MainViewWith(100, 10, true);
    QScrollBar* bar = view_.verticalScrollBar();
    struct Case {
        QAbstractSlider::SliderAction action;
        int top;
    };
    const Case cases[] = {
        {QAbstractSlider::SliderSingleStepAdd, 21}, {QAbstractSlider::SliderSingleStepSub, 19},
        {QAbstractSlider::SliderPageStepAdd, 29},   {QAbstractSlider::SliderPageStepSub, 11},
        {QAbstractSlider::SliderToMinimum, 0},      {QAbstractSlider::SliderToMaximum, 99},
    };
    for (const Case& c : cases) {
        view_.SetTopLine(Line(20));
        bar->triggerAction(c.action);
        EXPECT_EQ(view_.TopLine(), Line(c.top)) << c.action;
        EXPECT_EQ(bar->value(), c.top) << c.action;
    }
    bar->setSliderPosition(50);  // dragging the thumb
    EXPECT_EQ(view_.TopLine(), Line(50));

    QWheelEvent wheel(QPointF(5, 5), QPointF(view_.viewport()->mapToGlobal(QPoint(5, 5))), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view_.viewport(), &wheel);
    EXPECT_EQ(view_.TopLine(), Line(50) + QApplication::wheelScrollLines());
}

TEST_F(BigViewTest, HorizontalKeysScrollByCells) {
    view_.SetWordWrap(false);
    view_.SetScrollBar(TScrollStyle::ssBoth);
    FitPage(10);
    view_.Assign(Numbered(100));
    const int cells = view_.viewport()->width() / view_.CharWidth();
    QTest::keyClick(&view_, Qt::Key_Right);  // a page down and a column right
    EXPECT_EQ(view_.TopLine(), Line(9));
    EXPECT_EQ(view_.HorzPos(), 1);
    QTest::keyClick(&view_, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(view_.HorzPos(), 1 + cells);
    QTest::keyClick(&view_, Qt::Key_End);
    EXPECT_EQ(view_.HorzPos(), view_.MaxChar() - cells);
    EXPECT_EQ(view_.horizontalScrollBar()->value(), view_.HorzPos());
    QTest::keyClick(&view_, Qt::Key_Home);
    EXPECT_EQ(view_.HorzPos(), 0);
    EXPECT_EQ(view_.TopLine(), Line(0));
}

TEST_F(BigViewTest, KeyDownHandlerMayReplaceOrClearTheKey) {
    MainViewWith(100, 10);
    view_.OnKeyDown = [](TBigView&, int& key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Q) {
            key = Qt::Key_PageDown;
        } else if (key == Qt::Key_Down) {
            key = 0;
        }
    };
    QTest::keyClick(&view_, Qt::Key_Q);
    EXPECT_EQ(view_.TopLine(), Line(9));
    QTest::keyClick(&view_, Qt::Key_Down);
    EXPECT_EQ(view_.TopLine(), Line(9));
}

TEST_F(BigViewTest, QuickSteadyStepsAccelerateUntilAPauseOrATurn) {
    MainViewWith(200, 10);
    view_.SetScrollSense(3);
    std::int64_t now = 1000;
    view_.SetClock([&now] { return now; });
    const auto press = [&](Qt::Key key, int wait) {
        now += wait;
        QTest::keyClick(&view_, key);
        return view_.TopLine().value;
    };
    // The third press is the first steady one; ten of them widen the step.
    for (int i = 1; i <= 11; ++i) {
        EXPECT_EQ(press(Qt::Key_Down, 50), i);
    }
    EXPECT_EQ(press(Qt::Key_Down, 50), 13);
    for (int i = 1; i <= 9; ++i) {
        EXPECT_EQ(press(Qt::Key_Down, 200), 13 + 2 * i);  // 200 ms still counts as quick
    }
    EXPECT_EQ(press(Qt::Key_Down, 50), 34);
    EXPECT_EQ(press(Qt::Key_Down, 50), 37);   // ScrollSense 3 is the limit
    EXPECT_EQ(press(Qt::Key_Down, 201), 38);  // a pause
    for (int i = 0; i < 20; ++i) {
        press(Qt::Key_Down, 10);
    }
    ASSERT_EQ(view_.ScrollStep(), 3);
    const int top = view_.TopLine().value;
    // Turning back: the first press still sees the steady descent, the next
    // one the turn.
    EXPECT_EQ(press(Qt::Key_Up, 10), top - 3);
    EXPECT_EQ(press(Qt::Key_Up, 10), top - 4);
}

TEST_F(BigViewTest, MaxCharGrowsToTheLongestLineAndStays) {
    test::TempDir dir;
    test::WriteBytes(dir / "long.001", "short\r\n" + std::string(300, 'w') + "\r\nx\r\n");
    test::WriteBytes(dir / "short.001", "abc\r\n");
    view_.SetWordWrap(false);
    ASSERT_LT(view_.MaxChar(), 300);
    view_.LoadFromFile(dir / "long.001");
    EXPECT_EQ(view_.MaxChar(), 300);
    view_.LoadFromFile(dir / "short.001");
    EXPECT_EQ(view_.MaxChar(), 300);
    view_.Clear();
    EXPECT_EQ(view_.MaxChar(), 300);
    view_.Add(std::string(310, 'q'));
    EXPECT_EQ(view_.MaxChar(), 310);
}

TEST_F(BigViewTest, FailedLoadLeavesTheViewMatchingItsLines) {
    test::TempDir dir;
    test::WriteBytes(dir / "part.001", "abcdef\r\nghij\r\n");
    view_.SetWrapByte(2);
    view_.SetScrollBar(TScrollStyle::ssVertical);
    view_.LoadFromFile(dir / "part.001");
    view_.SetTopLine(Line(3));
    ASSERT_EQ(view_.ViewLineCount(), LineCount(5));

    EXPECT_THROW(view_.LoadFromFile(dir / "missing.001"), IoError);
    EXPECT_EQ(view_.LineCount(), LineCount(0));
    EXPECT_EQ(view_.ViewLineCount(), LineCount(0));
    EXPECT_EQ(view_.TopLine(), Line(0));
    EXPECT_THROW(view_.GetViewLine(Line(0)), ListIndexError);
    EXPECT_FALSE(view_.grab().isNull());
}

TEST_F(BigViewTest, LineOperationsKeepViewLinesInStep) {
    view_.SetWrapByte(3);
    view_.Assign({"abcdef", "gh"});
    EXPECT_EQ(Shown(), (std::vector<std::string>{"abc", "def", "gh"}));
    view_.Insert(Line(2), "xyz1");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"abc", "def", "xyz", "1", "gh"}));
    view_.PutViewLine(Line(1), "DEFG");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"abc", "DEF", "G", "xyz", "1", "gh"}));
    view_.Delete(Line(3));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"abc", "DEF", "G", "gh"}));
    view_.Exchange(Line(0), Line(3));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"gh", "abc", "DEF", "G"}));
    view_.Insert(view_.LastViewLine() + 1, "");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"gh", "abc", "DEF", "G", ""}));
    EXPECT_THROW(view_.Delete(Line(5)), ListIndexError);
    EXPECT_THROW(view_.PutViewLine(Line(-1), "x"), ListIndexError);

    EXPECT_EQ(view_.IndexOf("abcDEFG"), Line(1));
    EXPECT_EQ(view_.IndexOf("abc"), Line(-1));
    ByteColumn column(1);
    ViewLineIndex line(0);
    EXPECT_TRUE(view_.Find("efg", column, line));
    EXPECT_EQ(column, ByteColumn(2));  // "DEF" is view line 2; the match starts at its E
    EXPECT_EQ(line, ViewLineIndex(2));
    column = ByteColumn(3);
    EXPECT_FALSE(view_.Find("gh", column, line));
    EXPECT_EQ(line, view_.LastViewLine() + 1);

    test::TempDir dir;
    view_.SaveToFile(dir / "out.txt");
    EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "gh\r\nabcDEFG\r\n\r\n");
    std::vector<std::string> lines;
    view_.AssignTo(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"gh", "abcDEFG", ""}));
}

TEST_F(BigViewTest, WrappingAtTheWindowWidthFitsAndFollowsResizing) {
    view_.SetScrollBar(TScrollStyle::ssVertical);
    const std::string latin(400, 'm');
    std::string kanji;
    for (int i = 0; i < 150; ++i) {
        kanji += S("漢");
    }
    for (int i = 0; i < 10; ++i) {
        view_.Add(i % 2 ? kanji : latin);
    }
    const auto check = [&] {
        std::string joined;
        int line = 0;
        for (ViewLineIndex v(0); v < view_.ViewLineCount(); ++v) {
            const TViewLineRec rec = view_.ViewLine(v);
            EXPECT_LT(view_.TextWidthOf(view_.GetViewLine(v)), view_.viewport()->width()) << v;
            if (rec.Line.value % 2 == 1) {
                EXPECT_EQ(rec.Len % 2, 0) << v;
            }
            joined += view_.GetViewLine(v);
            if (rec.LineEnd) {
                EXPECT_EQ(joined, line % 2 ? kanji : latin) << line;
                joined.clear();
                ++line;
            }
        }
        EXPECT_EQ(line, 10);
    };
    check();
    view_.SetTopLine(view_.LineToViewLine(TextLineIndex(5)));
    view_.resize(250, 300);
    QApplication::processEvents();
    check();
    EXPECT_EQ(view_.ViewLineToLine(view_.TopLine()), TextLineIndex(5));
}

TEST(BigViewFrameTest, CaptionMovesAndBorderSizesTheView) {
    QWidget parent;
    parent.resize(600, 400);
    auto* view = new TBigView(&parent);
    view->setGeometry(50, 50, 200, 150);
    view->SetBvStyle({TBvStyles::bvCaption, TBvStyles::bvMove, TBvStyles::bvVResize});
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    const auto drag = [view](QPoint from, QPoint by) {
        const auto send = [view](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, QPointF(at), QPointF(view->mapToGlobal(at)), Qt::LeftButton,
                              buttons, Qt::NoModifier);
            QApplication::sendEvent(view, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, from + by, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, from + by, Qt::NoButton);
    };
    ASSERT_GT(view->viewport()->y(), 10);
    drag(QPoint(100, 10), QPoint(30, 20));  // by the caption bar
    EXPECT_EQ(view->geometry(), QRect(80, 70, 200, 150));
    drag(QPoint(100, 148), QPoint(40, 20));  // by the bottom border: only the height
    EXPECT_EQ(view->geometry(), QRect(80, 70, 200, 170));
    drag(QPoint(1, 80), QPoint(-20, 0));  // no horizontal sizing: nothing
    EXPECT_EQ(view->geometry(), QRect(80, 70, 200, 170));
}

// After scrolling, what is on screen equals a fresh drawing of the view.
TEST_F(BigViewTest, ScrolledScreenMatchesAFreshDrawing) {
    MainViewWith(200, 10, true);
    view_.AddStrings({S("漢字\tかな"), "\tindented"});
    view_.SetSelect(true);
    view_.SetSelStart(V(3, 2));
    view_.SetSelEnd(V(4, 5));
    view_.Redraw();
    const QRect text = view_.viewport()->geometry();
    const auto screen = [&] {
        return view_.screen()
            ->grabWindow(view_.winId())
            .toImage()
            .copy(text)
            .convertToFormat(QImage::Format_RGB32);
    };
    const auto fresh = [&] {
        return view_.grab(text).toImage().convertToFormat(QImage::Format_RGB32);
    };
    for (int delta : {3, 1, -2, 10, -10, 25, -1, 150, -4}) {
        view_.SetTopLine(view_.TopLine() + delta);
        EXPECT_EQ(screen(), fresh()) << "after " << delta << ", top " << view_.TopLine();
    }
}

// A find mark inverts exactly its bytes on its line, and goes when the view
// scrolls or its lines change. Guards against an inverted block left on
// screen when the view scrolls by moving the pixels already drawn.
TEST_F(BigViewTest, FindMarkInvertsItsBytesUntilTheViewScrollsOrTheLinesChange) {
    MainViewWith(200, 10, true);
    const QRect text = view_.viewport()->geometry();
    const auto screen = [&] {
        QApplication::processEvents();
        return view_.screen()
            ->grabWindow(view_.winId())
            .toImage()
            .copy(text)
            .convertToFormat(QImage::Format_RGB32);
    };
    view_.SetTopLine(Line(1));
    const QImage plain = screen();
    view_.SetMark(TextLineIndex(8), 5, 1);  // "8" of "line 8", on row 7
    EXPECT_EQ(view_.MarkedLine(), TextLineIndex(8));
    const QImage marked = screen();
    const int x0 = view_.TextWidthOf("line ");
    const int x1 = view_.TextWidthOf("line 8");
    const QRect expected(x0, 7 * view_.LineHeight(), x1 - x0, view_.LineHeight());
    QRect changed;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) != marked.pixel(x, y)) {
                changed |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_TRUE(expected.contains(changed)) << "changed " << changed.x() << "," << changed.y()
                                            << " " << changed.width() << "x" << changed.height();

    view_.SetTopLine(Line(2));
    EXPECT_EQ(view_.MarkedLine(), TextLineIndex(-1));
    EXPECT_EQ(screen(), view_.grab(text).toImage().convertToFormat(QImage::Format_RGB32));
    view_.SetTopLine(Line(1));
    EXPECT_EQ(screen(), plain);

    view_.SetMark(TextLineIndex(8), 5, 1);
    view_.Add("more");
    EXPECT_EQ(view_.MarkedLine(), TextLineIndex(-1));
    view_.SetMark(TextLineIndex(8), 5, 1);
    view_.ClearMark();
    EXPECT_EQ(view_.MarkedLine(), TextLineIndex(-1));
    EXPECT_EQ(screen(), plain);

    // A mark past the right edge scrolls the view sideways until it goes.
    view_.Insert(Line(3), std::string(300, 'x') + "HIT");
    view_.SetTopLine(Line(2));
    view_.SetMark(TextLineIndex(3), 300, 3);
    const int x = view_.TextWidthOf(std::string(300, 'x')) - view_.HorzPos() * view_.CharWidth();
    EXPECT_GT(view_.HorzPos(), 0);
    EXPECT_GE(x, 0);
    EXPECT_LE(x + view_.TextWidthOf("HIT"), view_.viewport()->width());
    view_.ClearMark();
    EXPECT_EQ(view_.HorzPos(), 0);
    view_.SetMark(TextLineIndex(3), 300, 3);
    view_.SetTopLine(Line(3));
    EXPECT_EQ(view_.HorzPos(), 0);
}

}  // namespace
}  // namespace tovix
