// SPDX-License-Identifier: GPL-3.0-or-later
// The text view's caret, selection and mouse: caret keys, clicks, double
// clicks and drag selection, on the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <string>

#include "components/BigView/BigView.h"
#include "components/BigView/BigViewFixture.h"

namespace tovix {
namespace {

using test::BigViewTest;
using test::Line;
using test::Numbered;
using test::S;
using test::V;

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
        {V(2, 0), Qt::Key_Right, Qt::ShiftModifier, V(2, 0), V(4, 0)},
        {V(4, 0), Qt::Key_Right, Qt::NoModifier, V(6, 0), V(6, 0)},
        {V(6, 0), Qt::Key_Left, Qt::NoModifier, V(4, 0), V(4, 0)},
        {V(6, 0), Qt::Key_Left, Qt::ShiftModifier, V(6, 0), V(4, 0)},
        {V(7, 0), Qt::Key_Right, Qt::NoModifier, V(7, 0), V(7, 0)},  // end of the line
        {V(2, 0), Qt::Key_Down, Qt::NoModifier, V(3, 1), V(3, 1)},   // off the trail byte
        {V(3, 0), Qt::Key_End, Qt::ShiftModifier, V(3, 0), V(7, 0)},
        {V(5, 1), Qt::Key_Home, Qt::ControlModifier, V(1, 0), V(1, 0)},
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
    view_.SetSelStart(V(3, 0));
    view_.SetSelEnd(V(3, 0));
    QTest::keyClick(&view_, Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(view_.TopLine(), Line(10));
    EXPECT_EQ(view_.SelStart(), V(3, 0));
    EXPECT_EQ(view_.SelEnd(), V(3, 10));
    QTest::keyClick(&view_, Qt::Key_PageDown);
    EXPECT_EQ(view_.TopLine(), Line(20));
    EXPECT_EQ(view_.SelStart(), V(3, 20));
    EXPECT_EQ(view_.SelEnd(), V(3, 20));

    // Without Select the shifted keys are no caret keys.
    view_.SetSelect(false);
    view_.SetSelStart(V(2, 0));
    view_.SetSelEnd(V(2, 0));
    QTest::keyClick(&view_, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view_.SelEnd(), V(2, 0));
}

TEST_F(BigViewTest, DoubleClickSelectsAWordOrOneKanji) {
    view_.SetWordWrap(false);
    view_.Add(S("x foo_bar2+漢字"));
    DoubleClick(PointAt(4, 0));
    EXPECT_EQ(view_.SelStart(), V(3, 0));
    EXPECT_EQ(view_.SelEnd(), V(11, 0));
    DoubleClick(PointAt(12, 0));
    EXPECT_EQ(view_.SelStart(), V(12, 0));
    EXPECT_EQ(view_.SelEnd(), V(14, 0));

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
        EXPECT_EQ(view_.SelStart(), V(6, 1)) << select;
        EXPECT_EQ(view_.SelEnd(), V(6, 1)) << select;
        QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, PointAt(2, 0));
        EXPECT_EQ(view_.SelEnd(), V(2, 0)) << select;
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return view_.TopLine() == Line(15); }, 5000));
    QTest::qWait(4 * TBigView::kAutoScrollInterval);
    EXPECT_EQ(view_.TopLine(), Line(15));  // the last view line is on the page: no further
    EXPECT_EQ(view_.SelStart(), V(2, 0));
    EXPECT_EQ(view_.SelEnd(), V(8, 24));
    QTest::mouseRelease(view_.viewport(), Qt::LeftButton, {}, below);

    view_.SetTopLine(Line(0));
    QTest::mousePress(view_.viewport(), Qt::LeftButton, {}, PointAt(2, 0));
    drag(below);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view_.TopLine() >= Line(2); }, 5000));
    QTest::mouseRelease(view_.viewport(), Qt::LeftButton, {}, below);
    const ViewLineIndex stopped = view_.TopLine();
    QTest::qWait(4 * TBigView::kAutoScrollInterval);
    EXPECT_EQ(view_.TopLine(), stopped);
}

}  // namespace
}  // namespace tovix
