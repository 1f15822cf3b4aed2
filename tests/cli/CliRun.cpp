// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliRun.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "platform/Cp932.h"

namespace tovix::test {

namespace fs = std::filesystem;

CliRun::CliRun() : program_(dir_ / "tovix-tool") {
    std::error_code error;
    fs::create_hard_link(TOVIX_TOOL_PATH, program_, error);
    if (error) {
        fs::copy_file(TOVIX_TOOL_PATH, program_);
    }
}

CliResult CliRun::Run(const std::vector<std::string>& arguments) const {
    return Wait(Start(arguments, ""), "");
}

pid_t CliRun::Start(const std::vector<std::string>& arguments, std::string_view tag) const {
    const fs::path outFile = dir_ / (".stdout" + std::string(tag));
    const fs::path errFile = dir_ / (".stderr" + std::string(tag));
    std::vector<char*> argv{const_cast<char*>(program_.c_str())};
    for (const std::string& a : arguments) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || chdir(dir_.path().c_str()) != 0 ||
            dup2(in, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 ||
            dup2(err, STDERR_FILENO) < 0) {
            _exit(127);
        }
        execv(program_.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

CliResult CliRun::Wait(pid_t pid, std::string_view tag) const {
    const fs::path outFile = dir_ / (".stdout" + std::string(tag));
    const fs::path errFile = dir_ / (".stderr" + std::string(tag));
    int status = 0;
    waitpid(pid, &status, 0);
    CliResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadBytes(outFile);
    result.err = ReadBytes(errFile);
    fs::remove(outFile);
    fs::remove(errFile);
    return result;
}

std::string CliRun::ErrorsSoFar(std::string_view tag) const {
    return ReadBytes(dir_ / (".stderr" + std::string(tag)));
}

void CliRun::Write(std::string_view name, std::string_view utf8) const {
    WriteBytes(dir_ / name, Sjis(utf8));
}

std::string CliRun::Read(std::string_view name) const {
    return ReadBytes(dir_ / name);
}

std::string Sjis(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

}  // namespace tovix::test
