// The text view widget on Qt's offscreen platform. Pixel expectations come
// from the font metrics of the running system, never from fixed numbers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "components/BigView/BigView.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

std::vector<std::string> Numbered(int n) {
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
        for (int v = 0; v < view_.ViewLineCount(); ++v) {
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
        const std::string text = view_.GetViewLine(viewLine);
        const int before = view_.TextWidthOf(std::string_view(text).substr(0, column - 1));
        const int width = view_.TextWidthOf(std::string_view(text).substr(column - 1, 1));
        return QPoint(before + width / 2,
                      (viewLine - view_.TopLine()) * view_.LineHeight() + view_.LineHeight() / 2);
    }

    TBigView view_;
};

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
    EXPECT_EQ(view_.Add(std::string(130, 'a')), 3);
    EXPECT_EQ(view_.Add(""), 4);
    EXPECT_EQ(view_.LineCount(), 2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{std::string(60, 'a'), std::string(60, 'a'),
                                                 std::string(10, 'a'), ""}));
    EXPECT_EQ(view_.LineToViewLine(view_.LineCount()), view_.ViewLineCount());
    EXPECT_EQ(view_.ViewLineToLine(-1), -1);
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
    std::vector<int> seen;
    view_.OnViewLineChanging = [&](TBigView&, int& v) { seen.push_back(v); };
    view_.SetTopLine(500);
    EXPECT_EQ(view_.TopLine(), 99);
    EXPECT_EQ(view_.BottomLine(), 99);
    view_.SetTopLine(-3);
    EXPECT_EQ(view_.TopLine(), 0);
    EXPECT_EQ(view_.BottomLine(), 9);
    EXPECT_EQ(seen, (std::vector<int>{99, 0}));

    view_.OnViewLineChanging = [](TBigView&, int& v) { v = 42; };
    view_.SetTopLine(7);
    EXPECT_EQ(view_.TopLine(), 42);
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
        view_.SetTopLine(c.from);
        QTest::keyClick(&view_, c.key, c.modifiers);
        EXPECT_EQ(view_.TopLine(), c.top) << "key " << c.key << " from " << c.from;
    }

    view_.SetScOver(true);
    QTest::keyClick(&view_, Qt::Key_B);
    EXPECT_EQ(view_.TopLine(), 99);

    view_.SetScrollBar(TScrollStyle::ssNone);
    view_.SetTopLine(0);
    QTest::keyClick(&view_, Qt::Key_Space);
    EXPECT_EQ(view_.TopLine(), 0);
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
        view_.SetTopLine(20);
        bar->triggerAction(c.action);
        EXPECT_EQ(view_.TopLine(), c.top) << c.action;
        EXPECT_EQ(bar->value(), c.top) << c.action;
    }
    bar->setSliderPosition(50);  // dragging the thumb
    EXPECT_EQ(view_.TopLine(), 50);

    QWheelEvent wheel(QPointF(5, 5), QPointF(view_.viewport()->mapToGlobal(QPoint(5, 5))), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view_.viewport(), &wheel);
    EXPECT_EQ(view_.TopLine(), 50 + QApplication::wheelScrollLines());
}

