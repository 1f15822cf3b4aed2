// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tables built from lines as they pass instead of from a file read back: the
// global table of a sorted work file while the sort writes it, and the table
// of one part file from the lines entry editing holds in memory.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dict/Direction.h"

namespace tovix {

class ToolJob;

// The global table of a sorted work file built from its lines while the sort
// writes them (WorkSortToPairAndTableEng|Jpn, Steps.h), so that the table
// step need not read the sorted file back: MakeTableFrom then writes what
// MakeTableEng|Jpn would write from that file.
class SortedTable {
  public:
    explicit SortedTable(Direction direction);
    ~SortedTable();
    SortedTable(const SortedTable&) = delete;
    SortedTable& operator=(const SortedTable&) = delete;

    // The headword of the sorted file's next line: the text before its TAB.
    void Add(std::string_view head);

  private:
    friend void MakeTableFrom(ToolJob& job, SortedTable& table);
    class Builder;
    std::unique_ptr<Builder> builder_;
    long long lines_ = 0;
};

// The table of one part file built from lines held in memory, for entry
// editing, which has the edited part's lines at hand: the lines are the same
// table file form that MakePairTableEng|Jpn and then MakeDatEng|Jpn (Steps.h)
// write for the part file, without writing the part's global table and
// reading it and the part back.
class PartTableBuilder {
  public:
    explicit PartTableBuilder(Direction direction);
    ~PartTableBuilder();
    PartTableBuilder(const PartTableBuilder&) = delete;
    PartTableBuilder& operator=(const PartTableBuilder&) = delete;

    // The part file's next line, without its line end.
    void Add(std::string_view line);

    // The table file form's lines once every line is added; nothing when a
    // line index does not fit a table value (the table step fails on it).
    std::optional<std::vector<std::string>> TableLines();

  private:
    class Builder;
    std::unique_ptr<Builder> builder_;
    Direction direction_;
    long long lines_ = 0;
};

}  // namespace tovix
