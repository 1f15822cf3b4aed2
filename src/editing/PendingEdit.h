// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edit logs of a program directory are replaced with the journal of the
// set an edit changes, which lies beside that set (EntryEdit.h). An edit
// killed once its journal was placed leaves the log to be renamed whenever
// that set is next opened; an edit of another set meanwhile would read the
// old log, and one of the two log lines would then be lost with the log the
// other replaced. So the program directory records the journal of the edit
// being committed (".tovix-edit-journal", a small file with the path of the
// set's dictionary file and a line end, made before the journal and flushed
// with the staged files), and every edit, holding the lock of the work files,
// first completes the journal of the set recorded there. A record without
// its line end was cut short before any journal was placed, and is
// forgotten.

#include <filesystem>

namespace tovix {

// Completes the journal of an earlier edit from `workDir` that did not end,
// if there is one, and forgets it. Throws IoError naming its dictionary file
// when the journal cannot be completed (the record then stays).
void SettlePendingEdit(const std::filesystem::path& workDir);

// Records the set of `dicFile` as the one the edit being committed replaces
// through its journal, and returns
// the record; the caller flushes it and `workDir` before the journal is
// placed. Throws IoError.
std::filesystem::path RecordPendingEdit(const std::filesystem::path& workDir,
                                        const std::filesystem::path& dicFile);

// Forgets the record once the edit's files are replaced.
void ForgetPendingEdit(const std::filesystem::path& workDir);

}  // namespace tovix
