// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary file set readers: the part files of the set named by Source,
// in part order, to one line per entry.

#include <cerrno>
#include <memory>
#include <vector>

#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
#include "platform/IoError.h"
#include "tools/ConvertCommon.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// Finishes an interrupted replacement of the set, then opens every part file,
// so that a missing one fails the step before Dest is touched, then streams their entries to Dest
// through write(head, translation, out), the translation without its leading TAB.
template <class Write>
void ReadDictionarySet(ToolJob& job, Direction direction, Write&& write) {
    RunStep(job, tool_text::kProgressConvert, tool_text::kConvertFailed, [&] {
        try {
            CompletePendingSet(job.Source, job.workDir);
        } catch (const IoError& e) {
            if (e.error() == EBADMSG) {
                throw StepError(PendingSetMessage(job.Source, e.error(), e.path()));
            }
            throw;
        }
        std::vector<std::unique_ptr<LineReader>> parts;
        unsigned long long total = 0;
        for (int part = 1; part <= AlphabetSize(direction); ++part) {
            const std::string name = PartFileName(job.Source, part).string();
            parts.push_back(std::make_unique<LineReader>(InputPath(job, name)));
            total += parts.back()->Size();
        }
        LineWriter out(OutputPath(job, job.Dest));
        PercentMeter meter(job.reporter);
        unsigned long long before = 0;
        for (const auto& in : parts) {
            ForEachPair(*in, [&](std::string_view head, std::string_view translation) {
                write(head, FirstTabDelete(translation), out);
                meter.Show(before + in->Consumed(), total);
            });
            before += in->Size();
        }
        out.Close();
    });
}

}  // namespace

void TovixToExmEng(ToolJob& job) {
    ReadDictionarySet(job, Direction::English,
                      [](std::string_view head, std::string_view translation, LineWriter& out) {
                          out.Write(EndSpaceDelete(head));
                          out.Write("\t");
                          out.WriteLine(translation);
                      });
}

void TovixToWorkEng(ToolJob& job) {
    ReadDictionarySet(job, Direction::English,
                      [](std::string_view head, std::string_view translation, LineWriter& out) {
                          out.Write(EndSpaceDelete(head));
                          out.Write(" \t");
                          out.WriteLine(translation);
                      });
}

// A headword with its written form loses the blanks before "["; one without
// "[" (entry editing can store such) keeps its text as the whole headword,
// which the [EXM] reader takes again as reading and written form.
void TovixToExmJpn(ToolJob& job) {
    ReadDictionarySet(job, Direction::Japanese,
                      [](std::string_view head, std::string_view translation, LineWriter& out) {
                          const ByteColumn open = MbPosEnd("[", head);
                          if (!open) {
                              out.Write(EndSpaceDelete(head));
                          } else {
                              const size_t bracket = open.Offset();
                              out.Write(EndSpaceDelete(head.substr(0, bracket)));
                              out.Write(head.substr(bracket));
                          }
                          out.Write("\t");
                          out.WriteLine(translation);
                      });
}

// A headword with "[" passes unchanged; one without is completed to reading
// and written form as a headword from [EXM] is, so that its entry is kept and
// sorts beside the others.
void TovixToWorkJpn(ToolJob& job) {
    ReadDictionarySet(job, Direction::Japanese,
                      [](std::string_view head, std::string_view translation, LineWriter& out) {
                          if (!MbPosEnd("[", head)) {
                              out.Write(JpnWorkHead(EndSpaceDelete(head)));
                          } else {
                              out.Write(head);
                          }
                          out.Write("\t");
                          out.WriteLine(translation);
                      });
}

}  // namespace tovix
