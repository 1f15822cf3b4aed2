// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The add, change and delete commands on a dictionary file set, as one
// operation that is all or nothing: the part file of the entry, the set's
// table file, its written-form file and the command's edit log are written as
// staged files and replaced together through the set's rename journal
// (platform/ReplaceJournal.h), so that a failure or a crash at any point
// leaves them all old or all new.
//
//   1. The set's edit lock (one copy edits a set at a time; a second waits or
//      is refused), then the lock of the edit work files, shared by the edits
//      of every set from the program directory (the work files and the logs).
//   2. A replacement of the set left unfinished is completed, and so is an
//      earlier edit from the program directory that did not end (its log line
//      must be in the log read here: PendingEdit.h); the table file is read
//      from the disk, so that an edit by another copy is kept.
//   3. The part file: the part of the headword's initial (add) or the part the
//      view shows (change, delete). For change and delete the entry at the
//      view's top line must still be the view's two lines, or nothing is done.
//   4. The part is written with the entry put in its sorted place or taken out
//      (EntryFile.h); the block of the part's initial is computed from the
//      edited lines in memory by the tools' table code (tools/TableSteps.h,
//      the same lines MakePairTableEng/Jpn and MakeDatEng/Jpn give for the
//      written part), and put into the table.
//   5. The written-form file of a Japanese-English set, when the set has one,
//      gets the entry's line out and the new entry's line in at its sorted
//      place (dict/WrittenForms.h); the edit log gets the entry's line.
//   6. All the staged files replace their files as one.
// The caption reads "  辞書ソート中  " while it works and is put back on every
// path. Every failure before the set's journal is placed is reported through
// the reporter and changes nothing. Once the journal is placed the edit is
// decided: a failure after it is rolled forward at once (completing the
// journal); the edit is then done, with a warning when only tidying up
// failed, or, when it cannot be completed now, pending until the set's next
// opening, and it says so. The answer always tells what the set holds once
// it is next opened.

#include <filesystem>
#include <optional>
#include <string>

#include "dict/DicTable.h"
#include "dict/Direction.h"
#include "editing/Entry.h"
#include "platform/Reporter.h"
#include "tools/ToolJob.h"

namespace tovix {

// The entry that the view shows at its top, which a change or a delete works
// on: the part file shown, the top line and the lines there.
struct ViewedEntry {
    int part = 0;  // 1 .. N; 0 when the view shows the dictionary file itself
    int topLine = 0;
    std::string headLine;
    std::optional<std::string> translationLine;  // none when the top line is the last
};

struct EntryEdit {
    EditCommand command = EditCommand::Add;
    Direction direction = Direction::English;
    std::filesystem::path dicFile;
    // The window's fields, checked by EditBoxCheck. For a delete they are the
    // entry deleted, as the window showed it; they go to the log.
    EntryFields fields;
    ViewedEntry viewed;  // change and delete
};

enum class EditLockMode {
    Wait,    // until the other copy's edit of the set ends, saying so in the caption
    Refuse,  // at once, with a warning
};

enum class EditStatus {
    Done,
    Failed,            // reported; nothing changed
    Refused,           // another copy edits the set; reported
    ChangedUnderView,  // the view's entry is no longer in the file; reported
    // The edit is decided (its journal is in place) but replacing the files
    // failed and could not be completed now (reported): the set is new from
    // its next opening on, which completes the replacement. The caller reads
    // the set's table and part again.
    Pending,
};

struct EditOutcome {
    EditStatus status = EditStatus::Failed;
    int part = 0;     // the part file written
    TDicTable table;  // the set's table as replaced, when done
};

// Runs the edit. `workDir` holds the work files and the edit logs (the
// program directory).
EditOutcome RunEntryEdit(const EntryEdit& edit, Reporter& reporter, EditLockMode mode,
                         const std::filesystem::path& workDir, const WriteOptions& options = {});

// A work file of entry editing in `workDir`: the program's name with
// `extension`. ".AD1" is the lock that lets one edit at a time use the work
// directory and its edit logs.
std::filesystem::path EditWorkFile(const std::filesystem::path& workDir, const char* extension);

// Whether the view may be edited (change, delete): a refusal text when not,
// empty when it may. No dictionary, or the view showing no part (still the
// dictionary file itself, or nothing): "辞書ファイルが読み込まれていません。";
// an odd top line: the direction's "画面の最上行を、..." text.
std::string_view ViewRefusal(Direction direction, const ViewedEntry& viewed, bool hasDictionary,
                             int viewLineCount);

}  // namespace tovix
