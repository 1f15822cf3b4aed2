// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/EntryEdit.h"

#include <cerrno>
#include <stdexcept>

#include "dict/DicFileSet.h"
#include "dict/DicTableError.h"
#include "dict/DictMessages.h"
#include "dict/KeyAlphabet.h"
#include "dict/WrittenForms.h"
#include "editing/EditMessages.h"
#include "editing/EntryFile.h"
#include "editing/PendingEdit.h"
#include "platform/Cp932.h"
#include "platform/FileLock.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "platform/PosixIo.h"
#include "platform/ProgramDir.h"
#include "platform/ReplaceJournal.h"
#include "platform/StagedFile.h"
#include "platform/Warning.h"
#include "tools/LineWriter.h"
#include "tools/TableSteps.h"
#include "tools/ToolJob.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// A failure that ends the edit: the message to show, or empty when a table
// step has shown its own.
class EditFailure : public std::runtime_error {
  public:
    explicit EditFailure(std::string message, EditStatus status = EditStatus::Failed)
        : std::runtime_error(std::move(message)), status_(status) {}
    EditStatus Status() const { return status_; }

  private:
    EditStatus status_;
};

[[noreturn]] void Fail(const fs::path& file, std::string_view text) {
    throw EditFailure(FileMessage(file.string(), text));
}

// Puts back the caption found when the edit began, on every path.
class CaptionKeeper {
  public:
    explicit CaptionKeeper(Reporter& reporter)
        : reporter_(reporter), caption_(reporter.Caption()) {}
    ~CaptionKeeper() { reporter_.SetCaption(caption_); }
    CaptionKeeper(const CaptionKeeper&) = delete;
    CaptionKeeper& operator=(const CaptionKeeper&) = delete;

  private:
    Reporter& reporter_;
    std::string caption_;
};

std::optional<FileLock> LockSet(const fs::path& dicFile, Reporter& reporter, EditLockMode mode) {
    const fs::path file = SetLockFileName(dicFile);
    std::optional<FileLock> lock = FileLock::TryLock(file, file, LockFile::Removed);
    if (lock) {
        return lock;
    }
    if (mode == EditLockMode::Refuse) {
        ShowWarning(reporter, PaddedMessage(tool_text::kSetBusy));
        return std::nullopt;
    }
    reporter.SetCaption("  " + std::string(tool_text::kProgressWaitForSet) + "  ");
    return FileLock(file, file, LockFile::Removed);
}

// One edit, from reading the set to replacing its files.
class Editor {
  public:
    Editor(const EntryEdit& edit, Reporter& reporter, const fs::path& workDir,
           const WriteOptions& options)
        : edit_(edit), reporter_(reporter), job_(reporter, workDir, options) {}

    EditOutcome Run() {
        try {
            CompletePending();
            outcome_.table = LoadTable();
            outcome_.part = Part();
            const EntryFile part = ReadPart();
            if (!ShowsViewedEntry(part)) {
                Warn(PaddedMessage(edit_text::kEntryChangedUnderView));
                outcome_.status = EditStatus::ChangedUnderView;
                return std::move(outcome_);
            }
            StagePart(part);
            StageTable(part);
            StageWrittenForms();
            StageLog();
            Commit();
            outcome_.status = EditStatus::Done;
        } catch (const EditFailure& e) {
            if (*e.what() != '\0') {
                Warn(e.what());
            }
            job_.DiscardOutputs();
            outcome_.status = e.Status();
        }
        return std::move(outcome_);
    }

  private:
    bool Removes() const { return edit_.command != EditCommand::Add; }
    bool Inserts() const { return edit_.command != EditCommand::Delete; }
    fs::path PartFile() const { return PartFileName(edit_.dicFile, outcome_.part); }

    void Warn(const std::string& text) { ShowWarning(reporter_, text); }

    // An earlier edit from the program directory that did not end is
    // completed first, so that its log line is in the log read here; then
    // the set's own replacement. What killed edits and commands left staged
    // goes.
    void CompletePending() {
        try {
            SettlePendingEdit(job_.workDir);
        } catch (const IoError& e) {
            throw EditFailure(PendingSetMessage(e.path(), e.error(), e.path()));
        }
        std::vector<fs::path> logs;
        for (const EditCommand command :
             {EditCommand::Add, EditCommand::Change, EditCommand::Delete}) {
            for (const Direction direction : {Direction::English, Direction::Japanese}) {
                logs.push_back(job_.workDir / EditLogName(command, direction));
            }
        }
        RemoveStaleStagedFiles(logs, start_);
        try {
            CompletePendingSetAndTidy(edit_.dicFile, job_.workDir, start_);
        } catch (const IoError& e) {
            throw EditFailure(PendingSetMessage(edit_.dicFile, e.error(), e.path()));
        }
    }