TEST_F(BigViewTest, HorizontalKeysScrollByCells) {
    view_.SetWordWrap(false);
    view_.SetScrollBar(TScrollStyle::ssBoth);
    FitPage(10);
    view_.Assign(Numbered(100));
    const int cells = view_.viewport()->width() / view_.CharWidth();
    QTest::keyClick(&view_, Qt::Key_Right);  // a page down and a column right
    EXPECT_EQ(view_.TopLine(), 9);
    EXPECT_EQ(view_.HorzPos(), 1);
    QTest::keyClick(&view_, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(view_.HorzPos(), 1 + cells);
    QTest::keyClick(&view_, Qt::Key_End);
    EXPECT_EQ(view_.HorzPos(), view_.MaxChar() - cells);
    EXPECT_EQ(view_.horizontalScrollBar()->value(), view_.HorzPos());
    QTest::keyClick(&view_, Qt::Key_Home);
    EXPECT_EQ(view_.HorzPos(), 0);
    EXPECT_EQ(view_.TopLine(), 0);
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
    EXPECT_EQ(view_.TopLine(), 9);
    QTest::keyClick(&view_, Qt::Key_Down);
    EXPECT_EQ(view_.TopLine(), 9);
}

TEST_F(BigViewTest, QuickSteadyStepsAccelerateUntilAPauseOrATurn) {
    MainViewWith(200, 10);
    view_.SetScrollSense(3);
    std::int64_t now = 1000;
    view_.SetClock([&now] { return now; });
    const auto press = [&](Qt::Key key, int wait) {
        now += wait;
        QTest::keyClick(&view_, key);
        return view_.TopLine();
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
    const int top = view_.TopLine();
    // Turning back: the first press still sees the steady descent, the next
    // one the turn.
    EXPECT_EQ(press(Qt::Key_Up, 10), top - 3);
    EXPECT_EQ(press(Qt::Key_Up, 10), top - 4);
}

TEST_F(BigViewTest, CaretKeysStepOverKanji) {
    view_.SetWordWrap(false);
    view_.SetCaret(true);
    view_.Add(S("a漢字b"));
    view_.Add(S("字ab"));
    struct Case {
        TViewPos from;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        TViewPos start;
        TViewPos end;
    };
    const Case cases[] = {
        {{2, 0}, Qt::Key_Right, Qt::ShiftModifier, {2, 0}, {4, 0}},
        {{4, 0}, Qt::Key_Right, Qt::NoModifier, {6, 0}, {6, 0}},
        {{6, 0}, Qt::Key_Left, Qt::NoModifier, {4, 0}, {4, 0}},
        {{6, 0}, Qt::Key_Left, Qt::ShiftModifier, {6, 0}, {4, 0}},
        {{7, 0}, Qt::Key_Right, Qt::NoModifier, {7, 0}, {7, 0}},  // end of the line
        {{2, 0}, Qt::Key_Down, Qt::NoModifier, {3, 1}, {3, 1}},   // off the trail byte
        {{3, 0}, Qt::Key_End, Qt::ShiftModifier, {3, 0}, {7, 0}},
        {{5, 1}, Qt::Key_Home, Qt::ControlModifier, {1, 0}, {1, 0}},
    };
    for (const Case& c : cases) {
        view_.SetSelStart(c.from);
        view_.SetSelEnd(c.from);
        QTest::keyClick(&view_, c.key, c.modifiers);
        EXPECT_EQ(view_.SelStart(), c.start) << c.from.Column << "," << c.from.Line;
        EXPECT_EQ(view_.SelEnd(), c.end) << c.from.Column << "," << c.from.Line;
        EXPECT_EQ(view_.CaretPos(), c.end);
    }

    // A page down with Shift keeps the anchor where the caret stood.
    view_.SetScrollBar(TScrollStyle::ssVertical);
    FitPage(10);
    view_.Assign(Numbered(40));
    view_.SetSelStart({3, 0});
    view_.SetSelEnd({3, 0});
    QTest::keyClick(&view_, Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(view_.TopLine(), 10);
    EXPECT_EQ(view_.SelStart(), (TViewPos{3, 0}));
    EXPECT_EQ(view_.SelEnd(), (TViewPos{3, 10}));
    QTest::keyClick(&view_, Qt::Key_PageDown);
    EXPECT_EQ(view_.TopLine(), 20);
    EXPECT_EQ(view_.SelStart(), (TViewPos{3, 20}));
    EXPECT_EQ(view_.SelEnd(), (TViewPos{3, 20}));

    // Without Select the shifted keys are no caret keys.
    view_.SetSelect(false);
    view_.SetSelStart({2, 0});
    view_.SetSelEnd({2, 0});
    QTest::keyClick(&view_, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view_.SelEnd(), (TViewPos{2, 0}));
}

TEST_F(BigViewTest, DoubleClickSelectsAWordOrOneKanji) {
    view_.SetWordWrap(false);
    view_.Add(S("x foo_bar2+漢字"));
    DoubleClick(PointAt(4, 0));
    EXPECT_EQ(view_.SelStart(), (TViewPos{3, 0}));
    EXPECT_EQ(view_.SelEnd(), (TViewPos{11, 0}));
    DoubleClick(PointAt(12, 0));
    EXPECT_EQ(view_.SelStart(), (TViewPos{12, 0}));
    EXPECT_EQ(view_.SelEnd(), (TViewPos{14, 0}));

    view_.SetSelect(false);
    DoubleClick(PointAt(4, 0));
    EXPECT_EQ(view_.SelStart(), view_.SelEnd());
}

TEST_F(BigViewTest, ClicksPlaceTheCaretAndOpenTheMenu) {
    view_.SetWordWrap(false);
    view_.AddStrings({"abc", "hello"});
    QMenu menu;
    menu.addAction(QStringLiteral("copy"));
    view_.SetPopupMenu(&menu);
    int clicks = 0;
    view_.OnClick = [&](TBigView&) { ++clicks; };
    for (bool select : {true, false}) {
        view_.SetSelect(select);
        // Below the last view line: the end of the last view line.
        QTest::mouseClick(view_.viewport(), Qt::LeftButton, {},
                          QPoint(5, 4 * view_.LineHeight() + 2));
        EXPECT_EQ(view_.SelStart(), (TViewPos{6, 1})) << select;
        EXPECT_EQ(view_.SelEnd(), (TViewPos{6, 1})) << select;
        QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, PointAt(2, 0));
        EXPECT_EQ(view_.SelEnd(), (TViewPos{2, 0})) << select;
    }
    EXPECT_EQ(clicks, 4);
    EXPECT_TRUE(view_.hasFocus());

    // A drag without Select extends nothing.
    QTest::mousePress(view_.viewport(), Qt::LeftButton, {}, PointAt(1, 0));
    QMouseEvent move(QEvent::MouseMove, QPointF(PointAt(4, 1)), QPointF(), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view_.viewport(), &move);
    QTest::mouseRelease(view_.viewport(), Qt::LeftButton, {}, PointAt(4, 1));
    EXPECT_EQ(view_.SelStart(), view_.SelEnd());

    QTest::mousePress(view_.viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

TEST_F(BigViewTest, DraggingBelowTheViewScrollsUntilTheEndOrTheRelease) {
    view_.SetScrollBar(TScrollStyle::ssVertical);
    view_.SetWordWrap(false);
    FitPage(10);
    view_.Assign(Numbered(25));
    const auto drag = [&](QPoint to) {
        QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(view_.viewport()->mapToGlobal(to)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view_.viewport(), &move);
    };
    const QPoint below(5, view_.viewport()->height() + 20);

    QTest::mousePress(view_.viewport(), Qt::LeftButton, {}, PointAt(2, 0));
    drag(below);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view_.TopLine() == 15; }, 5000));
    QTest::qWait(4 * TBigView::kAutoScrollInterval);
    EXPECT_EQ(view_.TopLine(), 15);  // the last view line is on the page: no further
    EXPECT_EQ(view_.SelStart(), (TViewPos{2, 0}));
    EXPECT_EQ(view_.SelEnd(), (TViewPos{8, 24}));
    QTest::mouseRelease(view_.viewport(), Qt::LeftButton, {}, below);

    view_.SetTopLine(0);
    QTest::mousePress(view_.viewport(), Qt::LeftButton, {}, PointAt(2, 0));
    drag(below);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view_.TopLine() >= 2; }, 5000));
    QTest::mouseRelease(view_.viewport(), Qt::LeftButton, {}, below);
    const int stopped = view_.TopLine();
    QTest::qWait(4 * TBigView::kAutoScrollInterval);
    EXPECT_EQ(view_.TopLine(), stopped);
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
    view_.SetTopLine(3);
    ASSERT_EQ(view_.ViewLineCount(), 5);

    EXPECT_THROW(view_.LoadFromFile(dir / "missing.001"), IoError);
    EXPECT_EQ(view_.LineCount(), 0);
    EXPECT_EQ(view_.ViewLineCount(), 0);
    EXPECT_EQ(view_.TopLine(), 0);
    EXPECT_THROW(view_.GetViewLine(0), ListIndexError);
    EXPECT_FALSE(view_.grab().isNull());
}

