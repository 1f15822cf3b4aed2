// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A view without a window: a line store with a top line, for the command line
// and the tests of the lookup and the find.

#include "components/BvStrings.h"
#include "dict/LookupView.h"

namespace tovix {

class LineStoreView : public LookupView {
  public:
    LineCount ViewLineCount() const override { return LineCount(lines_.Count()); }
    std::string_view ViewLine(ViewLineIndex n) const override { return lines_.View(n.value); }
    std::uint64_t Revision() const override { return lines_.Revision(); }
    void LoadFromFile(const std::filesystem::path& path) override;
    // Replaces every line by `lines`; the top line becomes 0.
    void Assign(const std::vector<std::string>& lines);
    ViewLineIndex TopLine() const override { return topLine_; }
    void SetTopLine(ViewLineIndex n) override;

  private:
    TBvStrings lines_;
    ViewLineIndex topLine_{0};
};

}  // namespace tovix
