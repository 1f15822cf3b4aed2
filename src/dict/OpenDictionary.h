// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a dictionary file set, as the viewer does at start-up and from its
// menu and the command line does for its searches: the dictionary file's own
// lines (the view shows them until the first lookup loads a part) and the
// table file, both read in full before the caller changes anything, so that
// it takes both or neither.
//
// First completes a replacement of the set left unfinished (DicFileSet.h).
// Checks, in order, each failing with a warning that names its file: an
// unfinished replacement that cannot be completed, the dictionary file missing, the dictionary file
// unreadable, the table file
// (".DAT") unreadable or damaged. Any failure while reading, a file too large
// for memory included, counts as unreadable; nothing is thrown.

#include <filesystem>
#include <string>

#include "components/BvStrings.h"
#include "dict/DicTable.h"
#include "dict/Direction.h"
#include "dict/SearchState.h"

namespace tovix {

enum class OpenFailure { None, Missing, Unreadable, TableUnreadable };

struct OpenedDictionary {
    OpenFailure failure = OpenFailure::None;
    // The warning, laid out with the file name on its first line; empty when
    // the dictionary was opened.
    std::string message;
    TBvStrings lines;  // the dictionary file's lines
    TDicTable table;
    FileStamp tableStamp;  // the table file as it was before it was read

    bool Opened() const { return failure == OpenFailure::None; }
};

OpenedDictionary OpenDictionary(const std::filesystem::path& dicFile, Direction direction);

}  // namespace tovix
