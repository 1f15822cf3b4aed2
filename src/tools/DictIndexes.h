// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The indexes of dictd and StarDict dictionaries, read into the entries of
// the data file (DictData.h) and the words that lead to each.
//
// dictd: "NAME.index", one line per word: the word, TAB, the entry's offset
// and size in dictd's base64 digits (A-Z a-z 0-9 + /, most significant
// first); words with the same offset and size share one entry.
//
// StarDict: "NAME.ifo" (a first line "StarDict's dict ifo file", then
// key=value lines) describes "NAME.idx" (or "NAME.idx.gz", the same
// compressed with gzip, read first where it is there): per entry the word, a
// NUL byte, the offset (4 bytes, or 8 with idxoffsetbits=64) and the size (4
// bytes), both big-endian; "NAME.syn" adds synonyms: a word, NUL and the
// 4-byte number of the .idx entry it leads to.
//
// A file that breaks its format (a line or record cut short, a number that
// is no number, counts or sizes the .ifo states wrongly, a synonym of an
// entry that does not exist) throws DictFormatError naming it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tovix {

struct IndexedEntry {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::vector<std::string> words;  // UTF-8, as in the index, in its order
};

// The entries, ordered by offset so that the data file is read forward.
std::vector<IndexedEntry> ReadDictdIndex(const std::filesystem::path& index);

struct StarDictInfo {
    std::string bookname;
    std::uint64_t wordcount = 0;
    std::uint64_t synwordcount = 0;
    std::uint64_t idxfilesize = 0;
    bool offsets64 = false;        // idxoffsetbits=64
    std::string sametypesequence;  // empty: every field carries its type
};

StarDictInfo ReadStarDictInfo(const std::filesystem::path& ifo);
std::vector<IndexedEntry> ReadStarDictIndex(const std::filesystem::path& ifo,
                                            const StarDictInfo& info);

// The data file beside an index ("NAME.dict.dz", else "NAME.dict"); throws
// DictFormatError when there is neither.
std::filesystem::path DataFileOf(const std::filesystem::path& index);

// The file named as `index` with its last extension replaced by `extension`.
std::filesystem::path Beside(const std::filesystem::path& index, const char* extension);

}  // namespace tovix
