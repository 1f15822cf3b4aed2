// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's application-wide key hook: an event filter on the
// application that sees every key press for the main window before the
// window hands it to the focused control, and never consumes it. It stands
// aside while one of the program's modal windows, a message box or a pop-up
// menu is open, and while the window's own dialog-open flag says so, so that
// keys typed in another window stay there.

#include <QObject>
#include <functional>

class QWidget;

namespace tovix {

class KeyHook : public QObject {
    Q_OBJECT

  public:
    using Handler = std::function<void(int key, Qt::KeyboardModifiers modifiers)>;

    // `window` is the main window; `standAside` is asked before every key.
    KeyHook(QWidget& window, std::function<bool()> standAside, Handler handler);
    ~KeyHook() override;

    KeyHook(const KeyHook&) = delete;
    KeyHook& operator=(const KeyHook&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    std::function<bool()> standAside_;
    Handler handler_;
};

}  // namespace tovix
