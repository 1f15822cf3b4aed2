// The one-line readers: each line of Source is an entry, headword TAB
// translation, and is written to Dest in the shape the next step needs.

#include "dict/KanaText.h"
#include "tools/ConvertCommon.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

constexpr std::string_view kConvertProgress = "辞書変換中";
constexpr std::string_view kMakeProgress = "辞書作成中";
constexpr std::string_view kConvertFailure = "辞書ファイルの変換に失敗しました。";
constexpr std::string_view kMakeFailure = "辞書ファイルの作成に失敗しました。";

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
    RunStep(job, kConvertProgress, kConvertFailure, [&] {
        ConvertEachLine(job, [](std::string_view head, std::string_view rest, LineWriter& out) {
            out.Write(head);
            out.Write(" \t");
            out.WriteLine(rest);
        });
    });
}

void ExmToWorkJpn(ToolJob& job) {
    RunStep(job, kConvertProgress, kMakeFailure, [&] {
        ConvertEachLine(job, [](std::string_view head, std::string_view rest, LineWriter& out) {
            out.Write(JpnWorkHead(head));
            out.Write("\t");
            out.WriteLine(rest);
        });
    });
}

void WorkToPairEng(ToolJob& job) {
    RunStep(job, kMakeProgress, kMakeFailure, [&] {
        ConvertEachLine(job, [](std::string_view head, std::string_view rest, LineWriter& out) {
            out.WriteLine(head);
            out.Write("\t");
            out.WriteLine(rest);
        });
    });
}

void WorkToPairJpn(ToolJob& job) {
    RunStep(job, kMakeProgress, kMakeFailure, [&] {
        ConvertEachLine(job, [](std::string_view head, std::string_view rest, LineWriter& out) {
            out.WriteLine(JpnPairHead(head));
            out.Write("\t");
            out.WriteLine(rest);
        });
    });
}

void WorkToPdic(ToolJob& job) {
    RunStep(job, kMakeProgress, kMakeFailure, [&] {
        ConvertEachLine(job, [](std::string_view head, std::string_view rest, LineWriter& out) {
            out.WriteLine(EndSpaceDelete(head));
            out.WriteLine(rest);
        });
    });
}

}  // namespace tovix
