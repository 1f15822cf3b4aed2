// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file of entries kept in dictionary order (a part file, two lines an
// entry; an edit log, one line an entry) and the edit of one entry in it:
// the entry taken out, a new one put in its sorted place, every other byte
// kept as it was.
//
// Lines are split as the view splits them (an LF, a CR LF or a lone CR ends
// a line), so that line n here is line n of the view. A last group of fewer
// lines than an entry has (a part file with an odd number of lines) is an
// entry too; it stays at the end, and a new entry goes before it, so that
// every other entry keeps its headword on an even line. Nothing is dropped,
// also lines without a TAB.
//
// The sorted place is found by binary search with the tools' comparison of
// whole entries (an entry's lines joined, as the tools sort them), so an
// edit costs one reading and one writing of the file, with no sort.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "components/LineRecord.h"
#include "tools/LineWriter.h"

namespace tovix {

class EntryFile {
  public:
    // `jpnOrder`: a Japanese-English part file, whose entries stand in the
    // order of JpnEntryOrder.h.
    EntryFile(std::string bytes, size_t linesPerEntry, bool jpnOrder = false);

    size_t LineCount() const { return starts_.size(); }
    std::string_view Line(size_t i) const;
    // Entries, the short last one included.
    size_t EntryCount() const { return (LineCount() + linesPerEntry_ - 1) / linesPerEntry_; }

    // Whether entry `k` exists and is made of exactly these lines.
    bool EntryIs(size_t k, const std::vector<std::string>& lines) const;

    // Writes the file with entry `remove` (when given) taken out and an entry
    // of the lines `insert` (when not empty, each ended by CR LF) put in its
    // sorted place: after every entry that does not sort after it, so that
    // an entry added twice stands beside the first.
    void WriteEdited(LineWriter& out, std::optional<size_t> remove,
                     const std::vector<std::string>& insert) const;

    // Calls `visit` with each line of the file WriteEdited writes for the
    // same edit, in order, without their line ends.
    template <class Visit>
    void VisitEdited(std::optional<size_t> remove, const std::vector<std::string>& insert,
                     Visit visit) const {
        const size_t insertBefore =
            insert.empty() ? EntryCount() + 1 : InsertBefore(remove, Joined(insert));
        for (size_t k = 0; k <= EntryCount(); ++k) {
            if (k == insertBefore) {
                for (const std::string& line : insert) {
                    visit(std::string_view(line));
                }
            }
            if (k == EntryCount() || k == remove) {
                continue;
            }
            const size_t end = std::min((k + 1) * linesPerEntry_, LineCount());
            for (size_t i = k * linesPerEntry_; i < end; ++i) {
                visit(Line(i));
            }
        }
    }

  private:
    // Offset of line i's first byte; the file's size for i == LineCount().
    size_t Start(size_t i) const {
        if (i >= starts_.size()) {
            return bytes_.size();
        }
        return packed_ ? detail::PackedOffset(starts_[i]) : starts_[i];
    }
    // Offset where entry k begins (the file's size after the last one).
    size_t EntryStart(size_t k) const { return Start(k * linesPerEntry_); }
    std::string Joined(size_t k) const;
    static std::string Joined(const std::vector<std::string>& lines);
    // The entry before which `insert` goes, `remove` left out of the search.
    size_t InsertBefore(std::optional<size_t> remove, const std::string& joined) const;

    std::string bytes_;
    // One per line: the line scanner's records as it made them (offset and
    // length), or, when some line is too long for a record, the plain offset.
    detail::LineRecords starts_;
    bool packed_ = true;
    size_t linesPerEntry_;
    bool jpnOrder_;
};

}  // namespace tovix
