// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds a small dictionary file set with the program's own tools, for tests
// of the lookup and the find.

#include <filesystem>
#include <string>
#include <vector>

#include "dict/Direction.h"
#include "platform/Cp932.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/Chains.h"

namespace tovix::test {

// `entries` are [EXM] lines written in UTF-8 ("apple\tりんご"); the set is
// built as `dir`/`name` and its dictionary file returned.
inline std::filesystem::path BuildDictionary(const TempDir& dir, Direction direction,
                                             const std::vector<std::string>& entries,
                                             const std::string& name = "TEST.DIC") {
    std::string exm;
    for (const std::string& entry : entries) {
        exm += Utf8ToCp932(entry) + "\r\n";
    }
    const std::filesystem::path source = dir / (name + ".exm");
    WriteBytes(source, exm);
    std::filesystem::create_directories(dir / "work");
    RecordingReporter reporter;
    ToolJob job(reporter, dir / "work");
    job.InName1 = source.string();
    job.OutName1 = (dir / name).string();
    if (!ExmToTovix(job, direction) || !reporter.messages.empty()) {
        throw std::runtime_error("building the test dictionary failed");
    }
    return dir / name;
}

}  // namespace tovix::test
