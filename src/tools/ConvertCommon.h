// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the converter, sort and join steps share: where a step reads and writes
// a name of the job, the split of a line at its separating TAB, the content
// error, the J-E headword shapes, the reading of two-line entries and the
// percentage shown while a file is streamed.

#include <filesystem>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/Reporter.h"
#include "tools/LineReader.h"
#include "tools/ToolJob.h"

namespace tovix {

// The work files ("TOVIXSRT.TXT" ..., and entry editing's "tovix.AD1" and
// "tovix.ADD") in the job's work directory are written
// in place, so that they stay on disk also after a failure; every other name
// is a file of the user's and is staged (ToolJob::WritePath).
std::filesystem::path OutputPath(ToolJob& job, const std::string& name);
// Every work file of `workDir`, whether it exists or not.
std::vector<std::filesystem::path> WorkFiles(const std::filesystem::path& workDir);
// The file a step reads for `name`: the one this command staged, if any.
std::filesystem::path InputPath(const ToolJob& job, const std::string& name);

// Splits a line at its first TAB that stands on a character boundary (a TAB
// right after a lead byte belongs to that character). False without one.
bool SplitAtTab(std::string_view line, std::string_view& head, std::string_view& rest);

// A J-E headword in the work file's shape: reading, one blank, "[", written
// form, "]". Without "[" the headword is reading and written form; with "[]"
// the written form is the reading in katakana and what followed is dropped; a
// headword with its written form keeps it, one blank going before the "[".
std::string JpnWorkHead(std::string_view head);
// The same, appended to `out`.
void AppendJpnWorkHead(std::string_view head, std::string& out);

// A J-E work-file headword as the headword line of a part file: completed as
// JpnWorkHead does but without inserting a blank; a headword that has its
// written form passes unchanged.
std::string JpnPairHead(std::string_view head);
// The same, appended to `out`.
void AppendJpnPairHead(std::string_view head, std::string& out);

// Throws the StepError of a line without TAB: Source's name, then
// "辞書ファイルの内容が正しくありません。".
[[noreturn]] void ThrowContentError(const ToolJob& job);

// Reads `in` as two-line entries, headword line then translation line, and
// calls convert(head, translation) for each. A headword line that is the last
// line of the file gets an empty translation. A convert that returns a bool
// ends the reading by returning false; the rest of `in` is left unread.
template <class Convert>
void ForEachPair(LineReader& in, Convert&& convert) {
    std::string head;
    std::string_view line;
    while (in.Next(line)) {
        head.assign(line);
        std::string_view translation;
        if (!in.Next(translation)) {
            translation = {};
        }
        if constexpr (std::is_same_v<decltype(convert(std::string_view(), translation)), bool>) {
            if (!convert(std::string_view(head), translation)) {
                return;
            }
        } else {
            convert(std::string_view(head), translation);
        }
    }
}

// Passes a step's progress on to the reporter as a whole percentage, and only
// when that changes, so that a long file costs no more than a hundred calls.
// Between two percentages a call costs one comparison: steps call it for
// every line.
class PercentMeter {
  public:
    explicit PercentMeter(Reporter& reporter) : reporter_(reporter) {}
    void Show(unsigned long long done, unsigned long long total) {
        if (done >= next_ || total != total_) {
            ShowPercent(done, total);
        }
    }

  private:
    void ShowPercent(unsigned long long done, unsigned long long total);

    Reporter& reporter_;
    int shown_ = -1;
    unsigned long long total_ = 0;
    unsigned long long next_ = 0;  // the first `done` of the next percentage
};

}  // namespace tovix
