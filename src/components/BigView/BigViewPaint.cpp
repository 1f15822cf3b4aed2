// SPDX-License-Identifier: GPL-3.0-or-later
// TBigView: drawing. The view paints from its model: every paint draws the
// view lines that the damaged area shows. Scrolling by up to a page moves the
// pixels already on screen and draws only the view lines that come in.

#include <QPaintEvent>
#include <QPainter>

#include "components/BigView/BigView.h"
#include "components/BigView/Model/CaretMotion.h"

namespace tovix {

void TBigView::Redraw() {
    if (suspended_) {
        return;
    }
    Show(viewport()->rect());
}

// Up to PCanLimit updates in a row are left to the next paint; then one is
// painted at once.
void TBigView::Show(const QRect& rect) {
    if (paintCount_ < pCanLimit_) {
        ++paintCount_;
        viewport()->update(rect);
    } else {
        viewport()->repaint(rect);
    }
}

// The content moves by `delta` view lines (positive: towards the end).
void TBigView::ScrollBuffer(int delta) {
    if (suspended_) {
        return;
    }
    const int n = std::abs(delta);
    // The caret is drawn into the view, so it must not be moved with the
    // text; a find mark goes when the view scrolls.
    if (n > pageLines_ || CaretShown() || mark_.line.value >= 0) {
        DropMark();
        Redraw();
        return;
    }
    const QRect buffer(0, 0, viewport()->width(), BufferHeight());
    const int shift = n * lineHeight_;
    viewport()->scroll(0, delta > 0 ? -shift : shift, buffer);
    const QRect band = delta > 0 ? QRect(0, buffer.height() - shift, buffer.width(), shift)
                                 : QRect(0, 0, buffer.width(), shift);
    Show(band);
}

void TBigView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, color_);
    if (failedPaint_ == lines_.Revision()) {
        return;
    }
    painter.setClipRect(QRect(0, 0, viewport()->width(), BufferHeight()) & area);
    painter.setFont(viewFont_->Font());
    painter.setPen(fontColor_);
    const int firstRow = std::max(area.top(), 0) / lineHeight_;
    const int lastRow = std::min(area.bottom() / lineHeight_, pageLines_ - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        const ViewLineIndex v = topLine_ + row;
        if (!(v < ViewLineCount())) {
            break;
        }
        DrawViewLine(painter, v, area);
    }
    DrawMark(painter);
    DrawSelection(painter);
    if (CaretShown() && caretBlinkOn_) {
        painter.setClipping(false);
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(CaretRect(), Qt::white);
    }
    paintCount_ = 0;
}

// Only the part of the view line inside the painted area is drawn.
void TBigView::DrawViewLine(QPainter& painter, ViewLineIndex v, const QRect& area) const {
    viewFont_->Draw(painter, -XOffset(), (v - topLine_) * lineHeight_, viewLines_.Text(v),
                    TabDistance(), area.left(), area.right());
}

int TBigView::ColumnX(ViewLineIndex v, ByteColumn c, std::optional<int> limit) const {
    const std::string_view text = viewLines_.Text(v);
    const size_t before = c ? std::min(c.Offset(), text.size()) : 0;
    return WidthUpTo(text.substr(0, before), limit.value_or(XOffset() + ClientWidth()));
}

// The selection is shown inverted, over its text only.
void TBigView::DrawSelection(QPainter& painter) const {
    const std::vector<SelectionRow> rows =
        SelectionRows(viewLines_, selStart_, selEnd_, topLine_, bottomLine_);
    for (const SelectionRow& row : rows) {
        InvertColumns(painter, row.line, row.fromColumn, row.toColumn);
    }
}

// Inverts the text of view line v from column `from` to before column `to`,
// as far as it shows.
void TBigView::InvertColumns(QPainter& painter, ViewLineIndex v, ByteColumn from,
                             ByteColumn to) const {
    const int x0 = ColumnX(v, from);
    const int x1 = ColumnX(v, to);
    if (x1 <= x0) {
        return;  // both beyond the right edge
    }
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.fillRect(QRect(x0 - XOffset(), (v - topLine_) * lineHeight_, x1 - x0, lineHeight_),
                     Qt::white);
    painter.restore();
}

void TBigView::resizeEvent(QResizeEvent*) {
    Relayout();
}

void TBigView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        viewFont_ = std::make_unique<TViewFont>(font());
        Relayout();
        Redraw();
    }
    QAbstractScrollArea::changeEvent(event);
}

}  // namespace tovix
