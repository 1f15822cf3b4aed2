// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The subcommands of tovix-tool, one small function each, found by name in
// one table. The tool subcommands name the same commands as the viewer's tool
// menus and run them the same way: the tool window's name checks, then the
// command's chain of steps.

#include <optional>
#include <span>
#include <string_view>

#include "cli/Arguments.h"
#include "cli/TerminalReporter.h"
#include "dict/Direction.h"
#include "tools/Chains.h"
#include "tools/ToolJob.h"

namespace tovix::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a step failed, or the names were refused
inline constexpr int kExitUsage = 2;   // the arguments do not fit the subcommand

struct Subcommand;

struct Context {
    TerminalReporter& reporter;
    ToolJob& job;
    const Subcommand& subcommand;
};

struct Subcommand {
    std::string_view name;
    std::string_view usage;    // the arguments after the name
    std::string_view summary;  // one line for --help
    // The tool command, for the subcommands that stand for one command (run
    // in the direction chosen by --eng or --jpn).
    std::optional<ToolCommandId> tool;
    int (*run)(Arguments& arguments, Context& context);
};

std::span<const Subcommand> Subcommands();
const Subcommand* FindSubcommand(std::string_view name);

// Takes --eng or --jpn; nothing when neither or both were given.
std::optional<Direction> TakeDirection(Arguments& arguments);

// Reports arguments that do not fit the subcommand; returns kExitUsage.
int UsageError(Context& context);

}  // namespace tovix::cli
