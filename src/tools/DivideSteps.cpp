// SPDX-License-Identifier: GPL-3.0-or-later
// The division of long [PDIC] entries: a translation longer than the limit is
// cut at its sense marks into numbered entries, each within the limit where
// the marks allow it; entries whose headword is too long go to the
// out-of-range file.

#include <string>
#include <string_view>
#include <vector>

#include "components/MbString.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "tools/CheckSteps.h"
#include "tools/ConvertCommon.h"
#include "tools/LineReader.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// Bytes of a headword shown in the question about it.
constexpr size_t kShownHeadBytes = 48;

// The 0-based place of the first `mark` at or after `from` (a character
// boundary) that starts on a character boundary; npos when there is none.
size_t FindMark(std::string_view text, size_t from, std::string_view mark) {
    const ByteColumn end = MbPosEnd(mark, text.substr(from));
    if (!end) {
        return std::string_view::npos;
    }
    const size_t firstCharBytes = IsDoubleByteChar(mark, 0) ? 2 : 1;
    return from + end.value - firstCharBytes;
}

// The text before each mark, the mark itself, and the text after the last
// one; the texts may be empty.
void CutAroundMark(std::string_view text, std::string_view mark,
                   std::vector<std::string_view>& pieces) {
    size_t from = 0;
    for (size_t at; (at = FindMark(text, from, mark)) != std::string_view::npos;
         from = at + mark.size()) {
        pieces.push_back(text.substr(from, at - from));
        pieces.push_back(text.substr(at, mark.size()));
    }
    pieces.push_back(text.substr(from));
}

// Cuts before each mark, so that every mark begins a piece; a text that
// begins with the mark is not cut there.
void CutBeforeMark(std::string_view text, std::string_view mark,
                   std::vector<std::string_view>& pieces) {
    size_t start = 0;
    for (size_t at = FindMark(text, 0, mark); at != std::string_view::npos;
         at = FindMark(text, at + mark.size(), mark)) {
        if (at > start) {
            pieces.push_back(text.substr(start, at - start));
            start = at;
        }
    }
    pieces.push_back(text.substr(start));
}

// The pieces of a translation, in order: cut around "◆", then before " / ",
// then before "【". Joined, they give the translation back.
std::vector<std::string_view> TranslationPieces(std::string_view translation) {
    std::vector<std::string_view> byDiamond;
    CutAroundMark(translation, TOVIX_CP932("◆"), byDiamond);
    std::vector<std::string_view> bySlash;
    for (std::string_view piece : byDiamond) {
        CutBeforeMark(piece, " / ", bySlash);
    }
    std::vector<std::string_view> pieces;
    for (std::string_view piece : bySlash) {
        CutBeforeMark(piece, TOVIX_CP932("【"), pieces);
    }
    return pieces;
}

// Writes the translation as numbered entries "h  *1", "h  *2" ... Pieces are
// gathered while they fit the limit; the gathered text is written before a
// piece that would make it too long, so only a single piece longer than the
// limit can give a part beyond it.
void WriteDivided(LineWriter& out, std::string_view head, std::string_view translation,
                  long long limit) {
    std::string text;
    int part = 1;
    auto writePart = [&] {
        out.WriteLine(std::string(head) + "  *" + std::to_string(part++));
        out.WriteLine(text);
        text.clear();
    };
    for (std::string_view piece : TranslationPieces(translation)) {
        if (!text.empty() && static_cast<long long>(text.size() + piece.size()) > limit) {
            writePart();
        }
        text += piece;
    }
    if (!text.empty()) {
        writePart();
    }
}

// The first bytes of a headword for the question, cut on a character
// boundary.
std::string ShownHead(std::string_view head) {
    size_t place = 0;
    while (place < head.size()) {
        size_t next = place;
        NextChar(head, next);
        if (next > kShownHeadBytes) {
            break;
        }
        place = next;
    }
    return Cp932ToUtf8(head.substr(0, place));
}

// Asks whether to end the division at a headword over the limit; true for はい.
bool AskToEnd(ToolJob& job, std::string_view head) {
    const std::string question = PaddedMessage(std::string(tool_text::kHeadOverLimitQuestion) +
                                               "\r\n   " + ShownHead(head) + "   ");
    return job.reporter.Message(MessageKind::Information, question, kButtonYes | kButtonNo) ==
           MessageResult::Yes;
}

// Copies the rest of the input unchanged, line by line.
void CopyRest(LineReader& in, LineWriter& out) {
    std::string_view line;
    while (in.Next(line)) {
        out.WriteLine(line);
    }
}

// Every entry comes out in one of the two files. When the user ends the
// division at a headword over the limit, the entries not yet looked at follow
// that entry, unchanged, into the out-of-range file: ending stops the work,
// it never drops the rest of the dictionary.
void DivideEntries(ToolJob& job, LineReader& in, LineWriter& inRange, LineWriter& outOfRange,
                   const LengthLimits& limits) {
    ForEachPair(in, [&](std::string_view head, std::string_view translation) {
        if (static_cast<long long>(head.size()) > limits.head) {
            outOfRange.WriteLine(head);
            outOfRange.WriteLine(translation);
            if (AskToEnd(job, head)) {
                CopyRest(in, outOfRange);
                return false;
            }
        } else if (static_cast<long long>(translation.size()) > limits.translation) {
            WriteDivided(inRange, head, translation, limits.translation);
        } else {
            inRange.WriteLine(head);
            inRange.WriteLine(translation);
        }
        return true;
    });
}

}  // namespace

void DividePdic(ToolJob& job) {
    RunStep(job, tool_text::kProgressCheck, tool_text::kCheckFailed, [&] {
        const LengthLimits limits = ReadLengthLimits(job);
        LineReader in(InputPath(job, job.Source));
        LineWriter inRange(OutputPath(job, job.Dest));
        LineWriter outOfRange(OutputPath(job, job.Extra));
        DivideEntries(job, in, inRange, outOfRange, limits);
        inRange.Close();
        outOfRange.Close();
    });
}

// Division of [EXM] is not offered; the step does nothing.
void DivideExm(ToolJob& /*job*/) {}

}  // namespace tovix
