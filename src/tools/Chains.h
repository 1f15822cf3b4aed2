// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool commands: each runs a fixed chain of tool steps over the names the
// user typed (InName1, InName2, OutName1, OutName2 of the job), passing work
// files of the work directory from step to step.
//
// Before each step the chain clears Failed and sets Source, Dest, Extra and
// DatName; it stops at the first step that fails and then throws away every
// output it staged, so the user's files stay as they were. After the last step
// it moves the staged outputs to their places (a failure there is reported
// like a step's) and puts back the caption it found. A chain returns true when
// the command succeeded.
//
// The viewer runs a command from its menu item after the tool window accepted;
// the command line runs the same chains. Both name a command by its
// ToolCommandId and a direction.

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "dict/Direction.h"
#include "tools/DictImport.h"
#include "tools/EdictImport.h"
#include "tools/EditBoxCheck.h"
#include "tools/ToolJob.h"

namespace tovix {

// Thrown by a front end's reporter when it must answer a question it cannot
// ask (no terminal, no --yes): the running command stops as failed, without a
// further message.
class CommandRefused : public std::runtime_error {
  public:
    CommandRefused() : std::runtime_error("command refused") {}
};

// The outcome of a command.
struct ChainResult {
    bool succeeded = false;
    // Entries of a built dictionary file set that sort after the last
    // initial's range (E-J headwords in kana, J-E headwords beginning with a
    // kanji): they are kept at the end of the last part file.
    long long keptAtEnd = 0;

    explicit operator bool() const { return succeeded; }
};

// Building a dictionary file set (X = OutName1). ExmToTovix also takes a
// dictd ".index" or a StarDict ".ifo" as InName1: it imports it first and
// tells what the import left out or replaced.
ChainResult ExmToTovix(ToolJob& job, Direction direction);
ChainResult PdicToTovix(ToolJob& job, Direction direction);
// Converting back to [EXM].
ChainResult TovixToExm(ToolJob& job, Direction direction);
ChainResult PdicToExm(ToolJob& job, Direction direction);
// Rebuilding the set InName1 from its own part files.
ChainResult ReMakeTovix(ToolJob& job, Direction direction);
// A new set OutName1 holding one seed entry per initial.
ChainResult NewTovix(ToolJob& job, Direction direction);
// Gathering duplicate headwords of InName1 in place.
ChainResult ExmTogether(ToolJob& job, Direction direction);
ChainResult PdicTogether(ToolJob& job, Direction direction);
ChainResult TovixTogether(ToolJob& job, Direction direction);
// Joining InName1 and InName2 into OutName1, with or without gathering.
ChainResult ExmAndExmToExm(ToolJob& job, Direction direction);
ChainResult ExmAndExmToExmTogether(ToolJob& job, Direction direction);
ChainResult PdicAndPdicToPdic(ToolJob& job, Direction direction);
ChainResult PdicAndPdicToPdicTogether(ToolJob& job, Direction direction);
ChainResult TovixAndTovixToTovix(ToolJob& job, Direction direction);
ChainResult TovixAndTovixToTovixTogether(ToolJob& job, Direction direction);
// Length check and division of InName1 into OutName1 (in range) and OutName2.
ChainResult ExmDicCheck(ToolJob& job);
ChainResult PdicDicCheck(ToolJob& job);
ChainResult ExmDicDivide(ToolJob& job);
ChainResult PdicDicDivide(ToolJob& job);
// Import of the EDICT file InName1 into the [EXM] file OutName1.
ChainResult ImportEdict(ToolJob& job, Direction direction, EdictImportCounts& counts);
// Import of the dictd or StarDict dictionary InName1 (its ".index" or
// ".ifo") into the [EXM] file OutName1 (UTF-8 with the job's output encoding).
ChainResult ImportDictionaryToExm(ToolJob& job, DictFormat format, Direction direction,
                                  DictImportCounts& counts);
// The set InName1 as the StarDict dictionary OutName1 (".ifo" and the files
// beside it).
ChainResult TovixToStarDict(ToolJob& job, Direction direction);

// The tool commands, by what they do. A command of both directions is one
// row of the command table; the direction is given when it runs.
enum class ToolCommandId {
    ExmToTovix,
    PdicToTovix,
    TovixToExm,
    PdicToExm,
    ReMakeTovix,
    NewTovix,
    ExmTogether,
    PdicTogether,
    TovixTogether,
    ExmAndExmToExm,
    ExmAndExmToExmTogether,
    PdicAndPdicToPdic,
    PdicAndPdicToPdicTogether,
    TovixAndTovixToTovix,
    TovixAndTovixToTovixTogether,
    ExmDicCheck,
    PdicDicCheck,
    ExmDicDivide,
    PdicDicDivide,
    TovixToStarDict,
};

// Whether a command exists once per direction (its caption then begins with
// 英和 or 和英) or once for both (the length check and division).
enum class ToolDirections { Each, None };

// Which names of a command stand for dictionary file sets.
enum class ToolSets { None, Reads, Writes, ReadsAndWrites };

// One row of the command table: the window that asks for the names, the
// caption, the limits preset in the check window, and the chain.
struct ToolCommand {
    ToolCommandId id;
    ToolDirections directions;
    ToolForm form;
    // The caption; for a command of each direction without its first two
    // characters, 英和 or 和英.
    std::string_view caption;
    std::string_view headLimit;   // ToolForm::LengthCheck only
    std::string_view transLimit;  // ToolForm::LengthCheck only
    ChainResult (*chain)(ToolJob& job, Direction direction);
    ToolSets sets = ToolSets::None;

    // The tool window's caption for the command run in `direction`.
    std::string Caption(Direction direction) const;
    // What the names stand for, for EditBoxCheck and AcceptToolWindow.
    ToolNameRoles Roles(Direction direction) const;
    // Runs the chain over the job's accepted names.
    ChainResult Run(ToolJob& job, Direction direction) const { return chain(job, direction); }
};

// Every tool command, in the order of ToolCommandId.
std::span<const ToolCommand> ToolCommands();

const ToolCommand& FindToolCommand(ToolCommandId id);

}  // namespace tovix
