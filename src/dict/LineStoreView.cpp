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
        topLine_ = ViewLineIndex(0);
        throw;
    }
    lines_ = std::move(lines);
    topLine_ = ViewLineIndex(0);
}

void LineStoreView::Assign(const std::vector<std::string>& lines) {
    topLine_ = ViewLineIndex(0);
    lines_.Assign(lines);
}

void LineStoreView::SetTopLine(ViewLineIndex n) {
    const ViewLineIndex first(0);
    topLine_ = std::clamp(n, first, std::max(first, ViewLineCount().Last<ViewLineIndex>()));
}

}  // namespace tovix
