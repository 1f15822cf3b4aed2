// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the lookup and the free-text find need of the main view: its lines
// (one view line per text line, as the main view never wraps), loading a part
// file into it, and its top line. The viewer implements it on its text view;
// the command line and the tests on a plain line store (LineStoreView).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "components/Positions.h"
#include "dict/PrefixSummary.h"

namespace tovix {

class LookupView {
  public:
    virtual ~LookupView() = default;

    virtual LineCount ViewLineCount() const = 0;
    // Line n, 0 <= n < ViewLineCount(); valid until the view changes.
    virtual std::string_view ViewLine(ViewLineIndex n) const = 0;
    // A number that changes whenever the lines change.
    virtual std::uint64_t Revision() const = 0;
    // Replaces every line by those of the file. A file that cannot be read
    // throws IoError and leaves the view empty; any other failure (memory, a
    // file too large) leaves the view as it was.
    virtual void LoadFromFile(const std::filesystem::path& path) = 0;
    virtual ViewLineIndex TopLine() const = 0;
    // Makes line n the top line, clamped to the lines there are.
    virtual void SetTopLine(ViewLineIndex n) = 0;

    // The view line that shows text line l of the loaded file: the same
    // number, as the view never wraps.
    static constexpr ViewLineIndex LineOf(TextLineIndex l) { return ViewLineIndex(l.value); }

    // The first of the lines from, from + 2, ... up to last for which `test`
    // is true; none when there is none. Only lines that may begin with `text`
    // (ASCII case aside) are tested: runs of lines that cannot are passed
    // over by the summary of the present lines.
    template <class Test>
    std::optional<ViewLineIndex> FindFirst(ViewLineIndex from, ViewLineIndex last,
                                           std::string_view text, Test test) {
        const int found = Summary().FindFirst(
            from.value, last.value, text, [this](int n) { return ViewLine(ViewLineIndex(n)); },
            [&test](int n) { return test(ViewLineIndex(n)); });
        return found < 0 ? std::nullopt : std::optional(ViewLineIndex(found));
    }

  protected:
    // The summary of the present lines; a new one after they change. A view
    // that keeps several parts may keep a summary for each.
    virtual PrefixSummary& Summary();

  private:
    PrefixSummary summary_;
    std::optional<std::uint64_t> summaryRevision_;
};

}  // namespace tovix
