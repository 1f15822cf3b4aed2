// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProgramDir.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tovix {
namespace {

namespace fs = std::filesystem;

std::mutex programDirMutex;
std::optional<fs::path> chosenProgramDir;

fs::path HomeDir() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? fs::path(user->pw_dir) : fs::path("/tmp");
}

}  // namespace

fs::path ExecutableDir() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : executable.parent_path();
}

fs::path ProgramDir() {
    std::lock_guard<std::mutex> lock(programDirMutex);
    if (!chosenProgramDir) {
        chosenProgramDir = ChooseProgramDir(ExecutableDir(), UserDataDir());
    }
    return *chosenProgramDir;
}

void SetProgramDir(const fs::path& dir) {
    std::lock_guard<std::mutex> lock(programDirMutex);
    chosenProgramDir = dir;
}

fs::path ChooseProgramDir(const fs::path& executableDir, const fs::path& userDir) {
    if (!executableDir.empty() && !IsInstalledCopy(executableDir) && IsWritableDir(executableDir)) {
        return executableDir;
    }
    // When even this fails, the settings read as defaults and each write
    // reports the directory's error.
    std::error_code error;
    fs::create_directories(userDir, error);
    return userDir;
}

bool IsInstalledCopy(const fs::path& executableDir) {
    const fs::path prefix = executableDir.parent_path();
    std::error_code error;
    return executableDir.filename() == "bin" &&
           fs::is_directory(SharedDataDir(executableDir), error) &&
           !fs::exists(prefix / "CMakeCache.txt", error);
}

fs::path SharedDataDir(const fs::path& executableDir) {
    return executableDir.parent_path() / "share" / kProgramName;
}

fs::path UserDataDir() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && fs::path(dataHome).is_absolute()) {
        return fs::path(dataHome) / kProgramName;
    }
    return HomeDir() / ".local" / "share" / kProgramName;
}

namespace {

constexpr std::string_view kProbePrefix = ".tovix-probe-";

// The process id a probe file's name carries; nothing for any other name.
std::optional<pid_t> ProbeOwner(const std::string& name) {
    if (!name.starts_with(kProbePrefix) || name.size() == kProbePrefix.size() ||
        name.size() > kProbePrefix.size() + 9 ||
        name.find_first_not_of("0123456789", kProbePrefix.size()) != std::string::npos) {
        return std::nullopt;
    }
    return static_cast<pid_t>(std::stol(name.substr(kProbePrefix.size())));
}

// Probe files that a process killed while it probed left behind: regular
// files of the probe's name whose process is gone. A probe of a process that
// still runs is its own.
void RemoveStaleProbes(const fs::path& dir) {
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::optional<pid_t> owner = ProbeOwner(it->path().filename().string());
        std::error_code fileError;
        if (owner && *owner > 0 && ::kill(*owner, 0) != 0 && errno == ESRCH &&
            fs::is_regular_file(fs::symlink_status(it->path(), fileError))) {
            ::unlink(it->path().c_str());
        }
    }
}

}  // namespace

bool IsWritableDir(const fs::path& dir) {
    RemoveStaleProbes(dir);
    fs::path probe = dir / (std::string(kProbePrefix) + std::to_string(getpid()));
    int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST && unlink(probe.c_str()) == 0) {
        // Left by a crashed process of the same id.
        fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    }
    if (fd < 0) {
        return false;
    }
    close(fd);
    unlink(probe.c_str());
    return true;
}

fs::path NameWithExtension(const fs::path& executableName, std::string_view extension) {
    fs::path name = executableName.filename();
    name.replace_extension(extension);
    return name;
}

fs::path ProgramFile(std::string_view extension) {
    return ProgramDir() / NameWithExtension(kProgramName, extension);
}

fs::path SettingsFilePath() {
    return ProgramFile(".INI");
}

std::vector<fs::path> HelpFileCandidates(const fs::path& executableDir,
                                         const fs::path& programDir) {
    std::vector<fs::path> candidates{executableDir / kHelpFileName};
    if (programDir != executableDir) {
        candidates.push_back(programDir / kHelpFileName);
    }
    candidates.push_back(SharedDataDir(executableDir) / "help" / "index.html");
    return candidates;
}

std::optional<fs::path> FindHelpFile(const std::vector<fs::path>& candidates) {
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace tovix
