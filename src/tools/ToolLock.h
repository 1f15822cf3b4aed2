// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One tool command at a time per work directory: the work files
// ("TOVIXSRT.TXT" ...) are shared by every command run from the program's
// directory, so two commands at once, in two processes (two tovix-tool runs,
// two viewers, one of each) or two threads, would mix them.
//
// The lock is an advisory lock on the lock file "TOVIX.LCK" in the work
// directory, held for the whole command: from the name checks (which look at
// files another command may be writing) to the last replaced output. It ends
// with the process, however that ends, so a crashed command never blocks the
// next one.
//
// A front end takes it before it checks the names (the command line, the
// tool windows):
//     const auto lock = ToolLock::Take(job.workDir, reporter, ToolLock::Mode::Refuse);
//     if (!lock) return;  // refused: the user has seen why
//     ... AcceptToolWindow ... command.Run(job, direction) ...
// A chain run without the lock (tests, benchmarks) takes it itself, waiting;
// a chain run while any thread of the process holds it takes none, so a front
// end may take the lock on one thread and run the chain on another.
//
// A command that replaces a dictionary file set (building, re-making,
// gathering or joining into a set, a new set) also holds that set's lock
// (dict/DicFileSet.h: SetLockFileName), the lock entry editing takes, from
// its first step to the set replaced: an entry added to the set meanwhile
// would be lost with the set the command read or replaced. It is taken in
// the same way, after the tool lock: the tool windows refuse, the chain (and
// so tovix-tool) waits, saying so.

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/Reporter.h"

namespace tovix {

class ToolLock {
  public:
    enum class Mode {
        // Wait until the other command ends, showing the waiting text as the
        // caption meanwhile (the caption is put back afterwards).
        Wait,
        // Refuse at once: shows that another command runs (a warning with
        // 中止(&A)) and returns nothing.
        Refuse,
    };

    // Takes the lock of `workDir`. Throws IoError naming the lock file when it
    // cannot be created or locked.
    static std::optional<ToolLock> Take(const std::filesystem::path& workDir, Reporter& reporter,
                                        Mode mode);
    // Takes the lock of the set whose dictionary file is `dicFile`, likewise.
    static std::optional<ToolLock> TakeSet(const std::filesystem::path& dicFile, Reporter& reporter,
                                           Mode mode);

    // Whether this process (any thread of it) holds the lock of `workDir`, or
    // of the set `dicFile`, as a ToolLock now.
    static bool Held(const std::filesystem::path& workDir);
    static bool HeldSet(const std::filesystem::path& dicFile);

    ToolLock(ToolLock&&) noexcept;
    ToolLock& operator=(ToolLock&&) noexcept;
    ~ToolLock();

  private:
    struct State;
    explicit ToolLock(std::unique_ptr<State> state);

    std::unique_ptr<State> state_;
};

// The lock file of the tool commands of `workDir`.
std::filesystem::path ToolLockFileName(const std::filesystem::path& workDir);

}  // namespace tovix
