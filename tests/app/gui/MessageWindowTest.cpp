// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/MessageWindow.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace tovix {
namespace {

// The notice window is modal: each way of closing it is tried from inside its
// event loop; a window still open after a while is rejected and counted.
TEST(MessageWindowTest, NoticeShowsItsTextAndAnyKeyOrClickClosesIt) {
    const std::function<void(TForm17&)> closers[] = {
        [](TForm17& w) { QTest::keyClick(&w, Qt::Key_A); },
        [](TForm17& w) { QTest::keyClick(&w, Qt::Key_Escape); },
        [](TForm17& w) { QTest::mouseClick(&w, Qt::LeftButton); },
        [](TForm17& w) { QTest::mouseClick(w.Label1(), Qt::LeftButton); },
        [](TForm17& w) { QTest::mouseDClick(w.Label1(), Qt::LeftButton); },
    };
    const QString text = QStringLiteral("    検索文字はありませんでした。   ");
    for (size_t i = 0; i < std::size(closers); ++i) {
        QString shown;
        bool leftOpen = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<TForm17*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            shown = window->Label1()->text();
            closers[i](*window);
        });
        QTimer guard;  // ends with the iteration, so it never fires into a later one
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (auto* window = qobject_cast<TForm17*>(QApplication::activeModalWidget())) {
                leftOpen = true;
                window->reject();
            }
        });
        guard.start(2000);
        TForm17::ShowNotice(nullptr, text);
        EXPECT_EQ(shown, text) << i;
        EXPECT_FALSE(leftOpen) << i;
    }
}

}  // namespace
}  // namespace tovix
