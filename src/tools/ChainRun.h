#pragma once
// How a tool command runs its chain of steps (Chains.cpp holds the recipes):
// each step in order with its names, stopping at the first that fails; at
// the end the outputs the steps staged replace the user's files as one.
//
// A ChainRun holds the tool lock of the job's work directory for the command
// unless the front end holds it already (ToolLock.h); it takes it waiting.

#include <exception>
#include <optional>
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

    explicit ChainRun(ToolJob& job);

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
    // `tableSource`. The set's files are replaced with the set's journal.
    ChainRun& BuildSet(Direction direction, Step makeTable, const std::string& tableSource,
                       const std::string& dicFile);

    std::string Work(const char* name) const { return job_.WorkFile(name).string(); }

    // Replaces the user's files by the staged outputs when every step
    // succeeded; a failure there is reported like a step's.
    ChainResult Finish();

  private:
    void ReportUnforeseen();
    void Fail(const std::string& message);
    void Stop();

    ToolJob& job_;
    std::string caption_;
    std::optional<ToolLock> lock_;
    bool ok_ = true;
    std::string setFile_;  // the dictionary file of the set written, if any
    ChainResult result_;
};

}  // namespace tovix