    TDicTable LoadTable() const {
        const fs::path table = TableFileName(edit_.dicFile);
        try {
            return TDicTable::LoadFromFile(table, edit_.direction);
        } catch (const DicTableError&) {
            Fail(table, dict_text::kTableFileUnreadable);
        }
    }

    // Change and delete work on the part the view shows, where their entry
    // is; an added entry goes to the part of its headword's initial.
    int Part() const {
        const int part = Removes()
                             ? edit_.viewed.part
                             : EntryPart(outcome_.table, edit_.direction, edit_.fields.headword);
        if (part < 1 || part > AlphabetSize(edit_.direction)) {
            throw EditFailure(PaddedMessage(tool_text::kSortFailed));
        }
        return part;
    }

    EntryFile ReadPart() {
        ShowProgress(job_, tool_text::kProgressSort);
        try {
            return EntryFile(ReadWholeFile(PartFile()), 2, edit_.direction == Direction::Japanese);
        } catch (const IoError&) {
            throw EditFailure(PaddedMessage(tool_text::kSortFailed));
        }
    }

    // The lines of the entry put in (add, change).
    const EntryLines& Composed() {
        if (!composed_) {
            composed_ = ComposeEntry(edit_.direction, edit_.fields);
        }
        return *composed_;
    }

    size_t ViewedIndex() const { return static_cast<size_t>(edit_.viewed.topLine / 2); }

    // The entry at the view's top line is still the one the view shows.
    bool ShowsViewedEntry(const EntryFile& part) const {
        if (!Removes()) {
            return true;
        }
        const ViewedEntry& viewed = edit_.viewed;
        std::vector<std::string> lines{viewed.headLine};
        if (viewed.translationLine) {
            lines.push_back(*viewed.translationLine);
        }
        return viewed.topLine >= 0 && viewed.topLine % 2 == 0 && part.EntryIs(ViewedIndex(), lines);
    }

    // The lines of the entry put in; none for a delete.
    std::vector<std::string> Inserted() {
        if (!Inserts()) {
            return {};
        }
        return {Composed().head, Composed().translation};
    }

    std::optional<size_t> Removed() const {
        return Removes() ? std::optional(ViewedIndex()) : std::nullopt;
    }

    void StagePart(const EntryFile& part) {
        try {
            LineWriter out(job_.WritePath(PartFile().string()));
            part.WriteEdited(out, Removed(), Inserted());
            out.Close();
            // The part, the largest file, goes to the disk while its table
            // is built.
            job_.FlushEarly(PartFile().string());
        } catch (const IoError&) {
            throw EditFailure(PaddedMessage(tool_text::kSortFailed));
        }
    }

    // The block of the part's initial, built by the tools' table code from
    // the lines of the part as staged; every other block stays as the table
    // file has it.
    void StageTable(const EntryFile& part) {
        PartTableBuilder builder(edit_.direction);
        part.VisitEdited(Removed(), Inserted(), [&](std::string_view line) { builder.Add(line); });
        const std::optional<std::vector<std::string>> block = builder.TableLines();
        if (!block) {
            throw EditFailure(PaddedMessage(tool_text::kTableFailed));
        }
        const int n = AlphabetSize(edit_.direction);
        const int first = (outcome_.part - 1) * (n + 1) + 1;
        if (outcome_.table.Count() < first + n) {
            Fail(TableFileName(edit_.dicFile), dict_text::kTableFileUnreadable);
        }
        for (int k = first; k < first + n; ++k) {
            outcome_.table.Put(k, (*block)[static_cast<size_t>(k)]);
        }
        const fs::path table = TableFileName(edit_.dicFile);
        try {
            outcome_.table.SaveToFile(job_.WritePath(table.string()));
        } catch (const IoError&) {
            Fail(table, tool_text::kCannotCreate);
        }
    }

    void StageLog() {
        const fs::path log = job_.workDir / EditLogName(edit_.command, edit_.direction);
        const std::string line =
            LogLine(Utf8ToCp932(edit_.dicFile.string()), edit_.direction, edit_.fields);
        StageEdited(log, EntryFile(ReadIfPresent(log).value_or(""), 1), std::nullopt, {line});
    }

    // The written-form file of a Japanese-English set: the line of the entry
    // taken out and the line of the new one put in its sorted place, as a
    // rebuild lists them. A set without the file stays without (a remake
    // adds it); an entry whose written form holds no kanji has no line.
    void StageWrittenForms() {
        if (edit_.direction != Direction::Japanese) {
            return;
        }
        const fs::path file = WrittenFormFileName(edit_.dicFile);
        std::optional<std::string> bytes = ReadIfPresent(file);
        if (!bytes) {
            return;
        }
        const EntryFile forms(std::move(*bytes), 1);
        std::optional<size_t> removed;
        if (const std::optional<std::string> old = FormLine(edit_.viewed.headLine);
            old && Removes()) {
            removed = FindLine(forms, *old);
        }
        std::vector<std::string> inserted;
        if (const std::optional<std::string> line = FormLine(Composed().head); line && Inserts()) {
            inserted.push_back(*line);
        }
        if (removed || !inserted.empty()) {
            StageEdited(file, forms, removed, inserted);
        }
    }

