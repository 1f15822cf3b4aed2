// SPDX-License-Identifier: GPL-3.0-or-later
// The one-line readers: each line of Source is an entry, headword TAB
// translation, and is written to Dest in the shape the next step needs.

#include "dict/KanaText.h"
#include "tools/ConvertCommon.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// Streams Source to Dest, calling write(head, rest, out) per line. A line
// without TAB stops the step with the content error; the lines written before
// it stay in Dest.
template <class Write>
void ConvertEachLine(ToolJob& job, Write&& write) {
    LineReader in(InputPath(job, job.Source));
    LineWriter out(OutputPath(job, job.Dest));
    PercentMeter meter(job.reporter);
    std::string_view line;
    std::string_view head;
    std::string_view rest;
    while (in.Next(line)) {
        if (!SplitAtTab(line, head, rest)) {
            out.Close();
            ThrowContentError(job);
        }
        write(head, rest, out);
        meter.Show(in.Consumed(), in.Size());
    }
    out.Close();
}

}  // namespace

void ExmToWorkEng(ToolJob& job) {
    RunStep(job, tool_text::kProgressConvert, tool_text::kConvertFailed, [&] {
        ConvertEachLine(job, [](std::string_view head, std::string_view rest, LineWriter& out) {
            out.Write(head);
            out.Write(" \t");
            out.WriteLine(rest);
        });
    });
}

void ExmToWorkJpn(ToolJob& job) {
    RunStep(job, tool_text::kProgressConvert, tool_text::kCreateFailed, [&] {
        std::string heads;
        ConvertEachLine(job, [&](std::string_view head, std::string_view rest, LineWriter& out) {
            heads.clear();
            AppendJpnWorkHead(head, heads);
            out.Write(heads);
            out.Write("\t");
            out.WriteLine(rest);
        });
    });
}

void WorkToPairEng(ToolJob& job) {
    RunStep(job, tool_text::kProgressMake, tool_text::kCreateFailed, [&] {
        ConvertEachLine(job, [](std::string_view head, std::string_view rest, LineWriter& out) {
            out.WriteLine(head);
            out.Write("\t");
            out.WriteLine(rest);
        });
    });
}

void WorkToPairJpn(ToolJob& job) {
    RunStep(job, tool_text::kProgressMake, tool_text::kCreateFailed, [&] {
        std::string heads;
        ConvertEachLine(job, [&](std::string_view head, std::string_view rest, LineWriter& out) {
            heads.clear();
            AppendJpnPairHead(head, heads);
            out.WriteLine(heads);
            out.Write("\t");
            out.WriteLine(rest);
        });
    });
}

void WorkToPdic(ToolJob& job) {
    RunStep(job, tool_text::kProgressMake, tool_text::kCreateFailed, [&] {
        ConvertEachLine(job, [](std::string_view head, std::string_view rest, LineWriter& out) {
            out.WriteLine(EndSpaceDelete(head));
            out.WriteLine(rest);
        });
    });
}

}  // namespace tovix
