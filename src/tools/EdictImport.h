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
// An entry with a character that CP932 lacks is left out as a whole and
// counted; so is a line that is not an entry at all.

#include <cstddef>
#include <filesystem>

#include "dict/Direction.h"
#include "tools/TextEncoding.h"
#include "tools/ToolJob.h"

namespace tovix {

struct EdictImportCounts {
    std::size_t written = 0;    // [EXM] lines written
    std::size_t skipped = 0;    // entries with text that CP932 cannot hold
    std::size_t malformed = 0;  // lines that are no entry (or have no gloss)
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
