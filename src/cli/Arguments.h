// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arguments of one subcommand: options ("--eng", "--head 60" or
// "--head=60") anywhere among the file names, and the file names in order.
// A subcommand takes the options it knows; whatever option is left over is an
// error. "--" ends the options, so that a file name may begin with "-".

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovix::cli {

class Arguments {
  public:
    explicit Arguments(std::vector<std::string> tokens);

    // Takes the option `name` ("--eng"); true when it was given.
    bool Flag(std::string_view name);

    // Takes the option `name` with its value; nothing when it was not given.
    // A missing value counts as an unknown option.
    std::optional<std::string> Value(std::string_view name);

    // Takes exactly one of `names`: its index, or nothing when none or more
    // than one was given.
    std::optional<size_t> OneOf(std::initializer_list<std::string_view> names);

    // The file names, once every known option is taken; nothing when an
    // option is left over or their number is outside [min, max].
    std::optional<std::vector<std::string>> Names(size_t min, size_t max) const;

  private:
    std::vector<std::string> options_;  // before "--", in order
    std::vector<std::string> names_;    // after "--"
    bool missingValue_ = false;
};

}  // namespace tovix::cli
