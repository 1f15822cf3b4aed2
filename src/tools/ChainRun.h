// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a tool command runs its chain of steps (Chains.cpp holds the recipes):
// each step in order with its names, stopping at the first that fails; at
// the end the outputs the steps staged replace the user's files as one.
//
// A ChainRun holds the tool lock of the job's work directory for the command
// unless the front end holds it already (ToolLock.h); it takes it waiting.
// So with the lock of the set a command replaces; holding it, the run first
// completes the set's unfinished replacement and removes what a killed
// command left staged of it.

#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "dict/Direction.h"
#include "tools/Chains.h"
#include "tools/ToolJob.h"
#include "tools/ToolLock.h"

namespace tovix {

class ChainRun {
  public:
    using Step = void (*)(ToolJob& job);

    // `writtenSet`: the dictionary file of the set the command replaces, if
    // it replaces one (and BuildSet writes).
    explicit ChainRun(ToolJob& job, const std::string& writtenSet = {});
    ~ChainRun();
    ChainRun(const ChainRun&) = delete;
    ChainRun& operator=(const ChainRun&) = delete;

    // Runs `step` (any callable taking the job) with these names, unless an
    // earlier step failed. Before it, Failed is cleared and the names set.
    template <class StepFunction>
    ChainRun& Run(StepFunction&& step, std::string source, std::string dest = {},
                  std::string extra = {}, std::string datName = {}) {
        if (!ok_) {
            return *this;
        }
        job_.Failed = false;
        job_.Source = std::move(source);
        job_.Dest = std::move(dest);
        job_.Extra = std::move(extra);
        job_.DatName = std::move(datName);
        try {
            step(job_);
        } catch (const CommandRefused&) {
            job_.Failed = true;
        } catch (const std::exception&) {
            // Steps report their own failures; this is a last guard so that an
            // unforeseen error still ends the command cleanly.
            ReportUnforeseen();
        }
        if (job_.Failed) {
            Stop();
        }
        return *this;
    }

    // The table builder and the split step that write the set `dicFile` from
    // the pair file "TOVIXSEP.TXT"; the table is built by `makeTable` from
    // `tableSource`. A Japanese-English set gets its written-form file too,
    // listed by the split step in memory and sorted. The set's
    // files are replaced with the set's journal.
    ChainRun& BuildSet(Direction direction, const std::function<void(ToolJob&)>& makeTable,
                       const std::string& tableSource, const std::string& dicFile);

    std::string Work(const char* name) const { return job_.WorkFile(name).string(); }

    // The user's text file `name` ([EXM], [PDIC]) is read as CP932 by the
    // steps after this one: a UTF-8 file (the job's input encoding, or its
    // look) is first written as CP932 to the work file `workName`, and the
    // characters replaced there are reported. A command that writes its result
    // over `name` (`inPlace`) writes it back in UTF-8 and, when characters
    // were replaced, asks first.
    ChainRun& ReadsText(const std::string& name, const char* workName, bool inPlace = false);

    // Where a step writes the [EXM] or [PDIC] file `name`: the file itself,
    // or the work file "TOVIXOUT.TXT" when it is to be UTF-8 (the job's
    // output encoding, or an in-place command's UTF-8 input); EncodeOutput
    // then writes it as `name`.
    std::string TextOutput(const std::string& name) const;
    ChainRun& EncodeOutput(const std::string& written, const std::string& name);

    // Replaces the user's files by the staged outputs when every step
    // succeeded; a failure there is reported like a step's.
    ChainResult Finish();

  private:
    void TidySet(const std::string& dicFile, std::filesystem::file_time_type start) const;
    void ReportUnforeseen();
    void Fail(const std::string& message);
    void Stop();

    ToolJob& job_;
    std::string caption_;
    std::optional<ToolLock> lock_;
    std::optional<ToolLock> setLock_;
    bool ok_ = true;
    std::string setFile_;                // the dictionary file of the set written, if any
    std::set<std::string> utf8InPlace_;  // UTF-8 files written over in place
    ChainResult result_;
};

}  // namespace tovix
