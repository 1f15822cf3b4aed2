// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What tells a replaced file from the one read before: its file number, size
// and time of change (a replacement is a new file); all 0 when missing.

#include <cstdint>
#include <filesystem>

namespace tovix {

struct FileStamp {
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t changed = 0;  // nanoseconds
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::filesystem::path& file);

}  // namespace tovix
