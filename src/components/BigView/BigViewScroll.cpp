// SPDX-License-Identifier: GPL-3.0-or-later
// TBigView: top line, scroll ranges, scroll bars, keys and acceleration.

#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

#include "components/BigView/BigView.h"
#include "components/BigView/Model/CaretMotion.h"
#include "components/BigView/Model/ViewMetrics.h"

namespace tovix {
namespace {

// Where a scroll command moves position p: by `step` for a line, by `page`
// for a page, to the thumb's `position`, or to either end (0 .. max).
int ScrolledPosition(int code, int p, int step, int page, int position, int max) {
    switch (code) {
        case LineUp:
            return p - step;
        case LineDown:
            return p + step;
        case PageUp:
            return p - page;
        case PageDown:
            return p + page;
        case ThumbPosition:
        case ThumbTrack:
            return position;
        case ToTop:
            return 0;
        case ToBottom:
            return max;
        default:
            return p;
    }
}

ViewKey ToViewKey(int key) {
    switch (key) {
        case Qt::Key_Up:
            return ViewKey::Up;
        case Qt::Key_Down:
            return ViewKey::Down;
        case Qt::Key_Left:
            return ViewKey::Left;
        case Qt::Key_Right:
            return ViewKey::Right;
        case Qt::Key_PageUp:
            return ViewKey::PageUp;
        case Qt::Key_PageDown:
            return ViewKey::PageDown;
        case Qt::Key_Home:
            return ViewKey::Home;
        case Qt::Key_End:
            return ViewKey::End;
        case Qt::Key_Space:
            return ViewKey::Space;
        case Qt::Key_B:
            return ViewKey::B;
        case Qt::Key_D:
            return ViewKey::D;
        case Qt::Key_E:
            return ViewKey::E;
        case Qt::Key_S:
            return ViewKey::S;
        case Qt::Key_T:
            return ViewKey::T;
        case Qt::Key_X:
            return ViewKey::X;
        default:
            return ViewKey::Other;
    }
}

TShiftState ToShiftState(Qt::KeyboardModifiers modifiers) {
    TShiftState shift = kNoShift;
    if (modifiers & Qt::ShiftModifier) {
        shift |= kShift;
    }
    if (modifiers & Qt::AltModifier) {
        shift |= kAlt;
    }
    if (modifiers & Qt::ControlModifier) {
        shift |= kCtrl;
    }
    return shift;
}

// The scroll code of a scroll-bar action; -1 for actions without one.
int ScrollCodeOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return LineUp;
        case QAbstractSlider::SliderSingleStepAdd:
            return LineDown;
        case QAbstractSlider::SliderPageStepSub:
            return PageUp;
        case QAbstractSlider::SliderPageStepAdd:
            return PageDown;
        case QAbstractSlider::SliderMove:
            return ThumbTrack;
        case QAbstractSlider::SliderToMinimum:
            return ToTop;
        case QAbstractSlider::SliderToMaximum:
            return ToBottom;
        default:
            return -1;
    }
}

}  // namespace

void TBigView::SetTopLine(ViewLineIndex v) {
    const ViewLineIndex first(0);
    const ViewLineIndex last = LastViewLine();
    v = ViewLineCount().Empty() ? first : std::clamp(v, first, last);
    if (OnViewLineChanging) {
        OnViewLineChanging(*this, v);
    }
    const ViewLineIndex old = topLine_;
    topLine_ = v;
    bottomLine_ = std::max(first, std::min(v + pageLines_ - 1, last));
    if (selStart_ == selEnd_ && !selecting_) {
        KeepCaretInPage();
    } else {
        PlaceCaret(selEnd_);
    }
    if (v == old) {
        Redraw();
    } else {
        ScrollLines(ThumbPosition, -1, 0);
        ScrollBuffer(v - old);
    }
    if (OnViewLineChanged) {
        OnViewLineChanged(*this);
    }
}

void TBigView::SetBottomLine(ViewLineIndex v) {
    const ViewLineIndex first(0);
    v = std::clamp(v, first, std::max(LastViewLine(), first));
    bottomLine_ = v;
    ViewLineIndex t = v - pageLines_ + 1;
    if (scOver_ && t < topLine_ && topLine_ <= v) {
        t = topLine_;
    }
    SetTopLine(std::max(t, first));
}

void TBigView::UpdateScrollRanges() {
    if (HasVertical(scrollBar_)) {
        const int m = VerticalRangeMax(ViewLineCount().value, pageLines_, scOver_);
        if (scroll_.VertPos() > m) {
            SetVertPos(m);
        }
        vertMax_ = m;
        QScrollBar* bar = verticalScrollBar();
        bar->setRange(0, m);
        // A page step beyond the range would draw a thumb that nearly fills
        // the groove, and the strip of groove left below it would read as a
        // thumb at the bottom: the thumb takes half the groove at the most,
        // so that where it stands shows the top line.
        bar->setPageStep(std::clamp(pageLines_, 1, m));
        bar->setValue(scroll_.VertPos());
        Suspend suspend(*this);
        SetTopLine(topLine_);
    }
    if (HasHorizontal(scrollBar_)) {
        horzMax_ = HorizontalRangeMax(maxChar_, ClientWidth(), charWidth_);
        QScrollBar* bar = horizontalScrollBar();
        bar->setRange(0, HorzRangeMax());
        bar->setPageStep(CellsIn(ClientWidth(), charWidth_));
        bar->setValue(scroll_.HorzPos());
    }
}

