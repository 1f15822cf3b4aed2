// SPDX-License-Identifier: GPL-3.0-or-later
// The table builders (over the sorted work file and over a pair file) and the
// table file writer of entry editing.

#include "tools/TableSteps.h"

#include <limits>
#include <string_view>
#include <vector>

#include "components/MbString.h"
#include "dict/DicTableError.h"
#include "dict/KanaFolding.h"
#include "dict/KeyAlphabet.h"
#include "dict/SearchKey.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "tools/ConvertCommon.h"
#include "tools/GlobalTable.h"
#include "tools/LineReader.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// Alphabet positions of a headword's first and second key characters, 0 for a
// character that has none.
struct KeyChars {
    int first = 0;
    int second = 0;
};

// English: hyphens and apostrophes do not count and case does not matter,
// as in the search, so "E-mail" has the key em and "o'clock" oc. Only the
// letters a .. z have a position.
KeyChars EngKeyChars(std::string_view head) {
    KeyChars key;
    int found = 0;
    for (char c : head) {
        if (IgnoredInKey(c)) {
            continue;
        }
        const char lower = AsciiLower(c);
        const int position = (lower >= 'a' && lower <= 'z') ? lower - 'a' + 1 : 0;
        if (found++ == 0) {
            key.first = position;
        } else {
            key.second = position;
            break;
        }
    }
    return key;
}

// Japanese: both characters fold as the search folds them (KanaFolding.h).
KeyChars JpnKeyChars(std::string_view head) {
    const FoldedKey folded = FoldHeadwordKey(head);
    KeyChars key;
    key.first = AlphabetPosition(Direction::Japanese, folded.first);
    if (key.first != 0) {
        key.second = AlphabetPosition(Direction::Japanese, folded.second);
    }
    return key;
}

// The key slot values of one pass over the entries, in the order of the file.
class TableBuilder {
  public:
    explicit TableBuilder(Direction direction)
        : direction_(direction),
          n_(AlphabetSize(direction)),
          values_(static_cast<size_t>(n_ * n_ + 1), -1),
          seen_(static_cast<size_t>(n_ + 1), false),
          pastFirstKey_(static_cast<size_t>(n_ + 1), false) {
        values_[0] = 0;
    }

    // One line of the file: its headword text, the value that names it (its
    // pair-file line) and whether it is an entry's headword line.
    void Add(std::string_view head, long long value, bool headwordLine) {
        ++lines_;
        const KeyChars key =
            direction_ == Direction::English ? EngKeyChars(head) : JpnKeyChars(head);
        if (key.first == 0) {
            if (headwordLine && !keyed_) {
                beforeFirstKey_ = value;
            }
            return;
        }
        keyed_ = true;
        // The first key of an initial carries its first entry, and then the
        // last one whose second character has no key ("a bit", "a.m."): the
        // search looks those up under that key, and they sort before every
        // entry of a second key past it.
        const auto initial = static_cast<size_t>(key.first);
        if (!seen_[initial] || (key.second == 0 && !pastFirstKey_[initial])) {
            seen_[initial] = true;
            Slot(key.first, 1) = value;
        }
        if (key.second != 0) {
            Slot(key.first, key.second) = value;
            pastFirstKey_[initial] = pastFirstKey_[initial] || key.second > 1;
        }
    }

    // Completes the table after the last line: every key without entries takes
    // the value of the key before it, so values never decrease.
    void Finish() {
        if (!seen_[1]) {
            // The first initial has no entries. Its keys then carry the last
            // entry that sorts before the first keyed one (E-J headwords of
            // digits and signs), so that exactly those fill part 1; -1 when
            // there is none, and part 1 stays empty rather than taking the
            // next initial's entries. An empty J-E file keeps the marker's 0.
            Slot(1, 1) = (lines_ == 0 && direction_ == Direction::Japanese) ? 0 : beforeFirstKey_;
        }
        for (size_t k = 2; k < values_.size(); ++k) {
            if (values_[k] == -1) {
                values_[k] = values_[k - 1];
            }
        }
    }

    // The values as the table file step reads them back from the global
    // table; nothing when one does not fit.
    std::optional<std::vector<int>> Values() const {
        std::vector<int> values;
        values.reserve(values_.size());
        for (const long long value : values_) {
            if (value > std::numeric_limits<int>::max()) {
                return std::nullopt;
            }
            values.push_back(static_cast<int>(value));
        }
        return values;
    }

    void Write(LineWriter& out) const {
        out.WriteLine(BlockMarkerLine(direction_));
        for (int p = 1; p <= n_; ++p) {
            for (int q = 1; q <= n_; ++q) {
                out.WriteLine(KeySlotPrefix(direction_, p, q) + std::to_string(Slot(p, q)));
            }
        }
    }

  private:
    long long& Slot(int p, int q) { return values_[static_cast<size_t>((p - 1) * n_ + q)]; }
    long long Slot(int p, int q) const { return values_[static_cast<size_t>((p - 1) * n_ + q)]; }

