// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BigView/ViewFont.h"

#include <QPainter>
#include <QStringList>
#include <climits>

#include "platform/qt/QtText.h"

namespace tovix {
namespace {

const QString kJapaneseFallback = QStringLiteral("IPAGothic");

QFont WithJapaneseFallback(QFont font) {
    QStringList families = font.families();
    if (families.isEmpty()) {
        families << font.family();
    }
    if (!families.contains(kJapaneseFallback)) {
        families << kJapaneseFallback;
    }
    font.setFamilies(families);
    return font;
}

}  // namespace

TViewFont::TViewFont(const QFont& font) : font_(WithJapaneseFallback(font)), metrics_(font_) {}

int TViewFont::CharAdvance(std::string_view character) const {
    if (charAdvances_.empty()) {
        charAdvances_.assign(1u << 16, -1);
    }
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(character[i]); };
    const unsigned code = character.size() == 2 ? (byte(0) << 8 | byte(1)) : byte(0);
    int& advance = charAdvances_[code];
    if (advance < 0) {
        advance = metrics_.horizontalAdvance(QtTextFromCp932(character));
    }
    return advance;
}

int TViewFont::PieceWidth(std::string_view piece, size_t offset) const {
    if (offset < TTextPieces::kShapedBytes) {
        return metrics_.horizontalAdvance(QtTextFromCp932(piece));
    }
    int width = 0;
    for (size_t i = 0; i < piece.size();) {
        const size_t bytes = IsLeadByte(piece[i]) && i + 1 < piece.size() ? 2 : 1;
        width += CharAdvance(piece.substr(i, bytes));
        i += bytes;
    }
    return width;
}

int TViewFont::WidthUpTo(std::string_view cp932, int tabDistance, int limit, bool remember) const {
    const TTextPieces& pieces = remember ? pieces_ : unremembered_;
    return pieces.Walk(
        cp932, tabDistance, INT_MAX, limit,
        [this](std::string_view piece, size_t offset) { return PieceWidth(piece, offset); });
}

void TViewFont::Draw(QPainter& painter, int x, int y, std::string_view cp932, int tabDistance,
                     int clipLeft, int clipRight) const {
    const int baseline = y + metrics_.ascent();
    pieces_.Walk(
        cp932, tabDistance, clipLeft - x, clipRight - x,
        [this](std::string_view piece, size_t offset) { return PieceWidth(piece, offset); },
        [&](std::string_view piece, int pieceX) {
            painter.drawText(x + pieceX, baseline, QtTextFromCp932(piece));
        });
}

}  // namespace tovix
