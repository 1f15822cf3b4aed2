// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom window alone (placement, wrapping, its keys, closing) and opened
// by the main window's commands.

#include "app/gui/ZoomWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ModalWindows.h"
#include "WindowTestSupport.h"
#include "app/gui/FunctionKeyBar.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

TEST(ZoomWindowTest, PlacementAndWrapLength) {
    const QRect main(30, 40, 700, 500);
    const QSize screen(1024, 768);
    const QRect centred((1024 - 560) / 2, (768 - 420) / 2, 560, 420);
    struct Case {
        WindowBounds place;
        QRect expected;
    };
    const Case cases[] = {
        {{false, 1, 2, 300, 200}, main},         {{true, 1, 2, 300, 200}, QRect(1, 2, 300, 200)},
        {{true, -1, 2, 300, 200}, centred},      {{true, 1, 2, 300, -1}, centred},
        {{true, 0, 0, 0, 0}, QRect(0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TForm3::Placement(c.place, main, screen), c.expected)
            << c.place.mem << " " << c.place.left << " " << c.place.height;
    }

    struct Wrap {
        bool on;
        const char* length;
        int bytes;
    };
    const Wrap wraps[] = {{true, "60", 60}, {true, "2", 2},     {true, "512", 512},
                          {true, "1", 2},   {true, "999", 512}, {true, "abc", 60},
                          {true, "", 60},   {false, "60", 0}};
    for (const Wrap& w : wraps) {
        GeneralSettings settings;
        settings.zoomWrap = w.on;
        settings.zoomWrapLength = w.length;
        EXPECT_EQ(TForm3::WrapBytes(settings), w.bytes) << w.on << " " << w.length;
    }
}

// Esc and Enter close the window whether it or its view has the focus; a
// close in the normal state remembers the place, a maximised one keeps the
// place remembered before.
TEST(ZoomWindowTest, KeysCloseAndToggleAndTheNormalStateIsRemembered) {
    GeneralSettings settings;
    test::RecordingReporter reporter;
    struct Case {
        int key;
        bool inView;
    };
    for (const Case c :
         {Case{Qt::Key_Escape, false}, Case{Qt::Key_Escape, true}, Case{Qt::Key_Return, false},
          Case{Qt::Key_Return, true}, Case{Qt::Key_Enter, true}}) {
        WindowBounds place{true, -1, -1, -1, -1};
        TForm3 window(settings, place, QRect(10, 20, 300, 200), reporter);
        window.ShowLines({"apple ", "", "りんご"});
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QWidget* target = c.inView ? static_cast<QWidget*>(window.BigView1()) : &window;
        const QRect before(window.x(), window.y(), window.width(), window.height());
        QTest::keyClick(target, static_cast<Qt::Key>(c.key));
        EXPECT_FALSE(window.isVisible()) << c.key << " in view " << c.inView;
        EXPECT_EQ(QRect(place.left, place.top, place.width, place.height), before);
        EXPECT_TRUE(place.mem);
        EXPECT_EQ(window.BigView1()->LineCount(), LineCount(0));
    }

    WindowBounds place{false, 5, 6, 300, 200};
    TForm3 window(settings, place, QRect(10, 20, 300, 200), reporter);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(window.BigView1(), Qt::Key_BracketLeft, Qt::ControlModifier);
    EXPECT_TRUE(window.isMaximized());
    QTest::keyClick(&window, Qt::Key_BracketLeft, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(window.isMaximized());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(place, (WindowBounds{false, 5, 6, 300, 200}));

    window.show();
    QTest::keyClick(&window, Qt::Key_BracketLeft, Qt::ControlModifier);
    EXPECT_FALSE(window.isMaximized());
}

class ZoomCommandTest : public test::WindowTest {
  protected:
    struct Seen {
        std::vector<std::string> lines;
        bool dialogOpen = false;
        QString caption;
        int wrapByte = -1;
    };

    // Runs `command` and reads the zoom window it opens, then closes it.
    Seen Zoom(TForm1& window, const std::function<void()>& command) {
        Seen seen;
        test::WhenModal<TForm3>([&](TForm3& zoom) {
            for (int n = 0; n < zoom.BigView1()->Lines().Count(); ++n) {
                seen.lines.push_back(Cp932ToUtf8(zoom.BigView1()->Lines().View(n)));
            }
            seen.dialogOpen = window.DialogOpen();
            seen.caption = zoom.windowTitle();
            seen.wrapByte = zoom.BigView1()->WrapByte();
            zoom.close();
        });
        command();
        EXPECT_FALSE(window.DialogOpen());
        return seen;
    }
};

TEST_F(ZoomCommandTest, EveryKeyButtonAndItemOpensTheEntryAtTheTopByItsRule) {
    const std::filesystem::path dic =
        test::BuildDictionary(dir, Direction::English, {"apple\ta, b / c"}, "E.DIC");
    auto window = StartShown({Q(dic), "ENG"});
    window->DicEdit1()->SetText("a");
    window->BigView1()->SetTopLine(ViewLineIndex(1));  // the translation line: the entry above
    using Lines = std::vector<std::string>;
    const Lines comma{"apple ", "", "a,", " b / c"};
    const Lines pdic{"apple ", "", "a, b", " / c"};
    TForm1& w = *window;
    const auto key = [&w](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [&w, k, m] { Press(w, k, m); };
    };
    const auto button = [&w](int n) { return [&w, n] { w.Panel2()->Button(n)->click(); }; };
    const auto item = [&w](const char* name) {
        return
            [&w, name] { w.PopupMenu1()->findChild<QAction*>(QString::fromUtf8(name))->trigger(); };
    };
    struct Case {
        const char* what;
        std::function<void()> command;
        Lines lines;
    };
    const Case cases[] = {
        {"F9", key(Qt::Key_F9), comma},
        {"Shift+F9", key(Qt::Key_F9, Qt::ShiftModifier), comma},
        {"Ctrl+F9", key(Qt::Key_F9, Qt::ControlModifier), pdic},
        {"Enter in the search field", key(Qt::Key_Return), comma},
        {"Ctrl+A", key(Qt::Key_A, Qt::ControlModifier), comma},
        {"拡大", button(9), comma},
        {"拡EXM", button(19), comma},
        {"拡PDIC", button(29), pdic},
        {"F09 拡大", item("PopBtn09"), comma},
        {"Shift+F09 拡大EXM", item("PopBtn19"), comma},
        {"Ctrl+F09 拡大PDIC", item("PopBtn29"), pdic},
    };
    for (const Case& c : cases) {
        window->DicEdit1()->setFocus();
        const Seen seen = Zoom(*window, c.command);
        EXPECT_EQ(seen.lines, c.lines) << c.what;
        EXPECT_TRUE(seen.dialogOpen) << c.what;
        EXPECT_EQ(seen.caption, QStringLiteral("Tovix (拡大表示)")) << c.what;
        EXPECT_EQ(seen.wrapByte, 60) << c.what;
    }
    // The place of a close in the normal state is kept for the settings file.
    EXPECT_NE(window->Settings().zoomWindow.width, -1);
}

TEST_F(ZoomCommandTest, NothingOpensOnAnEmptyView) {
    auto window = StartShown({});
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto* zoom = qobject_cast<TForm3*>(QApplication::activeModalWidget())) {
            opened = true;
            zoom->close();
        }
    });
    window->RunCommand("Button9Click");
    QApplication::processEvents();
    EXPECT_FALSE(opened);
}

}  // namespace
}  // namespace tovix
