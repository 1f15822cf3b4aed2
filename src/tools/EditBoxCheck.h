// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The name checks of the tool windows, shared by the viewer's windows and the
// command line so that both refuse the same names with the same messages.
//
// A tool window is one of five kinds; each has up to five edits (file names,
// and for the check window the two length limits). Its 実行 button runs
// EditBoxCheck: the first failing check shows its message and the window stays
// open. When every check passes, AcceptToolWindow copies the edits into the
// typed names of the tool job and sets Accepted.

#include <optional>
#include <string>
#include <string_view>

#include "dict/Direction.h"
#include "platform/Reporter.h"
#include "tools/ToolJob.h"

namespace tovix {

// The kinds of tool window, by the names they ask for. The viewer shows each
// as its own window class.
enum class ToolForm {
    OneInOneOut,  // one input, one output (conversions, building a set)
    InPlace,      // one file, rewritten in place (gather, re-make)
    TwoInOneOut,  // two inputs, one output (join)
    NewFile,      // one output (new dictionary)
    LengthCheck,  // one input, two outputs and two limits (check, divide)
};

// The texts of the window's edits, as typed. Unused edits stay empty.
struct ToolWindowEdits {
    std::string Edit1 = {};
    std::string Edit2 = {};
    std::string Edit3 = {};
    std::string Edit4 = {};  // headword limit (LengthCheck)
    std::string Edit5 = {};  // translation limit (LengthCheck)
};

// What the names of a command stand for, beyond the window's fields: a name
// of a dictionary file set stands for all the set's files (the dictionary
// file, its part files, ".DAT" and ".TBL"), and a set that is read must be of
// the command's direction.
struct ToolNameRoles {
    bool readsSets = false;  // the input names (and the InPlace one) are sets
    bool writesSet = false;  // the output name (and the InPlace one) is a set
    Direction direction = Direction::English;
};

// The smallest and largest length limit the check window accepts.
inline constexpr int kMinLengthLimit = 1;
inline constexpr int kMaxLengthLimit = 1024;

// Runs the checks of `window` in order; on the first failure shows its message
// through `reporter` and returns false. The overwrite question is asked
// through the reporter too; any answer but はい refuses. Beyond the window's
// own checks: an output that names an input, also through the derived names
// of a set (output "words.DIC" over input "words.DAT"), is refused as the
// same file; a set to be read that is of the other direction is refused; and
// the new-dictionary window asks before it replaces an existing file.
bool EditBoxCheck(ToolForm window, const ToolWindowEdits& edits, Reporter& reporter,
                  const ToolNameRoles& roles = {});

// Runs EditBoxCheck and, when it passes, stores the edits in the job's typed
// names (and limits) and sets Accepted. Clears Accepted first.
bool AcceptToolWindow(ToolForm window, const ToolWindowEdits& edits, ToolJob& job,
                      const ToolNameRoles& roles = {});

// The dictionary file of the set a command of `window` replaces once its
// names are accepted into `job`: the InPlace one, else the output; empty
// when the command writes no set.
std::string WrittenSet(ToolForm window, const ToolNameRoles& roles, const ToolJob& job);

// Whether two typed names denote the same file: the same text, or two
// spellings that resolve to one file (links, "./x" and "d/../x", another case
// on a case-insensitive file system).
bool SameFileName(const std::string& a, const std::string& b);

// The value of a decimal integer text (blanks around it allowed, optional
// sign), or nothing when the text is not one.
std::optional<long long> ParseInteger(std::string_view text);

}  // namespace tovix
