// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// tovix-tool show: the entries a user sees at the top of the view after
// typing each word, for people and for scripts.

#include "cli/Arguments.h"
#include "cli/Subcommands.h"

namespace tovix::cli {

// show --eng|--jpn [--max N] [--json] DICT.DIC WORD...: for each word its
// heading line, then one line "HEADWORD<TAB>TRANSLATION" per entry (at most
// N, default 10), or the not-found line. With --json one JSON object per
// word and line: {"word":..,"found":..,"entries":[{"headword":..,
// "translation":..}]}. Exit status 1 when a word is not found.
int ShowCommand(Arguments& arguments, Context& context);

// `utf8` as a JSON string, quotes included.
std::string JsonString(std::string_view utf8);

}  // namespace tovix::cli
