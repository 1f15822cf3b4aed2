// SPDX-License-Identifier: GPL-3.0-or-later
// The split step: the pair file cut into one part file per initial, with the
// dictionary file that names the set and the table file the search reads.

#include "tools/SplitSteps.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dict/DicFileSet.h"
#include "dict/DicTableError.h"
#include "dict/KeyAlphabet.h"
#include "dict/WrittenForms.h"
#include "platform/Cp932.h"
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

// The last pair-file line of each initial's entries (the translation line of
// the entry its last key names), index 1 .. N. The parts follow each other
// without gaps: each begins after the lines of the parts before it, so a part
// whose keys lie at or before those lines gets none, and a block of -1 (no
// entry up to here) claims nothing either.
std::vector<long long> PartEnds(const std::vector<int>& values, int n) {
    std::vector<long long> ends(static_cast<size_t>(n + 1), -1);
    for (int i = 1; i <= n; ++i) {
        const int last = values[static_cast<size_t>(i * n)];
        const long long own = last < 0 ? -1 : last + 1LL;
        ends[static_cast<size_t>(i)] = std::max(ends[static_cast<size_t>(i - 1)], own);
    }
    return ends;
}

// The dictionary file holds the name the user gave it, then an empty line.
void WriteDictionaryFile(ToolJob& job) {
    LineWriter out(OutputPath(job, job.Extra));
    out.WriteLine(Utf8ToCp932(job.Extra));
    out.WriteLine("");
    out.Close();
}

// Copies the pair file into the part files and returns how many entries went
// to the last part beyond its own range. Headword lines with a written form
// that holds a kanji go to `forms` as well, with their part, each ended by
// CR LF.
long long WriteParts(ToolJob& job, LineReader& in, const std::vector<long long>& ends, int n,
                     std::string* forms) {
    PercentMeter meter(job.reporter);
    long long index = 0;
    std::string_view line;
    bool pending = in.Next(line);
    for (int i = 1; i <= n; ++i) {
        LineWriter out(OutputPath(job, PartFileName(job.Extra, i).string()));
        while (pending && (i == n || index <= ends[static_cast<size_t>(i)])) {
            out.WriteLine(line);
            if (forms != nullptr && index % 2 == 0) {
                if (const std::optional<HeadwordForms> found = KanjiHeadwordForms(line)) {
                    AppendWrittenFormLine(*found, i, *forms);
                    forms->append("\r\n");
                }
            }
            ++index;
            pending = in.Next(line);
            meter.Show(in.Consumed(), in.Size());
        }
        out.Close();
    }
    const long long keptLines = index - (ends[static_cast<size_t>(n)] + 1);
    return keptLines > 0 ? (keptLines + 1) / 2 : 0;
}

}  // namespace

long long SplitTovix(ToolJob& job, Direction direction, std::string* writtenFormList) {
    long long kept = 0;
    const bool done = RunStep(job, "", tool_text::kCreateFailed, [&] {
        const int n = AlphabetSize(direction);
        std::vector<int> values;
        try {
            values = LoadGlobalTable(InputPath(job, job.Dest), direction);
        } catch (const DicTableError&) {
            throw StepError(PaddedMessage(tool_text::kCreateFailed));
        }
        LineReader in(InputPath(job, job.Source));
        WriteDictionaryFile(job);
        ShowProgress(job, tool_text::kProgressSplit);
        if (writtenFormList != nullptr) {
            writtenFormList->clear();
        }
        kept = WriteParts(job, in, PartEnds(values, n), n, writtenFormList);
        LineWriter dat(OutputPath(job, job.DatName));
        WriteTableFile(dat, values, SplitBases(values, direction), direction);
        dat.Close();
    });
    return done ? kept : 0;
}

void SplitTovixEng(ToolJob& job) {
    SplitTovix(job, Direction::English);
}

void SplitTovixJpn(ToolJob& job) {
    SplitTovix(job, Direction::Japanese);
}

}  // namespace tovix
