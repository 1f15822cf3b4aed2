// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The split step with its result. SplitTovixEng and SplitTovixJpn (Steps.h)
// run it and drop the result; a command that wants to tell the user about
// entries kept at the end of the last part file calls SplitTovix instead.

#include <string>

#include "dict/Direction.h"
#include "tools/ToolJob.h"

namespace tovix {

// Writes the dictionary file set from the pair file Source and the global
// table Dest: the dictionary file Extra, its part files and the table file
// DatName. Entries that sort after the last initial's range (E-J headwords in
// kana, J-E headwords beginning with a kanji) have no part of their own; they are
// kept at the end of the last part file, after the entries of its last key.
// With `writtenFormList`, the headword lines whose written form holds a
// kanji are listed in that text as well, with their part, each line ended by
// CR LF, unsorted: the written-form file of the set (dict/WrittenForms.h) is
// that list sorted (SortTextInto, Steps.h).
// Returns how many entries were kept so, 0 when the step failed
// (job.Failed tells).
long long SplitTovix(ToolJob& job, Direction direction, std::string* writtenFormList = nullptr);

}  // namespace tovix
