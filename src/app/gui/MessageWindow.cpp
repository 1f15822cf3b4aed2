// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/MessageWindow.h"

#include <QKeyEvent>
#include <QLabel>

#include "app/AppMessages.h"
#include "app/gui/WindowHelpers.h"
#include "platform/qt/QtText.h"

namespace tovix {

TForm17::TForm17(QWidget* parent) : QDialog(parent), label1_(new QLabel(this)) {
    setWindowTitle(QtText(app_text::kMessageWindowCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(392, 73);
    label1_->setGeometry(20, 25, 350, 20);
    label1_->installEventFilter(this);
}

void TForm17::ShowNotice(QWidget* parent, const QString& text) {
    TForm17 window(parent);
    window.label1_->setText(text);
    CentreOnScreen(window);
    window.exec();
}

void TForm17::keyPressEvent(QKeyEvent* /*event*/) {
    close();
}

void TForm17::mousePressEvent(QMouseEvent* /*event*/) {
    close();
}

void TForm17::mouseDoubleClickEvent(QMouseEvent* /*event*/) {
    close();
}

bool TForm17::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label1_ && (event->type() == QEvent::MouseButtonPress ||
                               event->type() == QEvent::MouseButtonDblClick)) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tovix
