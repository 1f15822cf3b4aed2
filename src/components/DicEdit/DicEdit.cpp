#include "components/DicEdit/DicEdit.h"

#include <QKeyEvent>

#include "platform/qt/QtText.h"

namespace tovix {
namespace {

Qt::KeyboardModifiers ShiftAltCtrl(Qt::KeyboardModifiers modifiers) {
    return modifiers & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
}

}  // namespace

TDicEdit::TDicEdit(QWidget* parent) : QLineEdit(parent) {
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
