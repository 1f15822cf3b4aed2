// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files of a dictionary file set, for tests that compare whole sets.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "dict/DicFileSet.h"
#include "dict/KeyAlphabet.h"
#include "platform/Cp932.h"
#include "support/TempDir.h"

namespace tovix::test {

// [EXM] text in CP932 from UTF-8 lines ("apple\tりんご").
inline std::string ExmText(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) {
        text += Utf8ToCp932(entry) + "\r\n";
    }
    return text;
}

// The dictionary file, the part files, ".DAT" and ".TBL", and ".KJI" of a
// Japanese-English set.
inline std::vector<std::filesystem::path> SetFileNames(const std::filesystem::path& dicFile,
                                                       Direction direction) {
    std::vector<std::filesystem::path> names{dicFile};
    for (int part = 1; part <= AlphabetSize(direction); ++part) {
        names.push_back(PartFileName(dicFile, part));
    }
    names.push_back(TableFileName(dicFile));
    names.push_back(GlobalTableFileName(dicFile));
    if (direction == Direction::Japanese) {
        names.push_back(WrittenFormFileName(dicFile));
    }
    return names;
}

// Every file of the set with its name, so that two sets compare as wholes.
inline std::string SetBytes(const std::filesystem::path& dicFile, Direction direction) {
    std::string bytes;
    for (const std::filesystem::path& name : SetFileNames(dicFile, direction)) {
        bytes += name.filename().string() + ":" + ReadBytes(name) + "\n";
    }
    return bytes;
}

// The names of the other files of the set's directory, each after a blank,
// sorted; the set's lock file, which stays for good, is none of them.
inline std::string OtherFiles(const std::filesystem::path& dir,
                              const std::filesystem::path& dicFile, Direction direction) {
    const std::vector<std::filesystem::path> set = SetFileNames(dicFile, direction);
    std::vector<std::string> others;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (std::find(set.begin(), set.end(), entry.path()) == set.end() &&
            entry.path() != SetLockFileName(dicFile)) {
            others.push_back(entry.path().filename().string());
        }
    }
    std::sort(others.begin(), others.end());
    std::string text;
    for (const std::string& name : others) {
        text += " " + name;
    }
    return text;
}

}  // namespace tovix::test
