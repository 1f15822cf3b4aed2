// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text view's font: metrics, measuring and drawing of CP932 text with
// tabs expanded by hand. Characters that the chosen font lacks (kana and kanji
// in a Latin font) come from IPAGothic, the Japanese font the set-up installs.
//
// Text is measured and drawn piece by piece (TTextPieces): measuring stops at
// a limit and drawing at the right edge of what is painted, so a line of many
// megabytes costs what is visible of it. Pieces are shaped by Qt; those that
// begin more than TTextPieces::kShapedBytes into a line are measured by adding
// up the widths of their characters, which are kept, so that reaching the far
// end of such a line costs little more than reading it.

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <string_view>
#include <vector>

#include "components/BigView/Model/TextPieces.h"

class QPainter;

namespace tovix {

class TViewFont {
  public:
    explicit TViewFont(const QFont& font);

    const QFont& Font() const { return font_; }
    const QFontMetrics& Metrics() const { return metrics_; }

    // Width of the text drawn from x = 0, a tab moving to the next multiple
    // of `tabDistance` pixels (a tab takes no room when it is 0). Measuring
    // stops once the width exceeds `limit`; the result is then above it.
    // With `remember`, where the pieces of a long text begin is kept for the
    // next call (see TTextPieces, and ForgetPositions).
    int WidthUpTo(std::string_view cp932, int tabDistance, int limit, bool remember) const;

    // Draws the text with its top-left corner at (x, y), tabs as above; only
    // the pieces that reach into clipLeft..clipRight are drawn, and none
    // after clipRight is measured. Remembers as WidthUpTo does.
    void Draw(QPainter& painter, int x, int y, std::string_view cp932, int tabDistance,
              int clipLeft, int clipRight) const;

    // The texts measured may have changed.
    void ForgetPositions() { pieces_.Forget(); }

  private:
    int PieceWidth(std::string_view piece, size_t offset) const;
    int CharAdvance(std::string_view character) const;

    QFont font_;
    QFontMetrics metrics_;
    TTextPieces pieces_;
    TTextPieces unremembered_{false};
    // Advances of single-byte (code < 256) and double-byte characters (lead
    // byte << 8 | trail byte); -1 until measured.
    mutable std::vector<int> charAdvances_;
};

}  // namespace tovix
