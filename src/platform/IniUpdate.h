// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A set of key changes to an INI file, written together in one step.
//
// Several copies of the program share one settings file and may write it at
// the same moment. Commit therefore takes an exclusive lock (on the lock file
// beside the INI file, "<name>.lock"), reads the file as it is now, applies
// only this update's keys, replaces the file atomically and releases the lock:
// keys written by another copy in between are kept, and a reader never sees a
// half-written file.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tovix {

class IniUpdate {
  public:
    explicit IniUpdate(std::filesystem::path path);

    // Record a change; nothing touches the file before Commit. A key written
    // twice keeps its last value.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Applies every recorded change to the file, creating it when missing.
    // Throws IoError when the file cannot be read or written; the file is then
    // left as it was.
    void Commit() const;

    const std::filesystem::path& path() const { return path_; }

  private:
    struct Change {
        std::string section;
        std::string key;
        std::string value;
    };

    std::filesystem::path path_;
    std::vector<Change> changes_;
};

// The lock file that serialises the writers of `iniPath`.
std::filesystem::path IniLockPath(const std::filesystem::path& iniPath);

}  // namespace tovix
