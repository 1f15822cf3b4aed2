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
        shown_ = nullptr;
        auto part = std::make_unique<Part>();
        // Stamped before it is read: a file replaced meanwhile is never
        // taken for the one read.
        part->stamp = StampOf(path);
        part->lines.LoadFromFile(path);
        part->summary = PrefixSummary(part->lines.Count());
        found = parts_.emplace(path, std::move(part)).first;
    }
    shown_ = found->second.get();
}

const TLightStrings* PartCacheView::Loaded(const std::filesystem::path& path,
                                           const FileStamp& stamp) const {
    const auto found = parts_.find(path);
    return found != parts_.end() && found->second->stamp == stamp ? &found->second->lines : nullptr;
}

PrefixSummary& PartCacheView::Summary() {
    if (shown_ == nullptr) {
        return LookupView::Summary();
    }
    return shown_->summary;
}

void PartCacheView::SetTopLine(ViewLineIndex n) {
    const ViewLineIndex first(0);
    topLine_ = std::clamp(n, first, std::max(first, ViewLineCount().Last<ViewLineIndex>()));
}

}  // namespace tovix
