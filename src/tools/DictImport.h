// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Import of dictd and StarDict dictionaries into [EXM] text (CP932, CR LF),
// for either direction.
//
// Each entry's text becomes one translation line: its lines joined by
// blanks. dictd texts begin with the headword again; that repetition goes
// (for --jpn the whole first line, which lists the forms and their
// pronunciations). StarDict fields of the text types are kept: "m" as it
// is, "t" (phonetic) only where all of it has a CP932 form, "g", "h" and "x"
// with their tags removed, entities decoded and line breaks made blanks;
// fields of other types are left out and counted.
//
// - E-J: one [EXM] line per word of the index.
// - J-E: the words that lead to one entry are its reading (hiragana) and its
//   written forms (everything else, katakana too); each pair is written as
//   "reading[written]", an entry of hiragana words alone as "word[word]", a
//   katakana word without a hiragana one as its hiragana "[katakana]" (the
//   EDICT import's convention). An entry without a kana word gets no line.
//
// Characters of a translation without a CP932 form become "?" (as a UTF-8
// text file is read); an entry whose headword would lose a character is left
// out, never filed under another headword. Both are counted with their first
// examples. dictd's own "00database..." entries are counted apart.

#include <filesystem>
#include <string>
#include <vector>

#include "dict/Direction.h"
#include "platform/Reporter.h"
#include "tools/ToolJob.h"

namespace tovix {

struct DictImportCounts {
    static constexpr std::size_t kExamples = 3;
    unsigned long long written = 0;             // [EXM] lines
    unsigned long long infoEntries = 0;         // dictd's 00database... words
    unsigned long long skipped = 0;             // entries or words left out
    unsigned long long replaced = 0;            // characters made "?"
    unsigned long long fieldsSkipped = 0;       // StarDict fields of other types
    std::vector<std::string> skippedExamples;   // UTF-8: "word (reason)"
    std::vector<std::string> replacedExamples;  // UTF-8: "word: character"
};

enum class DictFormat { Dictd, StarDict };

// Converts the dictionary whose index is `index` (".index" or ".ifo") into
// the [EXM] file `exm`. Throws DictFormatError or IoError.
DictImportCounts ImportDictionary(DictFormat format, const std::filesystem::path& index,
                                  const std::filesystem::path& exm, Direction direction,
                                  Reporter* reporter = nullptr);

// The format an input file names by its extension (".index", ".ifo"), if
// it is one of these.
bool IsDictionaryIndex(const std::filesystem::path& file, DictFormat& format);

// The import as a tool step: Source is the index, Dest the [EXM] file
// (written through the job's staging). Progress "辞書取込中"; a fault of the
// files is reported naming the file, like any step's failure.
void DictToExm(ToolJob& job, DictFormat format, Direction direction, DictImportCounts& counts);

// The notice after an import that left something out or replaced
// characters; empty when it did neither.
std::string ImportNotice(const DictImportCounts& counts);

}  // namespace tovix
