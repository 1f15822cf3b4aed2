// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolLock.h"

#include <mutex>
#include <set>
#include <string>

#include "dict/DicFileSet.h"
#include "platform/FileLock.h"
#include "platform/MessageText.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// The lock files whose lock this process holds as a ToolLock.
struct Holders {
    std::mutex mutex;
    std::multiset<fs::path> files;
};

Holders& HeldFiles() {
    static Holders holders;
    return holders;
}

fs::path Key(const fs::path& lockFile) {
    return fs::absolute(lockFile).lexically_normal();
}

bool HeldFile(const fs::path& lockFile) {
    Holders& holders = HeldFiles();
    const std::lock_guard guard(holders.mutex);
    return holders.files.contains(Key(lockFile));
}

// What a refusal shows, and the caption while waiting.
struct LockTexts {
    std::string_view busy;
    std::string_view waiting;
};

}  // namespace

struct ToolLock::State {
    State(FileLock l, fs::path f) : lock(std::move(l)), file(std::move(f)) {
        Holders& holders = HeldFiles();
        const std::lock_guard guard(holders.mutex);
        holders.files.insert(file);
    }
    ~State() {
        Holders& holders = HeldFiles();
        const std::lock_guard guard(holders.mutex);
        holders.files.erase(holders.files.find(file));
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // Takes the lock of `file`, refusing or waiting.
    static std::optional<ToolLock> Take(const fs::path& file, Reporter& reporter, Mode mode,
                                        const LockTexts& texts, LockFile use) {
        std::optional<FileLock> lock = FileLock::TryLock(file, file, use);
        if (!lock && mode == Mode::Refuse) {
            reporter.Message(MessageKind::Warning, PaddedMessage(texts.busy), kButtonAbort);
            return std::nullopt;
        }
        if (!lock) {
            const std::string caption = reporter.Caption();
            reporter.SetCaption("  " + std::string(texts.waiting) + "  ");
            try {
                lock.emplace(file, file, use);
            } catch (...) {
                reporter.SetCaption(caption);
                throw;
            }
            reporter.SetCaption(caption);
        }
        return ToolLock(std::make_unique<State>(std::move(*lock), Key(file)));
    }

    FileLock lock;
    fs::path file;
};

fs::path ToolLockFileName(const fs::path& workDir) {
    return workDir / "TOVIX.LCK";
}

std::optional<ToolLock> ToolLock::Take(const fs::path& workDir, Reporter& reporter, Mode mode) {
    return State::Take(ToolLockFileName(workDir), reporter, mode,
                       {tool_text::kToolBusy, tool_text::kProgressWaitForTool}, LockFile::Kept);
}

std::optional<ToolLock> ToolLock::TakeSet(const fs::path& dicFile, Reporter& reporter, Mode mode) {
    return State::Take(SetLockFileName(dicFile), reporter, mode,
                       {tool_text::kSetBusy, tool_text::kProgressWaitForSet}, LockFile::Removed);
}

bool ToolLock::Held(const fs::path& workDir) {
    return HeldFile(ToolLockFileName(workDir));
}

bool ToolLock::HeldSet(const fs::path& dicFile) {
    return HeldFile(SetLockFileName(dicFile));
}

ToolLock::ToolLock(std::unique_ptr<State> state) : state_(std::move(state)) {}
ToolLock::ToolLock(ToolLock&&) noexcept = default;
ToolLock& ToolLock::operator=(ToolLock&&) noexcept = default;
ToolLock::~ToolLock() = default;

}  // namespace tovix
