// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A view without a window that keeps every part file it has loaded: looking
// up many words one after the other (tovix-tool show) reads each part file
// once, however the words' initials alternate.

#include <filesystem>
#include <map>
#include <memory>

#include "components/BvStrings.h"
#include "dict/LookupView.h"

namespace tovix {

class PartCacheView : public LookupView {
  public:
    LineCount ViewLineCount() const override {
        return LineCount(lines_ == nullptr ? 0 : lines_->Count());
    }
    std::string_view ViewLine(ViewLineIndex n) const override { return lines_->View(n.value); }
    // Changes with every switch between parts, so that the lookup's summary
    // of the lines is made anew for the part shown.
    std::uint64_t Revision() const override { return revision_; }
    // Shows the part file, read on its first use; a file that cannot be read
    // leaves the view empty and throws IoError (and is tried again next time).
    void LoadFromFile(const std::filesystem::path& path) override;
    ViewLineIndex TopLine() const override { return topLine_; }
    void SetTopLine(ViewLineIndex n) override;

  private:
    std::map<std::filesystem::path, std::unique_ptr<TBvStrings>> parts_;
    const TBvStrings* lines_ = nullptr;
    std::uint64_t revision_ = 0;
    ViewLineIndex topLine_{0};
};

}  // namespace tovix
