// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Entry editing on the command line, over the viewer's own edit: the entry
// window's checks on the fields given, then the same all-or-nothing edit of
// the part file, the table file and the edit log. A change or a delete works
// on the entry that typing its headword brings to the top of the view (or,
// with --line N, the one on line N of that part, as lookup and find print
// it); its headword must be the one given.
//
//   add    --eng DICT.DIC HEADWORD TRANSLATION
//   add    --jpn DICT.DIC READING [WRITTEN] TRANSLATION
//   change --eng [--line N] DICT.DIC HEADWORD TRANSLATION
//   change --jpn [--line N] DICT.DIC READING [WRITTEN] TRANSLATION
//   delete --eng|--jpn [--line N] DICT.DIC HEADWORD
//
// A second edit of the same dictionary waits for the first.

#include "cli/Arguments.h"
#include "cli/Subcommands.h"

namespace tovix::cli {

int AddCommand(Arguments& arguments, Context& context);
int ChangeCommand(Arguments& arguments, Context& context);
int DeleteCommand(Arguments& arguments, Context& context);

}  // namespace tovix::cli