    // The written-form file's line of a headword line in the edited part.
    std::optional<std::string> FormLine(std::string_view headLine) const {
        const std::optional<HeadwordForms> forms = KanjiHeadwordForms(headLine);
        return forms ? std::optional(WrittenFormLine(*forms, outcome_.part)) : std::nullopt;
    }

    static std::optional<size_t> FindLine(const EntryFile& file, std::string_view line) {
        for (size_t i = 0; i < file.LineCount(); ++i) {
            if (file.Line(i) == line) {
                return i;
            }
        }
        return std::nullopt;
    }

    // The file's bytes; nothing when it does not exist.
    static std::optional<std::string> ReadIfPresent(const fs::path& file) {
        try {
            return ReadWholeFile(file);
        } catch (const IoError& e) {
            if (e.error() != ENOENT) {
                Fail(file, edit_text::kCannotRead);
            }
        }
        return std::nullopt;
    }

    // Stages `file` as `entries` with one entry taken out and one put in.
    void StageEdited(const fs::path& file, const EntryFile& entries, std::optional<size_t> removed,
                     const std::vector<std::string>& inserted) {
        try {
            LineWriter out(job_.WritePath(file.string()));
            entries.WriteEdited(out, removed, inserted);
            out.Close();
        } catch (const IoError&) {
            Fail(file, tool_text::kCannotCreate);
        }
    }

    // A failure once the journal is placed does not undo the edit: it is
    // rolled forward now if it can be, else by whoever opens the set or edits
    // from the program directory next, and the answer says which.
    void Commit() {
        try {
            job_.FlushFirst(RecordPendingEdit(job_.workDir, edit_.dicFile));
            job_.FlushFirst(job_.workDir);
        } catch (const IoError& e) {
            ForgetRecord();
            Fail(e.path(), tool_text::kCannotCreate);
        }
        try {
            job_.CommitOutputs(edit_.dicFile);
        } catch (const ReplacementDecided& e) {
            RollForward(e);
            return;
        } catch (const IoError& e) {
            ForgetRecord();
            Fail(e.path(), tool_text::kCannotCreate);
        }
        ForgetRecord();
    }

    void RollForward(const ReplacementDecided& failure) {
        try {
            CompletePendingSet(edit_.dicFile, job_.workDir);
            ForgetRecord();
        } catch (const IoError&) {
            if (!failure.Replaced()) {
                throw EditFailure(
                    FileMessage(edit_.dicFile.string(), edit_text::kEditCompletesAtNextOpening),
                    EditStatus::Pending);
            }
            Warn(FileMessage(JournalFileName(edit_.dicFile).string(), edit_text::kEditDoneUntidy));
        }
    }

    // A record left behind names a journal that is gone: the next edit
    // forgets it.
    void ForgetRecord() {
        try {
            ForgetPendingEdit(job_.workDir);
        } catch (const IoError&) {
            // Harmless: a record of a journal that is gone is forgotten later.
        }
    }

    const EntryEdit& edit_;
    Reporter& reporter_;
    ToolJob job_;
    const fs::file_time_type start_ = fs::file_time_type::clock::now();
    EditOutcome outcome_;
    std::optional<EntryLines> composed_;
};

}  // namespace

fs::path EditWorkFile(const fs::path& workDir, const char* extension) {
    return workDir / NameWithExtension(kProgramName, extension);
}

EditOutcome RunEntryEdit(const EntryEdit& edit, Reporter& reporter, EditLockMode mode,
                         const fs::path& workDir, const WriteOptions& options) {
    const CaptionKeeper caption(reporter);
    try {
        const std::optional<FileLock> setLock = LockSet(edit.dicFile, reporter, mode);
        if (!setLock) {
            return {EditStatus::Refused, 0, {}};
        }
        // The work files and the logs are shared by the edits of every set.
        const fs::path workFile = EditWorkFile(workDir, ".AD1");
        const FileLock workLock(workFile, workFile);
        return Editor(edit, reporter, workDir, options).Run();
    } catch (const IoError& e) {
        ShowWarning(reporter, FileMessage(e.path().string(), tool_text::kCannotOpen));
        return {EditStatus::Failed, 0, {}};
    }
}

std::string_view ViewRefusal(Direction direction, const ViewedEntry& viewed, bool hasDictionary,
                             int viewLineCount) {
    if (!hasDictionary || viewed.part == 0 || viewLineCount == 0) {
        return edit_text::kNoDictionary;
    }
    if (viewed.topLine % 2 != 0) {
        return direction == Direction::Japanese ? edit_text::kTopLineNotReading
                                                : edit_text::kTopLineNotEnglish;
    }
    return {};
}

}  // namespace tovix