    Direction direction_;
    int n_;
    std::vector<long long> values_;
    std::vector<bool> seen_;
    std::vector<bool> pastFirstKey_;  // an entry of a second key past the first was seen
    bool keyed_ = false;
    long long beforeFirstKey_ = -1;
    long long lines_ = 0;
};

// Reads Source line by line. A sorted work file has one entry per line, keyed
// by the text before its TAB, and names the entry on line n by its pair-file
// headword line 2n; a pair file is keyed line by line (its translation lines
// begin with a TAB and key nothing) and names each line by its own index.
void ReadEntries(ToolJob& job, TableBuilder& builder, bool pairFile) {
    try {
        LineReader in(InputPath(job, job.Source));
        ShowProgress(job, tool_text::kProgressTable);
        PercentMeter meter(job.reporter);
        std::string_view line;
        for (long long n = 0; in.Next(line); ++n) {
            if (pairFile) {
                builder.Add(line, n, n % 2 == 0);
            } else {
                std::string_view head;
                std::string_view translation;
                if (!SplitAtTab(line, head, translation)) {
                    head = {};
                }
                builder.Add(head, 2 * n, true);
            }
            meter.Show(in.Consumed(), in.Size());
        }
    } catch (const IoError&) {
        throw StepError(FileMessage(job.Source, tool_text::kCannotOpen));
    }
}

void WriteGlobalTable(ToolJob& job, const TableBuilder& builder) {
    try {
        LineWriter out(OutputPath(job, job.Dest));
        builder.Write(out);
        out.Close();
    } catch (const IoError&) {
        throw StepError(FileMessage(job.Dest, tool_text::kCannotCreate));
    }
}

void MakeTable(ToolJob& job, Direction direction, bool pairFile) {
    RunStep(job, tool_text::kProgressLoad, tool_text::kCannotOpen, [&] {
        TableBuilder builder(direction);
        ReadEntries(job, builder, pairFile);
        builder.Finish();
        WriteGlobalTable(job, builder);
    });
}

// Turns the global table of one part file into the table file form.
void MakeDat(ToolJob& job, Direction direction) {
    RunStep(job, "", tool_text::kTableFailed, [&] {
        std::vector<int> values;
        try {
            values = LoadGlobalTable(InputPath(job, job.Source), direction);
        } catch (const DicTableError&) {
            throw StepError(PaddedMessage(tool_text::kTableFailed));
        }
        LineWriter out(OutputPath(job, job.Dest));
        WriteTableFile(out, values, PartBases(values, direction), direction);
        out.Close();
    });
}

}  // namespace

class SortedTable::Builder : public TableBuilder {
  public:
    using TableBuilder::TableBuilder;
};

SortedTable::SortedTable(Direction direction) : builder_(std::make_unique<Builder>(direction)) {}

SortedTable::~SortedTable() = default;

// Keyed by its headword and named by its pair-file headword line, as
// ReadEntries reads a sorted work file.
void SortedTable::Add(std::string_view head) {
    builder_->Add(head, 2 * lines_, true);
    ++lines_;
}

class PartTableBuilder::Builder : public TableBuilder {
  public:
    using TableBuilder::TableBuilder;
};

PartTableBuilder::PartTableBuilder(Direction direction)
    : builder_(std::make_unique<Builder>(direction)), direction_(direction) {}

PartTableBuilder::~PartTableBuilder() = default;

// Each line keyed and named by its index, as the pair table step reads the
// part file.
void PartTableBuilder::Add(std::string_view line) {
    builder_->Add(line, lines_, lines_ % 2 == 0);
    ++lines_;
}

std::optional<std::vector<std::string>> PartTableBuilder::TableLines() {
    builder_->Finish();
    const std::optional<std::vector<int>> values = builder_->Values();
    if (!values) {
        return std::nullopt;
    }
    return TableFileLines(*values, PartBases(*values, direction_), direction_);
}

void MakeTableFrom(ToolJob& job, SortedTable& table) {
    RunStep(job, tool_text::kProgressLoad, tool_text::kCannotOpen, [&] {
        ShowProgress(job, tool_text::kProgressTable);
        table.builder_->Finish();
        WriteGlobalTable(job, *table.builder_);
    });
}

void MakeTableEng(ToolJob& job) {
    MakeTable(job, Direction::English, false);
}

void MakeTableJpn(ToolJob& job) {
    MakeTable(job, Direction::Japanese, false);
}

void MakePairTableEng(ToolJob& job) {
    MakeTable(job, Direction::English, true);
}

void MakePairTableJpn(ToolJob& job) {
    MakeTable(job, Direction::Japanese, true);
}

void MakeDatEng(ToolJob& job) {
    MakeDat(job, Direction::English);
}

void MakeDatJpn(ToolJob& job) {
    MakeDat(job, Direction::Japanese);
}

}  // namespace tovix
