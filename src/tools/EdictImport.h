// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Import of the EDICT Japanese-English dictionary (EUC-JP, or UTF-8 as EDICT
// files converted by users are; one entry a line:
// "KANJI [KANA] /gloss/gloss/.../" or "KANA /gloss/.../") into [EXM] text in
// CP932 with CR LF line ends, for either direction:
//
// - J-E: one line per entry, headword "reading[written form]" with the reading
//   in hiragana (ー, ヴ, ヵ and ヶ stay, CP932 has no hiragana for the last
//   three), translation "(P) " for a common word, then the senses separated
//   by " / ", each led by its parts of speech as a Japanese dictionary prints
//   them ("《五段・自》") when they differ from the sense before, its glosses
//   joined with ","; usage, field and sense-number tags are dropped. The
//   zoom window's rule for 《 puts each sense on a line of its own.
// - E-J: one entry per English gloss, headword the gloss without its "(...)"
//   groups and, in verb senses, without a leading "to "; translation the
//   Japanese words of every EDICT entry with that gloss, joined with ",",
//   common words first: the written form, the reading in parentheses when it
//   differs, "(P)" for a common word: "林檎(りんご)(P)".
//
// EDICT2 lines list several written forms and readings, "寿司;鮨;鮓 [すし;スシ]",
// each with optional tags "(P)" and a reading with the written forms it
// belongs to, "[あ(阿);お]": in J-E every pair of reading and written form is a
// headword of its own, so that each form is found; E-J names the first. The
// trailing entry number "/EntL1234X/" is no gloss.
//
// A headword or entry with a character that CP932 lacks is left out, counted
// and listed with its line number; a line that is not an entry at all is
// counted.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "dict/Direction.h"
#include "tools/TextEncoding.h"
#include "tools/ToolJob.h"

namespace tovix {

// A word left out because CP932 cannot hold it.
struct EdictSkip {
    std::size_t line = 0;  // 1-based line of the EDICT file
    std::string word;      // UTF-8; empty when the line could not be read at all
};

struct EdictImportCounts {
    std::size_t written = 0;       // [EXM] lines written
    std::size_t skipped = 0;       // entries or headwords with text that CP932 cannot hold
    std::size_t malformed = 0;     // lines that are no entry (or have no gloss)
    std::vector<EdictSkip> skips;  // every one counted in `skipped`
};

// Converts the EDICT file `edict` into the [EXM] file `exm`; Auto reads a
// file that looks like UTF-8 as UTF-8 and any other as EUC-JP. Throws IoError
// when a file cannot be read or written.
EdictImportCounts ConvertEdict(const std::filesystem::path& edict, const std::filesystem::path& exm,
                               Direction direction, TextEncoding encoding = TextEncoding::Auto);

// The import as a tool step: Source is the EDICT file, Dest the [EXM] file
// (written through the job's staging), read in the job's input encoding. Shows the progress text
// "辞書変換中"; a failure is reported like any step's and sets Failed.
void EdictToExm(ToolJob& job, Direction direction, EdictImportCounts& counts);

}  // namespace tovix
