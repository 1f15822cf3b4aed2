#pragma once
// The file names of a dictionary file set. The user names the dictionary
// file; every other file of the set is that name with its last extension
// replaced (or, without an extension, appended): the part files ".001" ..,
// one per initial, the table file ".DAT" and the global table ".TBL" that the
// dictionary builder leaves beside the set. Only the file name's own
// extension counts, so "dir.v2/WORDS" gives "dir.v2/WORDS.001".

#include <filesystem>

namespace tovix {

// The part file of part `part` (1 .. 999, written with three digits).
std::filesystem::path PartFileName(const std::filesystem::path& dicFile, int part);

// The table file, ".DAT".
std::filesystem::path TableFileName(const std::filesystem::path& dicFile);

// The global table file, ".TBL".
std::filesystem::path GlobalTableFileName(const std::filesystem::path& dicFile);

}  // namespace tovix
