// SPDX-License-Identifier: GPL-3.0-or-later
// The rename journal found beside a set: any bytes, taken as the journal of
// the set "S.DIC" (a first byte "!" keeps them as they are; else the end line
// with the right count and checksum is added, so that the checks behind it
// are reached). Beside the set lie a file outside it and a staged file of
// its part 1. Checks: the file outside is never touched; a journal carried
// out leaves every file of the set old or the staged file's content and is
// gone; a refused one leaves every file and the journal as they were.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/IoError.h"
#include "platform/ReplaceJournal.h"

namespace {

namespace fs = std::filesystem;
using tovix::fuzz::Check;

const char* const kFiles[] = {"S.DIC", "S.001", "S.002", "S.DAT"};
constexpr const char* kStaged = ".S.001.tovix-0123456789abcdef";

std::string WithEnd(const std::string& body) {
    std::uint64_t hash = 14695981039346656037ull;
    size_t lines = 0;
    for (const char c : body) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        lines += c == '\n';
    }
    char end[64];
    std::snprintf(end, sizeof end, "end %zu %016llx\n", lines > 0 ? lines - 1 : 0,
                  static_cast<unsigned long long>(hash));
    return body + end;
}

// Every file of the directory with its bytes.
std::string State(const fs::path& dir) {
    std::string state;
    for (const auto& entry : fs::directory_iterator(dir)) {
        state += entry.path().filename().string() + "=";
        state += entry.is_regular_file() ? tovix::fuzz::ReadFile(entry.path()) : "?";
        state += "\n";
    }
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const fs::path root = tovix::fuzz::ScratchDir();
    const fs::path dir = root / "set";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::vector<fs::path> replaceable;
    for (const char* name : kFiles) {
        tovix::fuzz::WriteFile(dir / name, std::string("old ") + name);
        replaceable.push_back(dir / name);
    }
    tovix::fuzz::WriteFile(dir / kStaged, "staged");
    tovix::fuzz::WriteFile(root / "outside.txt", "outside");
    const std::string input(reinterpret_cast<const char*>(data), size);
    const fs::path journal = tovix::JournalFileName(dir / "S.DIC");
    tovix::fuzz::WriteFile(journal, input.starts_with("!") ? input.substr(1) : WithEnd(input));
    const std::string before = State(dir);
    bool done = false;
    try {
        done = tovix::CompleteReplacement(journal, replaceable);
    } catch (const tovix::IoError&) {
        Check(State(dir) == before, "a refused journal changed the set");
    }
    Check(tovix::fuzz::ReadFile(root / "outside.txt") == "outside",
          "a file outside the set changed");
    if (done) {
        Check(!fs::exists(journal), "a carried-out journal stayed");
        for (const char* name : kFiles) {
            if (!fs::exists(dir / name)) {
                continue;
            }
            const std::string bytes = tovix::fuzz::ReadFile(dir / name);
            Check(bytes == std::string("old ") + name || bytes == "staged",
                  "a file of the set got other bytes");
        }
    }
    return 0;
}
