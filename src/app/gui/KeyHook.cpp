// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/KeyHook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace tovix {

KeyHook::KeyHook(QWidget& window, std::function<bool()> standAside, Handler handler)
    : window_(window), standAside_(std::move(standAside)), handler_(std::move(handler)) {
    qApp->installEventFilter(this);
}

KeyHook::~KeyHook() {
    qApp->removeEventFilter(this);
}

// A key press reaches the main window's native window first, then its focused
// control (and, when that ignores it, the control's parents): taking it at the
// native window sees it once, before any control.
bool KeyHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || watched != window_.windowHandle() ||
        QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr || standAside_()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    handler_(key->key(), key->modifiers());
    return false;
}

}  // namespace tovix
