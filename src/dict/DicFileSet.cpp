// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/DicFileSet.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "dict/DictMessages.h"
#include "dict/KeyAlphabet.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "platform/PosixIo.h"
#include "platform/ProgramDir.h"
#include "platform/ReplaceJournal.h"
#include "platform/StagedFile.h"

namespace tovix {
namespace {

std::filesystem::path WithExtension(const std::filesystem::path& dicFile, const char* extension) {
    std::filesystem::path name = dicFile;
    name.replace_extension(extension);
    return name;
}

}  // namespace

std::filesystem::path PartFileName(const std::filesystem::path& dicFile, int part) {
    if (part < 1 || part > 999) {
        throw std::out_of_range("part number " + std::to_string(part) + " has no part file");
    }
    char extension[8];
    std::snprintf(extension, sizeof extension, ".%03d", part);
    return WithExtension(dicFile, extension);
}

std::filesystem::path TableFileName(const std::filesystem::path& dicFile) {
    return WithExtension(dicFile, ".DAT");
}

std::filesystem::path GlobalTableFileName(const std::filesystem::path& dicFile) {
    return WithExtension(dicFile, ".TBL");
}

std::filesystem::path WrittenFormFileName(const std::filesystem::path& dicFile) {
    return WithExtension(dicFile, ".KJI");
}

std::optional<Direction> SetDirection(const std::filesystem::path& dicFile) {
    std::string table;
    try {
        table = ReadWholeFile(TableFileName(dicFile));
    } catch (const IoError&) {
        return std::nullopt;
    }
    const std::string_view first = std::string_view(table).substr(0, table.find_first_of("\r\n"));
    for (const Direction direction : {Direction::English, Direction::Japanese}) {
        if (first == std::string(BlockMarkerKey(direction)) + "=0") {
            return direction;
        }
    }
    return std::nullopt;
}

std::vector<std::filesystem::path> SetFiles(const std::filesystem::path& dicFile) {
    std::vector<std::filesystem::path> files{dicFile, TableFileName(dicFile),
                                             GlobalTableFileName(dicFile),
                                             WrittenFormFileName(dicFile)};
    for (int part = 1; part <= AlphabetSize(Direction::Japanese); ++part) {
        files.push_back(PartFileName(dicFile, part));
    }
    return files;
}

bool CompletePendingSet(const std::filesystem::path& dicFile,
                        const std::filesystem::path& workDir) {
    const std::filesystem::path journal = JournalFileName(dicFile);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(journal, error))) {
        return false;
    }
    std::vector<std::filesystem::path> replaceable;
    for (const std::filesystem::path& name : {dicFile, RealFileName(dicFile)}) {
        for (const std::filesystem::path& file : SetFiles(name)) {
            replaceable.push_back(file);
            replaceable.push_back(ReplacedFile(file));
        }
    }
    const std::filesystem::path logDir = workDir.empty() ? ProgramDir() : workDir;
    for (const std::string_view log : kEditLogNames) {
        replaceable.push_back(logDir / log);
    }
    return CompleteReplacement(journal, replaceable);
}

std::string PendingSetMessage(const std::filesystem::path& dicFile, int error,
                              const std::filesystem::path& failedFile) {
    return error == EBADMSG ? FileMessage(failedFile.string(), dict_text::kSetJournalRefused)
                            : FileMessage(dicFile.string(), dict_text::kSetReplacementUnfinished);
}

void CompletePendingSetAndTidy(const std::filesystem::path& dicFile,
                               const std::filesystem::path& workDir,
                               std::filesystem::file_time_type since) {
    CompletePendingSet(dicFile, workDir);
    std::vector<std::filesystem::path> files = SetFiles(dicFile);
    files.push_back(JournalFileName(dicFile));
    RemoveStaleStagedFiles(files, since);
}

std::filesystem::path SetLockFileName(const std::filesystem::path& dicFile) {
    const std::filesystem::path real = RealFileName(dicFile);
    return real.parent_path() / ("." + real.filename().string() + ".tovix-lock");
}

}  // namespace tovix
