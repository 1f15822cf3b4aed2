// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/LineStoreView.h"

#include <algorithm>

#include "platform/IoError.h"

namespace tovix {

void LineStoreView::LoadFromFile(const std::filesystem::path& path) {
    TBvStrings lines;
    try {
        lines.LoadFromFile(path);
    } catch (const IoError&) {
        lines_.Clear();
        topLine_ = 0;
        throw;
    }
    lines_ = std::move(lines);
    topLine_ = 0;
}

void LineStoreView::Assign(const std::vector<std::string>& lines) {
    topLine_ = 0;
    lines_.Assign(lines);
}

void LineStoreView::SetTopLine(int n) {
    topLine_ = std::clamp(n, 0, std::max(0, lines_.Count() - 1));
}

}  // namespace tovix
