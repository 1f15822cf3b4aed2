// SPDX-License-Identifier: GPL-3.0-or-later
// The length check: every entry of an [EXM] or [PDIC] file goes, unchanged,
// to the in-range file when its headword and translation are within the
// limits (in bytes), else to the out-of-range file.

#include "tools/CheckSteps.h"

#include <charconv>
#include <string>
#include <string_view>

#include "platform/MessageText.h"
#include "tools/ConvertCommon.h"
#include "tools/LineReader.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

long long ReadLimit(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        throw StepError(PaddedMessage(tool_text::NotAnInteger(text)));
    }
    return value;
}

bool InRange(const LengthLimits& limits, std::string_view head, std::string_view translation) {
    return static_cast<long long>(head.size()) <= limits.head &&
           static_cast<long long>(translation.size()) <= limits.translation;
}

// [EXM]: the headword is the text before the line's first TAB, the
// translation the text after it; a line without TAB stops the check.
void CheckExmLines(LineReader& in, LineWriter& inRange, LineWriter& outOfRange,
                   const LengthLimits& limits) {
    std::string_view line;
    while (in.Next(line)) {
        std::string_view head;
        std::string_view translation;
        if (!SplitAtTab(line, head, translation)) {
            throw StepError(PaddedMessage(tool_text::kNoTab));
        }
        (InRange(limits, head, translation) ? inRange : outOfRange).WriteLine(line);
    }
}

// [PDIC]: the translation line counts whole, a leading TAB included; a
// headword line without partner at the end has an empty translation.
void CheckPdicLines(LineReader& in, LineWriter& inRange, LineWriter& outOfRange,
                    const LengthLimits& limits) {
    ForEachPair(in, [&](std::string_view head, std::string_view translation) {
        LineWriter& out = InRange(limits, head, translation) ? inRange : outOfRange;
        out.WriteLine(head);
        out.WriteLine(translation);
    });
}

template <class CheckLines>
void Check(ToolJob& job, CheckLines checkLines) {
    RunStep(job, tool_text::kProgressCheck, tool_text::kCheckFailed, [&] {
        const LengthLimits limits = ReadLengthLimits(job);
        LineReader in(InputPath(job, job.Source));
        LineWriter inRange(OutputPath(job, job.Dest));
        LineWriter outOfRange(OutputPath(job, job.Extra));
        checkLines(in, inRange, outOfRange, limits);
        inRange.Close();
        outOfRange.Close();
    });
}

}  // namespace

LengthLimits ReadLengthLimits(const ToolJob& job) {
    return LengthLimits{ReadLimit(job.HeadLimit), ReadLimit(job.TransLimit)};
}

void CheckExm(ToolJob& job) {
    Check(job, CheckExmLines);
}

void CheckPdic(ToolJob& job) {
    Check(job, CheckPdicLines);
}

}  // namespace tovix
