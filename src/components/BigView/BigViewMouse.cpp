// SPDX-License-Identifier: GPL-3.0-or-later
// TBigView: caret, selection, mouse and focus.

#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "components/BigView/BigView.h"
#include "components/BigView/Model/CaretMotion.h"

namespace tovix {
namespace {

constexpr int kCaretWidth = 10;

}  // namespace

// --- Caret and selection -------------------------------------------------

void TBigView::SetCaret(bool on) {
    caret_ = on;
    UpdateCaret();
}

bool TBigView::CaretShown() const {
    return caret_ && hasFocus();
}

void TBigView::UpdateCaret() {
    caretBlinkOn_ = true;
    if (CaretShown()) {
        caretBlink_.start();
    } else {
        caretBlink_.stop();
    }
    viewport()->update(CaretRect());
}

QRect TBigView::CaretRect() const {
    return QRect(caretPixel_, QSize(kCaretWidth, lineHeight_));
}

void TBigView::SetSelStart(TViewPos p) {
    selStart_ = ClampPos(viewLines_, p);
}

void TBigView::SetSelEnd(TViewPos p) {
    selEnd_ = ClampPos(viewLines_, p);
    PlaceCaret(selEnd_);
}

void TBigView::PlaceCaret(TViewPos p) {
    const QRect old = CaretRect();
    caretPos_ = ClampPos(viewLines_, p);
    const int x = caretPos_.Line < ViewLineCount() ? ColumnX(caretPos_.Line, caretPos_.Column) : 0;
    caretPixel_ = QPoint(x - XOffset(), (caretPos_.Line - topLine_) * lineHeight_);
    if (CaretShown() && CaretRect() != old) {
        caretBlinkOn_ = true;
        viewport()->update(old);
        viewport()->update(CaretRect());
    }
}

// Without a selection the caret stays on the page: it moves to the top or
// the bottom view line when the page leaves it behind. Not while a selection
// is being made (dragging, shifted keys): its anchor must stay where it began.
void TBigView::KeepCaretInPage() {
    TViewPos p = caretPos_;
    if (p.Line < topLine_) {
        p.Line = topLine_;
    } else if (p.Line > bottomLine_) {
        p.Line = bottomLine_;
    }
    SetSelEnd(p);
    SetSelStart(p);
}

// Keeps the places within the view lines after they were rebuilt.
void TBigView::ClampPlaces() {
    selStart_ = ClampPos(viewLines_, selStart_);
    selEnd_ = ClampPos(viewLines_, selEnd_);
    caretPos_ = ClampPos(viewLines_, caretPos_);
}

bool TBigView::CaretKeyDown(ViewKey key, TShiftState shift) {
    const std::optional<CaretKey> found = FindCaretKey(key, shift, select_);
    if (!found) {
        return false;
    }
    selecting_ = found->extend;
    const TViewPos from = caretPos_;
    const TViewPos to = MoveCaret(viewLines_, from, found->move, pageLines_);
    const bool pageMove = found->move == CaretMove::PageUp || found->move == CaretMove::PageDown;
    if (pageMove && to.Line != from.Line) {
        SetTopLine(topLine_ + (to.Line - from.Line));
    }
    SetSelEnd(to);
    if (!found->extend) {
        SetSelStart(selEnd_);
    }
    return true;
}

bool TBigView::EnsureCaretVisible(TViewPos p) {
    const ViewLineIndex oldTop = topLine_;
    const int oldHorz = scroll_.HorzPos();
    {
        Suspend suspend(*this);
        if (p.Line < topLine_) {
            SetTopLine(p.Line);
        }
        if (p.Line > bottomLine_) {
            SetBottomLine(p.Line);
        }
        int x = 0;
        if (p.Line.value >= 0 && p.Line < ViewLineCount()) {
            // The caret's x, but no further than the text area reaches.
            const std::string_view text = viewLines_.Text(p.Line);
            const size_t before = p.Column ? std::min(p.Column.Offset(), text.size()) : 0;
            x = WidthUpTo(text.substr(0, before), (maxChar_ + 1) * charWidth_);
        }
        const int clientWidth = ClientWidth();
        if (x < XOffset()) {
            SetHorzPos(x / charWidth_);
        } else if (x > XOffset() + clientWidth) {
            SetHorzPos((x - clientWidth) / charWidth_ + 1);
        }
    }
    const bool moved = topLine_ != oldTop || scroll_.HorzPos() != oldHorz;
    if (moved) {
        Redraw();
    }
    return moved;
}

// --- Mouse -------------------------------------------------------------------

TViewPos TBigView::PointToPosition(QPoint point) const {
    const PointGeometry geometry{
        lineHeight_,   charWidth_, scroll_.HorzPos(), topLine_.value, (maxChar_ + 1) * charWidth_,
        BufferHeight()};
    return tovix::PointToPosition(viewLines_, *this, geometry, point.x(), point.y());
}

void TBigView::SelectWordAt(QPoint point) {
    const TViewPos p = PointToPosition(point);
    if (!select_ || ViewLineCount().Empty() || !p.Column) {
        return;
    }
    const auto [start, end] = WordAt(viewLines_, p);
    SetSelStart(start);
    SetSelEnd(end);
    Redraw();
}

void TBigView::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point) {
    if (OnMouseDown) {
        OnMouseDown(*this, button, modifiers, point);
    }
    if (button == Qt::RightButton) {
        if (popupMenu_ != nullptr) {
            popupMenu_->popup(viewport()->mapToGlobal(point));
        }
    } else if (button == Qt::LeftButton) {
        if (clickState_ == 1) {
            selecting_ = select_;
            const TViewPos p = PointToPosition(point);
            SetSelStart(p);
            SetSelEnd(p);
            Redraw();
        } else if (select_) {
            SelectWordAt(point);
        }
    }
    clickState_ = 1;
}

