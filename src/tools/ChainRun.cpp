// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ChainRun.h"

#include "dict/DicFileSet.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "tools/EncodingSteps.h"
#include "tools/SplitSteps.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"

namespace tovix {

ChainRun::ChainRun(ToolJob& job, const std::string& writtenSet)
    : job_(job), caption_(job.reporter.Caption()) {
    const auto start = std::filesystem::file_time_type::clock::now();
    try {
        if (!ToolLock::Held(job_.workDir)) {
            lock_ = ToolLock::Take(job_.workDir, job_.reporter, ToolLock::Mode::Wait);
        }
        if (!writtenSet.empty() && !ToolLock::HeldSet(writtenSet)) {
            setLock_ = ToolLock::TakeSet(writtenSet, job_.reporter, ToolLock::Mode::Wait);
        }
    } catch (const IoError& e) {
        Fail(FileMessage(e.path().string(), tool_text::kCannotCreate));
        return;
    }
    if (!writtenSet.empty()) {
        TidySet(writtenSet, start);
    }
}

// What a command killed while it wrote the set left staged goes before this
// one writes it.
void ChainRun::TidySet(const std::string& dicFile, std::filesystem::file_time_type start) const {
    try {
        CompletePendingSetAndTidy(dicFile, job_.workDir, start);
    } catch (const IoError&) {
        // A replacement that cannot be completed stops the step that reads or
        // replaces the set, which says so; nothing is removed meanwhile.
    }
}

ChainRun::~ChainRun() {
    job_.ForgetDecodedInputs();
}

ChainRun& ChainRun::ReadsText(const std::string& name, const char* workName, bool inPlace) {
    if (!ok_ || TextFileEncoding(job_, name) != TextEncoding::Utf8) {
        return *this;
    }
    Unconvertible lost;
    const std::string copy = Work(workName);
    Run([&](ToolJob& job) { DecodeUtf8Text(job, lost); }, name, copy);
    if (!ok_) {
        return *this;
    }
    job_.ReadDecodedFrom(name, copy);
    if (inPlace) {
        utf8InPlace_.insert(name);
    }
    if (lost.count == 0) {
        return *this;
    }
    const std::string notice = FileMessage(
        name, tool_text::UnconvertibleCharacters(lost.count, lost.lines, lost.moreLines));
    if (!inPlace) {
        job_.reporter.Message(MessageKind::Information, notice, kButtonOk);
        return *this;
    }
    const std::string question = notice + "\r\n" + PaddedMessage(tool_text::kWriteReplacedQuestion);
    Run(
        [&](ToolJob& job) {
            job.Failed = job.reporter.Message(MessageKind::Information, question,
                                              kButtonYes | kButtonNo) != MessageResult::Yes;
        },
        name);
    return *this;
}

std::string ChainRun::TextOutput(const std::string& name) const {
    return job_.outputEncoding == TextEncoding::Utf8 || utf8InPlace_.contains(name)
               ? Work("TOVIXOUT.TXT")
               : name;
}

ChainRun& ChainRun::EncodeOutput(const std::string& written, const std::string& name) {
    return written == name ? *this : Run(EncodeUtf8Text, written, name);
}

ChainRun& ChainRun::BuildSet(Direction direction, const std::function<void(ToolJob&)>& makeTable,
                             const std::string& tableSource, const std::string& dicFile) {
    setFile_ = dicFile;
    const std::string globalTable = GlobalTableFileName(dicFile).string();
    Run(makeTable, tableSource, globalTable);
    const bool forms = direction == Direction::Japanese && job_.options.writtenForms;
    std::string list;
    const auto split = [&](ToolJob& job) {
        result_.keptAtEnd = SplitTovix(job, direction, forms ? &list : nullptr);
    };
    Run(split, Work("TOVIXSEP.TXT"), globalTable, dicFile, TableFileName(dicFile).string());
    if (forms) {
        Run([&](ToolJob& job) { SortTextInto(job, list); }, std::string(),
            WrittenFormFileName(dicFile).string());
    }
    return *this;
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
