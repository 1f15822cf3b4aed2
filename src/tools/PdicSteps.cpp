// SPDX-License-Identifier: GPL-3.0-or-later
// The two-line readers: [PDIC] files and pair files, two lines per entry, to
// one line per entry. There is no content check: a missing last translation
// line reads as empty.

#include <algorithm>
#include <string>

#include "dict/KanaText.h"
#include "tools/ConvertCommon.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// Streams the entries of Source to Dest through write(head, translation, out).
template <class Write>
void ConvertEachPair(ToolJob& job, Write&& write) {
    RunStep(job, tool_text::kProgressConvert, tool_text::kConvertFailed, [&] {
        LineReader in(InputPath(job, job.Source));
        LineWriter out(OutputPath(job, job.Dest));
        PercentMeter meter(job.reporter);
        ForEachPair(in, [&](std::string_view head, std::string_view translation) {
            write(head, translation, out);
            meter.Show(in.Consumed(), in.Size());
        });
        out.Close();
    });
}

// A [PDIC] headword as one-line files hold it: without its trailing blanks,
// and with a TAB (which would end the headword there and move the rest into
// the translation) as a blank, so that every later step sees the same
// headword.
std::string OneLineHead(std::string_view head) {
    std::string text(head);
    std::replace(text.begin(), text.end(), '\t', ' ');
    return EndSpaceDelete(text);
}

}  // namespace

void PdicToWork(ToolJob& job) {
    ConvertEachPair(job, [](std::string_view head, std::string_view translation, LineWriter& out) {
        out.Write(OneLineHead(head));
        out.Write(" \t");
        out.WriteLine(FirstTabDelete(translation));
    });
}

void PdicToExm(ToolJob& job) {
    ConvertEachPair(job, [](std::string_view head, std::string_view translation, LineWriter& out) {
        out.Write(OneLineHead(head));
        out.Write("\t");
        out.WriteLine(FirstTabDelete(translation));
    });
}

void PairToExm(ToolJob& job) {
    ConvertEachPair(job, [](std::string_view head, std::string_view translation, LineWriter& out) {
        out.Write(head);
        out.WriteLine(translation);
    });
}

}  // namespace tovix
