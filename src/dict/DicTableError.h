// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table file that cannot be read or holds a line that is not a key, "=" and
// a decimal integer. It carries the table's path; its text is the message the
// user sees, laid out with the file name on its own first line.

#include <filesystem>
#include <stdexcept>

namespace tovix {

class DicTableError : public std::runtime_error {
  public:
    explicit DicTableError(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace tovix
