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
//     ... AcceptToolWindow ... command->run(job) ...
// A chain run without the lock (tests, benchmarks) takes it itself, waiting;
// a chain run while any thread of the process holds it takes none, so a front
// end may take the lock on one thread and run the chain on another.

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

    // Whether this process (any thread of it) holds the lock of `workDir` now.
    static bool Held(const std::filesystem::path& workDir);

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