void TBigView::SetVertPos(int a) {
    if (MaxTopLine(ViewLineCount().value, pageLines_, scOver_) < 0) {
        a = 0;
    }
    scroll_.SetVertPos(a);
    verticalScrollBar()->setValue(scroll_.VertPos());
}

void TBigView::SetHorzPos(int a) {
    if (LineCount().Empty()) {
        return;
    }
    scroll_.SetHorzPos(std::clamp(a, 0, maxChar_ - 1));
    horizontalScrollBar()->setValue(scroll_.HorzPos());
    PlaceCaret(selStart_ != selEnd_ ? selEnd_ : caretPos_);
    Redraw();
}

void TBigView::ScrollLines(int code, int position, int interval) {
    if (!HasVertical(scrollBar_)) {
        return;
    }
    int p = topLine_.value;
    if (code != ThumbPosition || position != -1) {
        scroll_.Accelerate(interval, scrollSense_, pageLines_, CellsIn(ClientWidth(), charWidth_));
        p = ScrolledPosition(code, p, scroll_.ScrollStep(), pageLines_ >= 2 ? pageLines_ - 1 : 1,
                             position, VertRangeMax());
    }
    p = std::clamp(p, 0, VertRangeMax());
    if (p != scroll_.VertPos()) {
        SetVertPos(p);
    }
}

void TBigView::ScrollColumns(int code, int position, int interval) {
    if (!HasHorizontal(scrollBar_)) {
        return;
    }
    const int cells = CellsIn(ClientWidth(), charWidth_);
    scroll_.Accelerate(interval, scrollSense_, pageLines_, cells);
    const int p = std::clamp(ScrolledPosition(code, scroll_.HorzPos(), scroll_.ScrollStep(), cells,
                                              position, HorzRangeMax()),
                             0, HorzRangeMax());
    if (p != scroll_.HorzPos()) {
        SetHorzPos(p);
    }
}

// Moves the top line to where the vertical position points.
void TBigView::MapVertPosToTopLine() {
    const int maxTop = MaxTopLine(ViewLineCount().value, pageLines_, scOver_);
    const ViewLineIndex top(TopLineForPosition(scroll_.VertPos(), VertRangeMax(), maxTop));
    if (top != topLine_) {
        SetTopLine(top);
    }
}

// A scroll-bar action: the view computes the new position itself and puts
// the slider there before the bar applies it.
void TBigView::VerticalBarAction(int action) {
    const int code = ScrollCodeOf(action);
    if (code < 0) {
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    if (MaxTopLine(ViewLineCount().value, pageLines_, scOver_) > 0) {
        ScrollLines(code, bar->sliderPosition(), 300);
    }
    MapVertPosToTopLine();
    bar->setSliderPosition(scroll_.VertPos());
}

void TBigView::HorizontalBarAction(int action) {
    const int code = ScrollCodeOf(action);
    if (code < 0) {
        return;
    }
    QScrollBar* bar = horizontalScrollBar();
    ScrollColumns(code, bar->sliderPosition(), 300);
    bar->setSliderPosition(scroll_.HorzPos());
}

// The view scrolls through its own positions; the bars only report actions.
void TBigView::scrollContentsBy(int, int) {}

void TBigView::ApplyScrollBarPolicy() {
    setVerticalScrollBarPolicy(HasVertical(scrollBar_) ? Qt::ScrollBarAlwaysOn
                                                       : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(HasHorizontal(scrollBar_) ? Qt::ScrollBarAlwaysOn
                                                           : Qt::ScrollBarAlwaysOff);
}

bool TBigView::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (OnKeyDown) {
        OnKeyDown(*this, key, modifiers);
    }
    if (key == 0) {
        return true;
    }
    if (LineCount().Empty()) {
        return false;
    }
    const ViewKey viewKey = ToViewKey(key);
    const TShiftState shift = ToShiftState(modifiers);
    if (caret_ && CaretKeyDown(viewKey, shift)) {
        if (!EnsureCaretVisible(caretPos_)) {
            Redraw();
        }
        return true;
    }
    bool used = false;
    if (HasVertical(scrollBar_)) {
        if (const auto command = VerticalKeyCommand(viewKey, shift)) {
            ScrollLines(*command, scroll_.VertPos(), 200);
            MapVertPosToTopLine();
            used = true;
        }
    }
    if (HasHorizontal(scrollBar_)) {
        if (const auto command = HorizontalKeyCommand(viewKey, shift)) {
            ScrollColumns(*command, scroll_.HorzPos(), 200);
            used = true;
        }
    }
    return used;
}

// Keys the view does not use go on to the parent (a dialog's Escape, say).
void TBigView::keyPressEvent(QKeyEvent* event) {
    const bool used = KeyDown(event->key(), event->modifiers());
    if (OnKeyPress && !event->text().isEmpty()) {
        OnKeyPress(*this, event->text());
    }
    event->setAccepted(used);
}

// Held keys repeat as presses only, as a selection made with Shift must
// survive the repeat.
void TBigView::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
    if (event->isAutoRepeat()) {
        return;
    }
    int key = event->key();
    if (OnKeyUp) {
        OnKeyUp(*this, key, event->modifiers());
    }
    selecting_ = false;
}

}  // namespace tovix
