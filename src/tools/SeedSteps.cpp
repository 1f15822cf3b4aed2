// SPDX-License-Identifier: GPL-3.0-or-later
// The seeds of a new dictionary: one entry per initial, so that every part
// file of the set built from them holds an entry and every initial has a
// value in the table.

#include "dict/KeyAlphabet.h"
#include "tools/ConvertCommon.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// Rewrites Source with one work line per alphabet character c:
// head(c) TAB c.
template <class Head>
void Seed(ToolJob& job, Direction direction, Head&& head) {
    RunStep(job, tool_text::kProgressMake, tool_text::kCreateFailed, [&] {
        LineWriter out(OutputPath(job, job.Source));
        for (int position = 1; position <= AlphabetSize(direction); ++position) {
            const std::string_view c = AlphabetChar(direction, position);
            out.Write(head(c));
            out.Write("\t");
            out.WriteLine(c);
        }
        out.Close();
    });
}

}  // namespace

// "a" TAB "a" .. "z" TAB "z".
void SeedNewEng(ToolJob& job) {
    Seed(job, Direction::English, [](std::string_view c) { return std::string(c); });
}

// "あ[あ]" TAB "あ" .. "ん[ん]" TAB "ん".
void SeedNewJpn(ToolJob& job) {
    Seed(job, Direction::Japanese,
         [](std::string_view c) { return std::string(c) + "[" + std::string(c) + "]"; });
}

}  // namespace tovix
