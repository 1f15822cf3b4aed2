// SPDX-License-Identifier: GPL-3.0-or-later
// Gathering: adjacent entries of one headword become one entry whose
// translation collects their senses (the parts between commas), each sense
// once.

#include <string>
#include <string_view>
#include <vector>

#include "components/MbString.h"
#include "dict/KanaText.h"
#include "platform/MessageText.h"
#include "tools/ConvertCommon.h"
#include "tools/LineReader.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// A translation taking part in a merge may hold at most this many senses.
constexpr size_t kMaxSenses = 128;

// The senses of a translation: the texts before, between and after its
// commas, untrimmed. Commas are taken only on character boundaries, so a
// trail byte never splits a sense.
void SplitSenses(std::string_view text, std::vector<std::string_view>& senses) {
    senses.clear();
    size_t from = 0;
    while (true) {
        if (senses.size() == kMaxSenses) {
            throw StepError(PaddedMessage(tool_text::kCreateFailed));
        }
        const ByteColumn end = MbPosEnd(",", text.substr(from));
        if (!end) {
            senses.push_back(text.substr(from));
            return;
        }
        const size_t comma = from + end.Offset();
        senses.push_back(text.substr(from, comma - from));
        from = comma + 1;
    }
}

// Holds the entry not yet written and writes each merged entry once, in the
// order of the input.
class Gatherer {
  public:
    Gatherer(LineWriter& out, bool toPdic) : out_(out), toPdic_(toPdic) {}

    void Add(std::string head, std::string translation) {
        if (pending_ && head == head_) {
            Merge(translation);
            return;
        }
        Flush();
        head_ = std::move(head);
        translation_ = std::move(translation);
        pending_ = true;
    }

    void Flush() {
        if (!pending_) {
            return;
        }
        out_.WriteLine(head_);
        if (!toPdic_) {
            out_.Write("\t");
        }
        out_.WriteLine(translation_);
        pending_ = false;
    }

  private:
    // Appends every sense of `translation` that the pending translation, as
    // it was before this merge, does not hold byte for byte.
    void Merge(std::string_view translation) {
        SplitSenses(translation_, held_);
        SplitSenses(translation, added_);
        std::string appended;
        for (std::string_view sense : added_) {
            bool known = false;
            for (std::string_view old : held_) {
                if (old == sense) {
                    known = true;
                    break;
                }
            }
            if (!known) {
                appended += ',';
                appended += sense;
            }
        }
        translation_ += appended;
    }

    LineWriter& out_;
    bool toPdic_;
    bool pending_ = false;
    std::string head_;
    std::string translation_;
    std::vector<std::string_view> held_;
    std::vector<std::string_view> added_;
};

// GatherPair writes a pair file, headwords as read; GatherPairToPdic writes
// [PDIC], comparing and writing headwords without their trailing blanks.
void Gather(ToolJob& job, bool toPdic) {
    RunStep(job, tool_text::kProgressGather, tool_text::kCreateFailed, [&] {
        LineReader in(InputPath(job, job.Source));
        LineWriter out(OutputPath(job, job.Dest));
        Gatherer gatherer(out, toPdic);
        PercentMeter meter(job.reporter);
        ForEachPair(in, [&](std::string_view head, std::string_view translation) {
            gatherer.Add(toPdic ? EndSpaceDelete(head) : std::string(head),
                         FirstTabDelete(translation));
            meter.Show(in.Consumed(), in.Size());
        });
        gatherer.Flush();
        out.Close();
    });
}

}  // namespace

void GatherPair(ToolJob& job) {
    Gather(job, false);
}

void GatherPairToPdic(ToolJob& job) {
    Gather(job, true);
}

}  // namespace tovix