void TBigView::Click() {
    setFocus(Qt::MouseFocusReason);
    clickState_ = 1;
    if (OnClick) {
        OnClick(*this);
    }
}

void TBigView::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point) {
    if (OnMouseUp) {
        OnMouseUp(*this, button, modifiers, point);
    }
    if (selecting_) {
        selecting_ = false;
        autoScroll_.stop();
        const TViewPos p = PointToPosition(point);
        if (p.Column) {
            SetSelEnd(p);
            Redraw();
        }
    }
    setFocus(Qt::MouseFocusReason);
}

// One step of drag selection: scrolls when the pointer is outside the view,
// extends the selection to the pointer, and comes back on a timer while it
// keeps scrolling.
void TBigView::DragStep() {
    if (!selecting_) {
        return;
    }
    const ViewLineIndex oldTop = topLine_;
    const int oldHorz = scroll_.HorzPos();
    const QPoint point = lastMouse_;
    if (point.y() < 0) {
        SetTopLine(topLine_ - 1);
    }
    if (point.y() > viewport()->height() && bottomLine_ < LastViewLine()) {
        SetTopLine(topLine_ + 1);
    }
    if (point.x() < 0) {
        ScrollColumns(LineUp, scroll_.HorzPos(), 200);
    }
    if (point.x() > viewport()->width()) {
        ScrollColumns(LineDown, scroll_.HorzPos(), 200);
    }
    const TViewPos p = PointToPosition(point);
    if (!p.Column) {
        return;
    }
    SetSelEnd(p);
    Redraw();
    if (topLine_ != oldTop || scroll_.HorzPos() != oldHorz) {
        autoScroll_.start();
    }
}

void TBigView::mousePressEvent(QMouseEvent* event) {
    if (FrameMouseEvent(event)) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        clickPending_ = true;
    }
    MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

// Qt delivers the second press before the double click; the double click
// takes over from it, so its release neither clicks nor extends.
void TBigView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        clickPending_ = false;
        selecting_ = false;
        autoScroll_.stop();
        clickState_ = 2;
        if (OnDblClick) {
            OnDblClick(*this);
        }
    }
    MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TBigView::mouseMoveEvent(QMouseEvent* event) {
    if (FrameMouseEvent(event)) {
        return;
    }
    const QPoint point = event->position().toPoint();
    if (selecting_) {
        lastMouse_ = point;
        DragStep();
    }
    if (OnMouseMove) {
        OnMouseMove(*this, event->modifiers(), point);
    }
}

// A left press and release inside the view is a click; it comes before the
// mouse-up handling.
void TBigView::mouseReleaseEvent(QMouseEvent* event) {
    if (FrameMouseEvent(event)) {
        return;
    }
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && clickPending_) {
        clickPending_ = false;
        if (viewport()->rect().contains(point)) {
            Click();
        }
    }
    MouseUp(event->button(), event->modifiers(), point);
}

// The menu opens on the right button's press; the menu key opens it at the
// caret's corner of the view.
void TBigView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse && popupMenu_ != nullptr) {
        popupMenu_->popup(viewport()->mapToGlobal(QPoint(0, 0)));
    }
}

// --- Focus ---------------------------------------------------------------------

void TBigView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    if (bvStyle_.Has(TBvStyles::bvMove)) {
        raise();
    }
    UpdateCaret();
    if (OnEnter) {
        OnEnter(*this);
    }
}

void TBigView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    UpdateCaret();
    if (OnExit) {
        OnExit(*this);
    }
}

// A press on a scroll bar gives the view the focus.
bool TBigView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == verticalScrollBar() || watched == horizontalScrollBar())) {
        setFocus(Qt::MouseFocusReason);
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

}  // namespace tovix
