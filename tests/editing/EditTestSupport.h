// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the entry editing tests share: a dictionary file set built by the
// tools from [EXM] lines in a directory of the test's own (on /dev/shm where
// there is one, so that the many flushes cost nothing), the program
// directory of its work files and logs, the edit run with a recorder, and
// the bytes of every file an edit may change.

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "components/LightStrings.h"
#include "dict/DicFileSet.h"
#include "editing/EntryEdit.h"
#include "platform/Cp932.h"
#include "support/BuildDictionary.h"
#include "support/RecordingReporter.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tovix::test {

inline std::filesystem::path FastTempBase() {
    return std::filesystem::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0
               ? std::filesystem::path("/dev/shm")
               : std::filesystem::temp_directory_path();
}

class EditSet {
  public:
    // The set "T.DIC" built from `entries` ([EXM] lines in UTF-8).
    EditSet(Direction direction, const std::vector<std::string>& entries)
        : direction_(direction), dic_(BuildDictionary(dir_, direction, entries, "T.DIC")) {
        std::filesystem::create_directories(program_);
    }

    Direction direction() const { return direction_; }
    const std::filesystem::path& dic() const { return dic_; }
    const std::filesystem::path& program() const { return program_; }
    std::filesystem::path Part(int part) const { return PartFileName(dic_, part); }

    // The fields of an entry from UTF-8 texts.
    static EntryFields Fields(const std::string& headword, const std::string& written,
                              const std::string& translation) {
        return {Utf8ToCp932(headword), Utf8ToCp932(written), Utf8ToCp932(translation)};
    }

    // The entry shown at `topLine` of `part`, read from the part file.
    ViewedEntry Viewed(int part, int topLine) const {
        TLightStrings lines;
        lines.LoadFromFile(Part(part));
        ViewedEntry viewed{part, topLine, "", std::nullopt};
        if (topLine < lines.Count()) {
            viewed.headLine = lines.Get(topLine);
        }
        if (topLine + 1 < lines.Count()) {
            viewed.translationLine = lines.Get(topLine + 1);
        }
        return viewed;
    }

    EditOutcome Run(EditCommand command, const EntryFields& fields, const ViewedEntry& viewed = {},
                    EditLockMode mode = EditLockMode::Wait) {
        return RunEntryEdit({command, direction_, dic_, fields, viewed}, reporter, mode, program_);
    }

    // Every file of the set, the edit logs and the hidden files left in the
    // two directories (staged files, a journal).
    std::string State() const {
        std::string state = SetBytes(dic_, direction_);
        for (const char* log : {"TOVIXADE.TXT", "TOVIXADJ.TXT", "TOVIXCGE.TXT", "TOVIXCGJ.TXT",
                                "TOVIXDLE.TXT", "TOVIXDLJ.TXT"}) {
            if (std::filesystem::exists(program_ / log)) {
                state += std::string(log) + ":" + ReadBytes(program_ / log) + "\n";
            }
        }
        return state + "left:" + Leftovers(dic_.parent_path()) + Leftovers(program_);
    }

    RecordingReporter reporter;

  private:
    // Staged files and journals: hidden names with ".tovix-" but no lock.
    static std::string Leftovers(const std::filesystem::path& dir) {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".") && name.find(".tovix-") != std::string::npos &&
                !name.ends_with(".tovix-lock")) {
                names += " " + name;
            }
        }
        return names;
    }

    TempDir dir_{FastTempBase()};
    Direction direction_;
    std::filesystem::path dic_;
    std::filesystem::path program_ = dir_ / "program";
};

// The part file, table file and written-form file (empty for English-Japanese)
// of a set built from `entries`: what an edit must leave, since it puts an
// entry where a rebuild would.
struct Rebuilt {
    Rebuilt(Direction direction, const std::vector<std::string>& entries, int part) {
        const TempDir dir(FastTempBase());
        const std::filesystem::path dic = BuildDictionary(dir, direction, entries, "T.DIC");
        partBytes = ReadBytes(PartFileName(dic, part));
        tableBytes = ReadBytes(TableFileName(dic));
        writtenFormBytes = ReadBytes(WrittenFormFileName(dic));
    }
    std::string partBytes;
    std::string tableBytes;
    std::string writtenFormBytes;
};

}  // namespace tovix::test
