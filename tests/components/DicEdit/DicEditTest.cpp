// SPDX-License-Identifier: GPL-3.0-or-later
// The search field: keys it leaves to the main window, editing keys, and its
// CP932 text.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <vector>

#include "components/DicEdit/DicEdit.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

TEST(DicEditTest, CaretKeysAndCtrlVReachNeitherHandlerNorEdit) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool swallowed;
    };
    const Case cases[] = {
        {Qt::Key_Left, Qt::NoModifier, true},
        {Qt::Key_Right, Qt::NoModifier, true},
        {Qt::Key_Right, Qt::ShiftModifier, true},
        {Qt::Key_Up, Qt::NoModifier, true},
        {Qt::Key_Down, Qt::ControlModifier, true},
        {Qt::Key_Home, Qt::NoModifier, true},
        {Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier, true},
        {Qt::Key_V, Qt::ControlModifier, true},
        {Qt::Key_End, Qt::NoModifier, false},
        {Qt::Key_End, Qt::ShiftModifier, false},
        {Qt::Key_Backspace, Qt::NoModifier, false},
        {Qt::Key_V, Qt::NoModifier, false},
    };
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    for (const Case& c : cases) {
        TDicEdit edit;
        edit.setText(QStringLiteral("abc"));
        edit.setCursorPosition(1);
        std::vector<int> seen;
        edit.OnKeyDown = [&](TDicEdit&, int& key, Qt::KeyboardModifiers) {
            if (key != Qt::Key_Shift && key != Qt::Key_Control) {  // pressed on their own first
                seen.push_back(key);
            }
        };
        QTest::keyClick(&edit, c.key, c.modifiers);
        if (c.swallowed) {
            EXPECT_TRUE(seen.empty()) << c.key;
            EXPECT_EQ(edit.text(), QStringLiteral("abc")) << c.key;
            EXPECT_EQ(edit.cursorPosition(), 1) << c.key;
        } else {
            EXPECT_EQ(seen, std::vector<int>{c.key});
            EXPECT_TRUE(edit.text() != QStringLiteral("abc") || edit.cursorPosition() != 1 ||
                        edit.hasSelectedText())
                << c.key;
        }
    }
}

TEST(DicEditTest, CtrlHDeletesBackAndCtrlZUndoes) {
    TDicEdit edit;
    QTest::keyClicks(&edit, QStringLiteral("abc"));
    edit.setCursorPosition(2);
    QTest::keyClick(&edit, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("ac"));
    EXPECT_EQ(edit.cursorPosition(), 1);
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("abc"));
}

TEST(DicEditTest, KeyDownHandlerMayClearTheKey) {
    TDicEdit edit;
    edit.OnKeyDown = [](TDicEdit&, int& key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Q) {
            key = 0;
        }
    };
    QTest::keyClicks(&edit, QStringLiteral("aqb"));
    EXPECT_EQ(edit.text(), QStringLiteral("ab"));
}

TEST(DicEditTest, TextGoesInAndOutAsCp932) {
    TDicEdit edit;
    int changes = 0;
    edit.OnChange = [&](TDicEdit&) { ++changes; };
    const std::string apple = Utf8ToCp932("りんごApple");
    edit.SetText(apple);
    EXPECT_EQ(edit.text(), QStringLiteral("りんごApple"));
    EXPECT_EQ(edit.Text(), apple);
    EXPECT_EQ(changes, 1);
    edit.SetText(apple);
    EXPECT_EQ(changes, 1);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.Text(), Utf8ToCp932("りんごAppl"));
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace tovix
