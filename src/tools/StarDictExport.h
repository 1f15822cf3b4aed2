// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a dictionary as a StarDict dictionary in UTF-8: "NAME.ifo",
// "NAME.idx", "NAME.dict.dz" (dictzip's format) and, for Japanese-English,
// "NAME.syn". Files of an earlier export that a reader would take with the
// new ones (a plain "NAME.dict", a "NAME.idx.gz", a "NAME.syn") are replaced
// along with them.
//
// Every entry becomes one word of the index, in StarDict's own order (bytes
// compared with ASCII letters folded, then as they are), its translation one
// text field (sametypesequence=m). A Japanese-English headword
// "reading[written]" is filed under its reading, its written form a synonym
// leading to it, so both are found as StarDict looks words up. The
// dictionary's name (bookname) is the name of the set's dictionary file.

#include <filesystem>
#include <string>

#include "dict/Direction.h"
#include "tools/ToolJob.h"

namespace tovix {

// The tool step: Source is an [EXM] file (CP932, as TovixToExm writes it),
// Dest the ".ifo" to write; Extra the dictionary's name. The files are
// staged and replaced with the command's other outputs. Progress
// "StarDict 辞書作成中".
void ExmToStarDict(ToolJob& job, Direction direction);

}  // namespace tovix
