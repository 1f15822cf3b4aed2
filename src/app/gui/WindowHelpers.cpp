// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/WindowHelpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

namespace tovix {

void CentreOnScreen(QWidget& window) {
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window.move((area.width() - window.width()) / 2, (area.height() - window.height()) / 2);
    }
}

QFont DialogFont() {
    QFont font = QApplication::font();
    font.setPixelSize(15);
    return font;
}

DialogButton::DialogButton(QWidget* parent, const char* name, const char* caption, int x, int y,
                           int width)
    : QPushButton(QString::fromUtf8(caption), parent) {
    setObjectName(QString::fromUtf8(name));
    setGeometry(x, y, width, 25);
    setAutoDefault(false);
}

void DialogButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace tovix
