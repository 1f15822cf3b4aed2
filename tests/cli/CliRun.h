// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs tovix-tool for a test: a link to the built program in a directory of
// the test's own, so that its program directory (and with it the work files
// and the settings file) belongs to this test alone. The program runs in that
// directory with standard input not a terminal.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/TempDir.h"

namespace tovix::test {

struct CliResult {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

class CliRun {
  public:
    CliRun();

    CliResult Run(const std::vector<std::string>& arguments) const;

    // Starts the program without waiting for it; its output goes to files of
    // its own, named after `tag`, so that several may run at once. Wait
    // waits for it and collects its result.
    pid_t Start(const std::vector<std::string>& arguments, std::string_view tag) const;
    CliResult Wait(pid_t pid, std::string_view tag) const;
    // What a started program has written to standard error so far.
    std::string ErrorsSoFar(std::string_view tag) const;

    // Files of the directory; contents are written from UTF-8 as CP932.
    std::filesystem::path operator/(std::string_view name) const { return dir_ / name; }
    void Write(std::string_view name, std::string_view utf8) const;
    std::string Read(std::string_view name) const;

  private:
    TempDir dir_;
    std::filesystem::path program_;
};

// UTF-8 text as the CP932 bytes the tools read and write.
std::string Sjis(std::string_view utf8);

}  // namespace tovix::test
