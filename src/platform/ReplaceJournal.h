// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several files replaced as one (a dictionary file set: dictionary file, part
// files, table files; later one part file with its table and edit log), so
// that a reader, a crash, a full disk or a failing disk leaves every file
// wholly old or every file wholly new.
//
// How: each new file is written as a staged file beside the file it replaces
// (StagedFile.h), whose writing to the disk starts once it is complete
// (StartWriteback). Commit then
//  1. checks that every file may be replaced (none is a directory),
//  2. writes the journal, the list of planned renames, as a staged file
//     too, and flushes every staged file to the disk (side by side),
//  3. renames the journal into place (so a journal is never seen half
//     written) and flushes its directory: from here the replacement is
//     decided,
//  4. renames every staged file over its file and flushes their directories,
//  5. removes the journal.
// A failure in 1-3 removes the staged files: nothing changed. A crash or a
// failure in 4-5 leaves the journal; whoever opens or writes the files next
// calls CompleteReplacement first, which finishes step 4 and 5: a staged file
// that still exists is renamed over its file, a missing one was renamed
// already. A journal that cannot be read as a whole (damaged on the disk) is
// never acted on: CompleteReplacement throws and leaves every file as it is.
//
// Journal format: the line "tovix replace journal 2", one line per rename
// (staged file, TAB, file, TAB, the staged file's inode number, TAB, its
// size in bytes; names of the journal's directory as bare names, others
// absolute; bytes below 0x21 and "%" written as %XX), and the line "end"
// with the count of renames and a 64-bit FNV-1a checksum (hexadecimal) of
// every byte before it. A journal of version 1 (lines of the two names
// alone) is still carried out, with the checks below but the one on the
// inode and size.
//
// A journal lies beside files that may come from anyone (a dictionary set
// received from someone), so it is carried out only when every rename puts a
// staged file, named exactly as StagedFile.h names the staged files of its
// target and lying beside it, onto one of the files the caller names as
// replaceable (the files of the set, the edit logs of the program
// directory), and every staged file still there is the regular file of the
// recorded inode number and size, which only the writer knew. Any other
// journal is refused: IoError EBADMSG naming it, nothing touched.
//
// Commit and CompleteReplacement hold an exclusive lock on the journal's
// directory while they work, so two of them never interleave.

#include <filesystem>
#include <future>
#include <optional>
#include <vector>

#include "platform/IoError.h"

namespace tovix {

// How a replacement reaches the disk: every staged file flushed and the
// renames journalled (what every command does), or the files only renamed one
// by one, which a measurement of what the safety costs compares against.
enum class Durability {
    Journalled,
    RenamesOnly,
};

// Commit failed once the replacement was decided (its journal in place): the
// files are new for whoever completes the journal next (CompleteReplacement),
// or, when Replaced(), every file is replaced already and only tidying up
// (flushing the directories, removing the journal) failed.
class ReplacementDecided : public IoError {
  public:
    ReplacementDecided(const IoError& error, bool replaced) : IoError(error), replaced_(replaced) {}
    bool Replaced() const { return replaced_; }

  private:
    bool replaced_;
};

class StagedReplacement {
  public:
    explicit StagedReplacement(Durability durability = Durability::Journalled)
        : durability_(durability) {}
    // Removes the staged files that were not committed.
    ~StagedReplacement();
    StagedReplacement(const StagedReplacement&) = delete;
    StagedReplacement& operator=(const StagedReplacement&) = delete;

    // The staged file that will replace the file `name` names (a symbolic link
    // is followed to the file it names: ReplacedFile). Created empty on the
    // first call for `name`; later calls return the same path. Throws IoError.
    std::filesystem::path Stage(const std::filesystem::path& name);
    // The staged file of `name`, or nothing when it is not staged.
    std::optional<std::filesystem::path> Find(const std::filesystem::path& name) const;
    bool Empty() const { return items_.empty(); }
    // The name first staged; empty when nothing is.
    std::filesystem::path FirstName() const;

    // Starts flushing the staged file of `name` to the disk now, beside the
    // caller's further work; the file must be complete. Commit waits for it.
    void FlushEarly(const std::filesystem::path& name);
    // A file, or a directory whose names (a file created in it), must be on
    // the disk before the replacement is decided: flushed with the staged
    // files.
    void FlushFirst(const std::filesystem::path& path);

    // Replaces every staged file's file as one, recording the renames in
    // `journal` (a file name of the caller's choice beside the files; not
    // needed for a single file, which one rename replaces). Afterwards
    // nothing is staged. Throws IoError naming the file that failed; see
    // above for what then holds: ReplacementDecided once it is decided.
    void Commit(const std::filesystem::path& journal);
    // Removes every staged file.
    void Discard();

  private:
    struct Item {
        std::filesystem::path name;    // as given to Stage
        std::filesystem::path target;  // the file really replaced
        std::filesystem::path staged;
        std::shared_future<void> flushed;  // a flush started early, if any
    };
    // Step 2, for the staged files and `journal` (a staged file too; empty
    // when there is none).
    void FlushStaged(const std::filesystem::path& journal) const;
    void CommitUnlocked(const std::filesystem::path& journal);

    Durability durability_;
    std::vector<Item> items_;
    std::vector<std::filesystem::path> firsts_;
};

// The absolute name of the file `path` names, with every symbolic link on the
// way resolved (of the part that exists): one name for one file, however it
// is reached.
std::filesystem::path RealFileName(const std::filesystem::path& path);

// The journal of a replacement whose main file (the dictionary file of a
// set) is `mainFile`: the hidden name "." + its name + ".tovix-journal"
// beside the file itself (RealFileName), so that every name of the set
// finds the one journal.
std::filesystem::path JournalFileName(const std::filesystem::path& mainFile);

// Finishes a replacement that `journal` records, if there is one; returns
// whether there was. `replaceable` are the only files it may replace. Throws
// IoError when a rename fails (the journal stays for the next attempt) or
// when the journal is damaged or not acceptable (error EBADMSG, naming the
// journal; nothing is touched).
bool CompleteReplacement(const std::filesystem::path& journal,
                         const std::vector<std::filesystem::path>& replaceable);

}  // namespace tovix
