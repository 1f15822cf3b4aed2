#include "tools/ToolLock.h"

#include <mutex>
#include <set>
#include <string>

#include "platform/FileLock.h"
#include "platform/MessageText.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// The work directories whose lock this process holds.
struct Holders {
    std::mutex mutex;
    std::multiset<fs::path> dirs;
};

Holders& HeldDirs() {
    static Holders holders;
    return holders;
}

fs::path Key(const fs::path& workDir) {
    return fs::absolute(workDir).lexically_normal();
}

}  // namespace

struct ToolLock::State {
    State(FileLock l, fs::path d) : lock(std::move(l)), dir(std::move(d)) {
        Holders& holders = HeldDirs();
        const std::lock_guard guard(holders.mutex);
        holders.dirs.insert(dir);
    }
    ~State() {
        Holders& holders = HeldDirs();
        const std::lock_guard guard(holders.mutex);
        holders.dirs.erase(holders.dirs.find(dir));
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    FileLock lock;
    fs::path dir;
};

fs::path ToolLockFileName(const fs::path& workDir) {
    return workDir / "TOVIX.LCK";
}

std::optional<ToolLock> ToolLock::Take(const fs::path& workDir, Reporter& reporter, Mode mode) {
    const fs::path file = ToolLockFileName(workDir);
    std::optional<FileLock> lock = FileLock::TryLock(file, file);
    if (!lock && mode == Mode::Refuse) {
        reporter.Message(MessageKind::Warning, PaddedMessage(tool_text::kToolBusy), kButtonAbort);
        return std::nullopt;
    }
    if (!lock) {
        const std::string caption = reporter.Caption();
        reporter.SetCaption("  " + std::string(tool_text::kProgressWaitForTool) + "  ");
        try {
            lock.emplace(file, file);
        } catch (...) {
            reporter.SetCaption(caption);
            throw;
        }
        reporter.SetCaption(caption);
    }
    return ToolLock(std::make_unique<State>(std::move(*lock), Key(workDir)));
}

bool ToolLock::Held(const fs::path& workDir) {
    Holders& holders = HeldDirs();
    const std::lock_guard guard(holders.mutex);
    return holders.dirs.contains(Key(workDir));
}

ToolLock::ToolLock(std::unique_ptr<State> state) : state_(std::move(state)) {}
ToolLock::ToolLock(ToolLock&&) noexcept = default;
ToolLock& ToolLock::operator=(ToolLock&&) noexcept = default;
ToolLock::~ToolLock() = default;

}  // namespace tovix
