// SPDX-License-Identifier: GPL-3.0-or-later
// TBigView: window styles. bvClientLow draws a sunken edge, bvDblFrame a
// raised double frame around it, bvVResize and bvHResize a sizing border
// outside both that can be dragged in the allowed directions, bvCaption a
// caption bar with Caption over the text, by which the view is dragged with
// bvMove (without a caption bar, with bvMove, the text is dragged with Ctrl).

#include <qdrawutil.h>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include "components/BigView/BigView.h"
#include "platform/Guard.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

constexpr int kSizingBorder = 4;
constexpr int kDialogFrame = 3;
constexpr int kClientEdge = 2;

}  // namespace

int TBigView::FrameThickness() const {
    const bool sizing = bvStyle_.Has(TBvStyles::bvVResize) || bvStyle_.Has(TBvStyles::bvHResize);
    return (sizing ? kSizingBorder : 0) + (bvStyle_.Has(TBvStyles::bvDblFrame) ? kDialogFrame : 0) +
           (bvStyle_.Has(TBvStyles::bvClientLow) ? kClientEdge : 0);
}

int TBigView::CaptionHeight() const {
    if (!bvStyle_.Has(TBvStyles::bvCaption)) {
        return 0;
    }
    return QFontMetrics(QApplication::font()).height() + 4;
}

void TBigView::ApplyFrame() {
    const int thickness = FrameThickness();
    if (thickness == 0) {
        setFrameStyle(QFrame::NoFrame);
    } else {
        setFrameStyle(QFrame::Panel | QFrame::Plain);
        setLineWidth(thickness);
    }
    setViewportMargins(0, CaptionHeight(), 0, 0);
    update();
    Relayout();
}

void TBigView::PaintFrame() {
    QPainter painter(this);
    const QPalette& colors = palette();
    QRect r = rect();
    if (bvStyle_.Has(TBvStyles::bvVResize) || bvStyle_.Has(TBvStyles::bvHResize)) {
        qDrawShadePanel(&painter, r, colors, false, 1, &colors.brush(QPalette::Window));
        r.adjust(kSizingBorder, kSizingBorder, -kSizingBorder, -kSizingBorder);
    }
    if (bvStyle_.Has(TBvStyles::bvDblFrame)) {
        qDrawShadePanel(&painter, r, colors, false, 1, &colors.brush(QPalette::Button));
        r.adjust(1, 1, -1, -1);
        qDrawWinPanel(&painter, r, colors, false);
        r.adjust(kDialogFrame - 1, kDialogFrame - 1, 1 - kDialogFrame, 1 - kDialogFrame);
    }
    if (bvStyle_.Has(TBvStyles::bvClientLow)) {
        qDrawWinPanel(&painter, r, colors, true);
        r.adjust(kClientEdge, kClientEdge, -kClientEdge, -kClientEdge);
    }
    if (const int height = CaptionHeight(); height > 0) {
        const QRect bar(r.left(), r.top(), r.width(), height);
        painter.fillRect(bar, colors.brush(QPalette::Highlight));
        painter.setPen(colors.color(QPalette::HighlightedText));
        painter.setFont(QApplication::font());
        painter.drawText(bar.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         QtTextFromCp932(caption_));
    }
}

// Starts, follows and ends moving or sizing the view by its frame, for mouse
// events of the frame and of the text area alike. True when the event was used.
bool TBigView::FrameMouseEvent(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            if (mouse->button() != Qt::LeftButton) {
                return false;
            }
            const QPoint at = mapFromGlobal(global);
            const QRect inner =
                rect().adjusted(kSizingBorder, kSizingBorder, -kSizingBorder, -kSizingBorder);
            unsigned edges = 0;
            if (bvStyle_.Has(TBvStyles::bvVResize)) {
                edges |= at.y() < inner.top() ? kTop : at.y() > inner.bottom() ? kBottom : 0u;
            }
            if (bvStyle_.Has(TBvStyles::bvHResize)) {
                edges |= at.x() < inner.left() ? kLeft : at.x() > inner.right() ? kRight : 0u;
            }
            if (edges == 0 && bvStyle_.Has(TBvStyles::bvMove)) {
                const bool onCaption = CaptionHeight() > 0 && at.y() < viewport()->y() &&
                                       !viewport()->geometry().contains(at);
                const bool ctrlOnText = CaptionHeight() == 0 &&
                                        (mouse->modifiers() & Qt::ControlModifier) &&
                                        viewport()->geometry().contains(at);
                edges = onCaption || ctrlOnText ? kMoveAll : 0u;
            }
            if (edges == 0) {
                return false;
            }
            frameDrag_ = edges;
            frameDragStart_ = global;
            frameDragGeometry_ = geometry();
            return true;
        }
        case QEvent::MouseMove: {
            if (frameDrag_ == 0) {
                return false;
            }
            const QPoint delta = global - frameDragStart_;
            QRect g = frameDragGeometry_;
            if (frameDrag_ & kMoveAll) {
                g.translate(delta);
            }
            if (frameDrag_ & kLeft) {
                g.setLeft(std::min(g.left() + delta.x(), g.right()));
            }
            if (frameDrag_ & kRight) {
                g.setRight(std::max(g.right() + delta.x(), g.left()));
            }
            if (frameDrag_ & kTop) {
                g.setTop(std::min(g.top() + delta.y(), g.bottom()));
            }
            if (frameDrag_ & kBottom) {
                g.setBottom(std::max(g.bottom() + delta.y(), g.top()));
            }
            setGeometry(g);
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (frameDrag_ == 0) {
                return false;
            }
            frameDrag_ = 0;
            return true;
        default:
            return false;
    }
}

// Qt calls the view's code through these two: the view's own events and
// those of its viewport (painting, the mouse, the wheel). A failed event
// counts as handled.
bool TBigView::event(QEvent* event) {
    bool handled = true;
    Guard(event, [&] { handled = ViewEvent(event); });
    return handled;
}

bool TBigView::viewportEvent(QEvent* event) {
    bool handled = true;
    Guard(event, [&] { handled = QAbstractScrollArea::viewportEvent(event); });
    return handled;
}

// A failure is reported through the guard (platform/Guard.h) under the
// view's name. A failed paint is reported once it is over, not from inside
// it, and the view stays blank until its lines change: painting the same
// lines again would fail again.
void TBigView::Guard(QEvent* event, const std::function<void()>& call) {
    if (reporter_ == nullptr) {
        call();
        return;
    }
    try {
        call();
    } catch (...) {
        const std::string what =
            objectName().isEmpty() ? std::string("TBigView") : objectName().toStdString();
        const std::exception_ptr failure = std::current_exception();
        if (event == nullptr || event->type() != QEvent::Paint) {
            ReportFailure(*reporter_, what, failure);
            return;
        }
        failedPaint_ = lines_.Revision();
        QTimer::singleShot(0, this, [this, what, failure] {
            viewport()->update();
            ReportFailure(*reporter_, what, failure);
        });
    }
}

bool TBigView::ViewEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::Paint:
            QAbstractScrollArea::event(event);
            PaintFrame();
            return true;
        case QEvent::MouseButtonPress:
            setFocus(Qt::MouseFocusReason);  // a press on the frame takes the focus too
            [[fallthrough]];
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            if (FrameMouseEvent(event)) {
                return true;
            }
            break;
        default:
            break;
    }
    return QAbstractScrollArea::event(event);
}

}  // namespace tovix
