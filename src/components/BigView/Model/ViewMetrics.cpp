// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BigView/Model/ViewMetrics.h"

#include <algorithm>
#include <cmath>

namespace tovix {

int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

int CharWidthOf(int averageWidth, int maxWidth) {
    return std::max(1, averageWidth + RoundHalfEven(0.3 * (maxWidth - averageWidth)));
}

int LineHeightOf(int height, int leading) {
    return std::max(1, height + leading);
}

int PageLinesOf(int outerHeight, int scrollBarHeight, int captionHeight, int lineHeight) {
    return std::max(0, (outerHeight - scrollBarHeight - captionHeight) / std::max(lineHeight, 1));
}

int MaxCharLimit(int charWidth) {
    return kMaxPixels / std::max(charWidth, 1) - 1;
}

int CellsIn(int width, int charWidth) {
    return std::max(1, width / std::max(charWidth, 1));
}

}  // namespace tovix
