// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's tool commands: every item of the 作成(&M) and 変換(&T) menus runs
// its command of the command table (tools/Chains.h) in its direction: the
// command's tool window asks for the names, and the tool runner runs the
// chain while the window stays painted.

#include "app/gui/MainWindow.h"
#include "app/gui/ToolRunner.h"
#include "app/gui/ToolWindows.h"
#include "dict/OpenDictionary.h"
#include "platform/ProgramDir.h"
#include "tools/EditBoxCheck.h"

namespace tovix {

void TForm1::RunToolCommand(MenuTool tool) {
    const ToolCommand& command = FindToolCommand(tool.id);
    ToolJob job(toolRunner_->JobReporter(), ProgramDir());
    if (!command.headLimit.empty()) {
        job.HeadLimit = command.headLimit;
        job.TransLimit = command.transLimit;
    }
    std::vector<ToolLock> locks;
    {
        const std::unique_ptr<TToolWindow> window =
            MakeToolWindow(command, tool.direction, job, *desktop_, this);
        DialogOpenScope open(*this);
        window->exec();
        locks = window->TakeLocks();
    }
    if (!job.Accepted) {
        return;
    }
    const ChainResult result = toolRunner_->Run([&] { return command.Run(job, tool.direction); });
    if (result) {
        ReopenWhenRewritten(WrittenSet(command.form, command.Roles(tool.direction), job));
    }
}

void TForm1::MenuTovixToStarDictClick() {
    RunToolCommand({ToolCommandId::TovixToStarDict, search_.direction});
}

// The open dictionary's set was replaced: its table in memory and the part
// in the view are the old set's, so the window opens the new one instead,
// as the selection window opens a dictionary.
void TForm1::ReopenWhenRewritten(const std::string& dicFile) {
    if (dicFile.empty() || search_.dicFile.empty() ||
        !SameFileName(dicFile, search_.dicFile.string())) {
        return;
    }
    const std::filesystem::path file = search_.dicFile;
    OpenHere(file, search_.direction);
}

}  // namespace tovix
