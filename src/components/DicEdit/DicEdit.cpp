// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/DicEdit/DicEdit.h"

#include <QKeyEvent>
#include <QPainter>

#include "platform/qt/QtText.h"

namespace tovix {
namespace {

Qt::KeyboardModifiers ShiftAltCtrl(Qt::KeyboardModifiers modifiers) {
    return modifiers & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
}

}  // namespace

TDicEdit::TDicEdit(QWidget* parent) : QLineEdit(parent), mark_(QStringLiteral("×")) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) {
            OnChange(*this);
        }
    });
}

std::string TDicEdit::Text() const {
    return Cp932FromQtText(text());
}

void TDicEdit::SetText(std::string_view cp932) {
    setText(QtTextFromCp932(cp932));
}

void TDicEdit::SetNoMatch(bool noMatch) {
    if (noMatch == noMatch_) {
        return;
    }
    noMatch_ = noMatch;
    if (noMatch_) {
        normalText_ = palette().color(QPalette::Text);
        ApplyMutedText();
        setTextMargins(0, 0, fontMetrics().horizontalAdvance(mark_) + 8, 0);
    } else {
        SetPaletteText(normalText_);
        setTextMargins(0, 0, 0, 0);
    }
    update();
}

void TDicEdit::SetNoMatchMark(const QString& mark) {
    mark_ = mark;
    if (noMatch_) {
        setTextMargins(0, 0, fontMetrics().horizontalAdvance(mark_) + 8, 0);
    }
    update();
}

void TDicEdit::ApplyMutedText() {
    const QColor base = palette().color(QPalette::Base);
    SetPaletteText(QColor((normalText_.red() + base.red()) / 2,
                          (normalText_.green() + base.green()) / 2,
                          (normalText_.blue() + base.blue()) / 2));
}

void TDicEdit::SetPaletteText(const QColor& color) {
    QPalette muted = palette();
    muted.setColor(QPalette::Text, color);
    settingPalette_ = true;
    setPalette(muted);
    settingPalette_ = false;
}

void TDicEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && noMatch_ && !settingPalette_) {
        normalText_ = palette().color(QPalette::Text);
        ApplyMutedText();
    }
}

void TDicEdit::SetUsedPart(size_t bytes) {
    if (bytes != usedBytes_) {
        usedBytes_ = bytes;
        update();
    }
}

// The line under the used part starts where the text starts: the caret's
// place less the width of the text before it, which holds when the field
// has scrolled too.
void TDicEdit::DrawUsedPart(QPainter& painter) {
    const std::string text = Text();
    if (usedBytes_ == 0 || usedBytes_ >= text.size()) {
        return;
    }
    const QFontMetrics metrics = fontMetrics();
    const int left =
        cursorRect().center().x() - metrics.horizontalAdvance(displayText().left(cursorPosition()));
    const int width = metrics.horizontalAdvance(QtTextFromCp932(text.substr(0, usedBytes_)));
    const int y = cursorRect().bottom();
    painter.fillRect(left, y - 1, width, 2, palette().color(QPalette::Highlight));
}

void TDicEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    DrawUsedPart(painter);
    if (!noMatch_) {
        return;
    }
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(contentsRect().adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter,
                     mark_);
}

bool TDicEdit::SwallowsKey(int key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
            return true;
        case Qt::Key_V:
            return ShiftAltCtrl(modifiers) == Qt::ControlModifier;
        default:
            return false;
    }
}

// A swallowed key is not claimed before shortcuts either: the window's own
// shortcuts may use it while the field has the focus.
bool TDicEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (SwallowsKey(key->key(), key->modifiers())) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TDicEdit::keyPressEvent(QKeyEvent* event) {
    if (SwallowsKey(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (OnKeyDown) {
        OnKeyDown(*this, key, modifiers);
    }
    if (key == 0) {
        event->accept();
        return;
    }
    if (key == Qt::Key_H && ShiftAltCtrl(modifiers) == Qt::ControlModifier) {
        backspace();
        event->accept();
        return;
    }
    if (key == event->key()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent changed(QEvent::KeyPress, key, modifiers);
    QLineEdit::keyPressEvent(&changed);
    event->setAccepted(changed.isAccepted());
}

}  // namespace tovix
