// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file names of a dictionary file set. The user names the dictionary
// file; every other file of the set is that name with its last extension
// replaced (or, without an extension, appended): the part files ".001" ..,
// one per initial, the table file ".DAT", the written-form file ".KJI" of a
// Japanese-English set and the global table ".TBL" that the dictionary
// builder leaves beside the set. Only the file name's own
// extension counts, so "dir.v2/WORDS" gives "dir.v2/WORDS.001".

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dict/Direction.h"

namespace tovix {

// The part file of part `part` (1 .. 999, written with three digits).
std::filesystem::path PartFileName(const std::filesystem::path& dicFile, int part);

// The table file, ".DAT".
std::filesystem::path TableFileName(const std::filesystem::path& dicFile);

// The global table file, ".TBL".
std::filesystem::path GlobalTableFileName(const std::filesystem::path& dicFile);

// The written-form file, ".KJI" (Japanese-English sets, WrittenForms.h).
std::filesystem::path WrittenFormFileName(const std::filesystem::path& dicFile);

// The direction a set's table file is written for, told by its first block
// marker ("**=0" English-Japanese, "＊＊=0" Japanese-English); nothing when
// the table cannot be read or begins otherwise.
std::optional<Direction> SetDirection(const std::filesystem::path& dicFile);

// Every file a writer of the set replaces, for either direction: the
// dictionary file, the 45 part files, the table, global table and
// written-form files.
std::vector<std::filesystem::path> SetFiles(const std::filesystem::path& dicFile);

// The edit logs of a program directory ("TOVIXADE.TXT" ...), in the order
// add, change, delete, each English-Japanese then Japanese-English. An edit
// replaces its log together with the set's files.
inline constexpr std::array<std::string_view, 6> kEditLogNames = {
    "TOVIXADE.TXT", "TOVIXADJ.TXT", "TOVIXCGE.TXT", "TOVIXCGJ.TXT", "TOVIXDLE.TXT", "TOVIXDLJ.TXT"};

// The files of a set are replaced as one, through a journal beside the
// dictionary file (platform/ReplaceJournal.h). Whoever reads or writes a set
// (the viewer opening it, a tool reading or rebuilding it, entry editing)
// calls this first: it finishes a replacement of the set that a crash or a
// failure left unfinished, so the set is wholly new. The journal may replace
// the set's files (under every name of them: the names given and the files
// their links lead to) and the edit logs of `workDir` (empty: the program
// directory), nothing else. Returns whether there was one. Throws IoError
// when it cannot be finished (the set is then not to be read), or EBADMSG
// naming the journal when the journal is damaged or not the set's.
bool CompletePendingSet(const std::filesystem::path& dicFile,
                        const std::filesystem::path& workDir = {});

// The message for a failure of CompletePendingSet: a refused journal is named
// itself, since it is a hidden file; else the dictionary file.
std::string PendingSetMessage(const std::filesystem::path& dicFile, int error,
                              const std::filesystem::path& failedFile);

// What a writer of the set does first, holding the set's lock: completes an
// unfinished replacement (CompletePendingSet), then removes the staged files
// of the set's files that a command killed before its replacement left
// behind, those last written before `since` (the writer's start). Throws
// IoError like CompletePendingSet, and then removes nothing: a journal that
// cannot be completed may still need them.
void CompletePendingSetAndTidy(const std::filesystem::path& dicFile,
                               const std::filesystem::path& workDir,
                               std::filesystem::file_time_type since);

// The lock file that one copy of the program holds while it edits or
// rebuilds the set: the hidden name "." + the dictionary file's name +
// ".tovix-lock" beside the dictionary file itself (its links resolved), so
// that every name of the set takes the one lock. It is removed when the lock
// is let go (platform/FileLock.h); one left by a killed program is harmless
// and goes with the next lock of the set.
std::filesystem::path SetLockFileName(const std::filesystem::path& dicFile);

}  // namespace tovix