TEST_F(BigViewTest, LineOperationsKeepViewLinesInStep) {
    view_.SetWrapByte(3);
    view_.Assign({"abcdef", "gh"});
    EXPECT_EQ(Shown(), (std::vector<std::string>{"abc", "def", "gh"}));
    view_.Insert(2, "xyz1");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"abc", "def", "xyz", "1", "gh"}));
    view_.PutViewLine(1, "DEFG");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"abc", "DEF", "G", "xyz", "1", "gh"}));
    view_.Delete(3);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"abc", "DEF", "G", "gh"}));
    view_.Exchange(0, 3);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"gh", "abc", "DEF", "G"}));
    view_.Insert(view_.ViewLineCount(), "");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"gh", "abc", "DEF", "G", ""}));
    EXPECT_THROW(view_.Delete(5), ListIndexError);
    EXPECT_THROW(view_.PutViewLine(-1, "x"), ListIndexError);

    EXPECT_EQ(view_.IndexOf("abcDEFG"), 1);
    EXPECT_EQ(view_.IndexOf("abc"), -1);
    int column = 1;
    int line = 0;
    EXPECT_TRUE(view_.Find("efg", column, line));
    EXPECT_EQ(column, 2);  // "DEF" is view line 2; the match starts at its E
    EXPECT_EQ(line, 2);
    column = 3;
    EXPECT_FALSE(view_.Find("gh", column, line));
    EXPECT_EQ(line, view_.ViewLineCount());

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
        for (int v = 0; v < view_.ViewLineCount(); ++v) {
            const TViewLineRec rec = view_.ViewLine(v);
            EXPECT_LT(view_.TextWidthOf(view_.GetViewLine(v)), view_.viewport()->width()) << v;
            if (rec.Line % 2 == 1) {
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
    view_.SetTopLine(view_.LineToViewLine(5));
    view_.resize(250, 300);
    QApplication::processEvents();
    check();
    EXPECT_EQ(view_.ViewLineToLine(view_.TopLine()), 5);
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
    view_.SetSelStart({3, 2});
    view_.SetSelEnd({4, 5});
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
    view_.SetTopLine(1);
    const QImage plain = screen();
    view_.SetMark(8, 5, 1);  // "8" of "line 8", on row 7
    EXPECT_EQ(view_.MarkedLine(), 8);
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

    view_.SetTopLine(2);
    EXPECT_EQ(view_.MarkedLine(), -1);
    EXPECT_EQ(screen(), view_.grab(text).toImage().convertToFormat(QImage::Format_RGB32));
    view_.SetTopLine(1);
    EXPECT_EQ(screen(), plain);

    view_.SetMark(8, 5, 1);
    view_.Add("more");
    EXPECT_EQ(view_.MarkedLine(), -1);
    view_.SetMark(8, 5, 1);
    view_.ClearMark();
    EXPECT_EQ(view_.MarkedLine(), -1);
    EXPECT_EQ(screen(), plain);

    // A mark past the right edge scrolls the view sideways until it goes.
    view_.Insert(3, std::string(300, 'x') + "HIT");
    view_.SetTopLine(2);
    view_.SetMark(3, 300, 3);
    const int x = view_.TextWidthOf(std::string(300, 'x')) - view_.HorzPos() * view_.CharWidth();
    EXPECT_GT(view_.HorzPos(), 0);
    EXPECT_GE(x, 0);
    EXPECT_LE(x + view_.TextWidthOf("HIT"), view_.viewport()->width());
    view_.ClearMark();
    EXPECT_EQ(view_.HorzPos(), 0);
    view_.SetMark(3, 300, 3);
    view_.SetTopLine(3);
    EXPECT_EQ(view_.HorzPos(), 0);
}

}  // namespace
}  // namespace tovix
