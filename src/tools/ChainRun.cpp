#include "tools/ChainRun.h"

#include "dict/DicFileSet.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "tools/SplitSteps.h"
#include "tools/ToolMessages.h"

namespace tovix {

ChainRun::ChainRun(ToolJob& job) : job_(job), caption_(job.reporter.Caption()) {
    if (ToolLock::Held(job_.workDir)) {
        return;
    }
    try {
        lock_ = ToolLock::Take(job_.workDir, job_.reporter, ToolLock::Mode::Wait);
    } catch (const IoError& e) {
        Fail(FileMessage(e.path().string(), tool_text::kCannotCreate));
    }
}

ChainRun& ChainRun::BuildSet(Direction direction, Step makeTable, const std::string& tableSource,
                             const std::string& dicFile) {
    setFile_ = dicFile;
    const std::string globalTable = GlobalTableFileName(dicFile).string();
    Run(makeTable, tableSource, globalTable);
    const auto split = [&](ToolJob& job) { result_.keptAtEnd = SplitTovix(job, direction); };
    return Run(split, Work("TOVIXSEP.TXT"), globalTable, dicFile, TableFileName(dicFile).string());
}

ChainResult ChainRun::Finish() {
    if (!ok_) {
        return {};
    }
    try {
        job_.CommitOutputs(setFile_);
    } catch (const IoError& e) {
        Fail(FileMessage(e.path().string(), tool_text::kCannotCreate));
        return {};
    }
    job_.reporter.SetCaption(caption_);
    result_.succeeded = true;
    return result_;
}

void ChainRun::ReportUnforeseen() {
    job_.reporter.Message(MessageKind::Warning, PaddedMessage(tool_text::kCreateFailed),
                          kButtonAbort);
    job_.Failed = true;
}

void ChainRun::Fail(const std::string& message) {
    job_.reporter.Message(MessageKind::Warning, message, kButtonAbort);
    job_.Failed = true;
    Stop();
}

void ChainRun::Stop() {
    ok_ = false;
    job_.DiscardOutputs();
    job_.reporter.SetCaption(caption_);
}

}  // namespace tovix
