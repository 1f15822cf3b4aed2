// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A view without a window that keeps every part file it has loaded: looking
// up many words one after the other (tovix-tool show) reads each part file
// once, however the words' initials alternate, and keeps the lookup's
// summary of each part's lines with them. The headword index takes the lines
// it indexes from here too (Loaded), instead of reading the file again.

#include <filesystem>
#include <map>
#include <memory>

#include "components/BvStrings.h"
#include "dict/FileStamp.h"
#include "dict/LookupView.h"

namespace tovix {

class PartCacheView : public LookupView {
  public:
    LineCount ViewLineCount() const override {
        return LineCount(shown_ == nullptr ? 0 : shown_->lines.Count());
    }
    std::string_view ViewLine(ViewLineIndex n) const override {
        return shown_->lines.View(n.value);
    }
    // Changes with every switch between parts.
    std::uint64_t Revision() const override { return revision_; }
    // Shows the part file, read on its first use; a file that cannot be read
    // leaves the view empty and throws IoError (and is tried again next time).
    void LoadFromFile(const std::filesystem::path& path) override;
    ViewLineIndex TopLine() const override { return topLine_; }
    void SetTopLine(ViewLineIndex n) override;

    // The lines of the part file when they were read from it as it is
    // stamped now; none when it was not read or has been replaced since.
    const TLightStrings* Loaded(const std::filesystem::path& path, const FileStamp& stamp) const;

  protected:
    PrefixSummary& Summary() override;

  private:
    struct Part {
        FileStamp stamp;  // the file's as it was read
        TBvStrings lines;
        PrefixSummary summary;
    };

    std::map<std::filesystem::path, std::unique_ptr<Part>> parts_;
    Part* shown_ = nullptr;
    std::uint64_t revision_ = 0;
    ViewLineIndex topLine_{0};
};

}  // namespace tovix
