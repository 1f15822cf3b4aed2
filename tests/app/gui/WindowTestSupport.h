// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common ground of the main window tests: a program directory of the
// test's own (settings, work files), a registry of running copies that no
// other process shares, the message recorder and the fake desktop.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>

#include "FakeDesktop.h"
#include "app/gui/CopyInstances.h"
#include "app/gui/MainWindow.h"
#include "components/BigView/BigView.h"
#include "platform/Cp932.h"
#include "platform/ProgramDir.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"

namespace tovix::test {

// Runs `act` on the modal window of type W as soon as it is shown; call it
// before the command that shows the window and waits for it to close. A
// window not shown within five seconds is a failure.
template <typename W>
void WhenShown(std::function<void(W&)> act, int tries = 500) {
    QTimer::singleShot(10, [act = std::move(act), tries]() mutable {
        if (auto* window = qobject_cast<W*>(QApplication::activeModalWidget())) {
            act(*window);
        } else if (tries > 0) {
            WhenShown<W>(std::move(act), tries - 1);
        } else {
            ADD_FAILURE() << "the window was not shown";
        }
    });
}

class WindowTest : public testing::Test {
  protected:
    WindowTest() {
        SetProgramDir(dir.path());
        SetCopyRegistryDir(dir / "copies");
    }

    std::unique_ptr<TForm1> Start(const QStringList& arguments) {
        auto window = std::make_unique<TForm1>(arguments, &reporter);
        window->SetDesktop(desktop);
        return window;
    }

    // A window shown and active, so that keys reach it as typed keys do:
    // through its native window, past the key hook, to the focused control.
    std::unique_ptr<TForm1> StartShown(const QStringList& arguments) {
        auto window = Start(arguments);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // The settings file is written after the first paint; what a test
        // does next must not meet that write.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->StartupNotePending(); }));
        return window;
    }

    static void Press(TForm1& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window.windowHandle(), static_cast<Qt::Key>(key), modifiers);
    }

    static std::string Top(TForm1& window) {
        TBigView& view = *window.BigView1();
        return Cp932ToUtf8(view.GetViewLine(view.TopLine()));
    }

    static QString Q(const std::filesystem::path& path) {
        return QString::fromStdString(path.string());
    }

    TempDir dir;
    RecordingReporter reporter;
    FakeDesktop desktop;
};

}  // namespace tovix::test
