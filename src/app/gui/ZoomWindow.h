// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm3, the zoom window "Tovix (拡大表示)": the entry at the top of the
// main view, enlarged and broken into short lines (views/ZoomLines.h), in a
// wrapping text view of its own that fills the window.
//
//   Esc, Enter (in the window or its view)   close
//   Ctrl+[                                   maximised, or back to normal
//
// It opens at its remembered place ([FormView] with Mem set; centred in its
// design size while any remembered value is -1) or, without Mem, exactly
// over the main window. Closing it in the normal state remembers its place;
// a maximised or minimised close keeps the place remembered before.

#include <QDialog>
#include <QRect>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "platform/Reporter.h"

namespace tovix {

class TBigView;

class TForm3 : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kDesignWidth = 560;
    static constexpr int kDesignHeight = 420;

    // Font, colours and wrapping come from `settings`; `place` is the
    // remembered place, which FormClose updates. `mainWindow` is the main
    // window's geometry (left, top, width, height). Failures of the window's
    // handlers are reported through `reporter`.
    TForm3(const GeneralSettings& settings, WindowBounds& place, const QRect& mainWindow,
           Reporter& reporter, QWidget* parent = nullptr);

    TBigView* BigView1() const { return bigView1_; }

    // Shows the lines in the view (after emptying it).
    void ShowLines(std::vector<std::string> lines);

    // The keys of the window and of its view; true when the key was used.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormClose();

    // Where the window opens (left, top, width, height), on a screen of the
    // given size.
    static QRect Placement(const WindowBounds& place, const QRect& mainWindow, QSize screen);
    // Bytes per wrapped line: the wrap length ([WrapSet] Length, 2 .. 512)
    // with the wrap option on, else 0 (wrap at the window's width).
    static int WrapBytes(const GeneralSettings& settings);
    // `at` made at least `needed` pixels wide, within the screen's width and
    // moved left as far as the screen needs.
    static QRect WidenedFor(const QRect& at, int needed, QSize screen);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    int WidthForWrap() const;

    TBigView* bigView1_;
    WindowBounds& place_;
    Reporter& reporter_;
};

}  // namespace tovix
