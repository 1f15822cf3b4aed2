// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/PartCacheView.h"

#include <algorithm>

#include "platform/IoError.h"

namespace tovix {

void PartCacheView::LoadFromFile(const std::filesystem::path& path) {
    ++revision_;
    topLine_ = ViewLineIndex(0);
    auto found = parts_.find(path);
    if (found == parts_.end()) {
        lines_ = nullptr;
        auto lines = std::make_unique<TBvStrings>();
        lines->LoadFromFile(path);
        found = parts_.emplace(path, std::move(lines)).first;
    }
    lines_ = found->second.get();
}

void PartCacheView::SetTopLine(ViewLineIndex n) {
    const ViewLineIndex first(0);
    topLine_ = std::clamp(n, first, std::max(first, ViewLineCount().Last<ViewLineIndex>()));
}

}  // namespace tovix
