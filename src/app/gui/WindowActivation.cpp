// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/WindowActivation.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <memory>
#endif

namespace tovix {
namespace {

#if QT_CONFIG(xcb)
// A window manager is running when some client redirects the root window's
// substructure requests, which only a window manager does.
bool HasWindowManager(xcb_connection_t* connection) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr) {
        return false;
    }
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> attributes(
        xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, screen->root), nullptr),
        &free);
    return attributes != nullptr &&
           (attributes->all_event_masks & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT) != 0;
}

void TakeKeyboardFocus(QWidget& window) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        return;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 == nullptr ? nullptr : x11->connection();
    if (connection == nullptr || HasWindowManager(connection)) {
        return;
    }
    xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT,
                        static_cast<xcb_window_t>(window.winId()), XCB_CURRENT_TIME);
    xcb_flush(connection);
}
#else
void TakeKeyboardFocus(QWidget& /*window*/) {}
#endif

}  // namespace

void BringToFront(QWidget& window) {
    if (window.isMinimized()) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    }
    window.show();
    window.raise();
    window.activateWindow();
    TakeKeyboardFocus(window);
}

bool InNormalState(const QWidget& window) {
    return (window.windowState() &
            (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) == 0;
}

void ToggleMaximized(QWidget& window) {
    if (InNormalState(window)) {
        window.showMaximized();
    } else {
        window.showNormal();
    }
}

}  // namespace tovix
