// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The written-form file of a Japanese-English dictionary file set (".KJI",
// DicFileSet.h), through which a search text that holds a kanji (漢字, 走る,
// お茶) finds the entry whose written form, inside the brackets of its
// headword line, begins with it.
//
// One line per entry whose written form holds a kanji, CP932: the written
// form, TAB, the reading, TAB, the number of the part file that holds the
// entry (decimal); the lines sorted by the dictionary collation, so by
// written form first. Every build of a set writes it and entry editing keeps
// it right; a set built before it existed has none and is searched by
// reading alone.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "components/LightStrings.h"
#include "dict/FileStamp.h"

namespace tovix {

// The reading and the written form of a Japanese-English headword line
// ("かんじ [漢字]"): the text before its "[" without trailing blanks, and the
// text after it up to the "]" (to the end of the line when there is none).
struct HeadwordForms {
    std::string_view reading;
    std::string_view written;
};

// The forms of a headword line that has a written form holding a kanji and a
// reading; nothing for any other line.
std::optional<HeadwordForms> KanjiHeadwordForms(std::string_view headword);

// The file's line for an entry of part `part`.
std::string WrittenFormLine(const HeadwordForms& forms, int part);
// The same, appended to `out`.
void AppendWrittenFormLine(const HeadwordForms& forms, int part, std::string& out);

// True when the headword line is the entry of these forms: the reading, any
// blanks, then the written form in brackets.
bool IsHeadwordOf(std::string_view line, const HeadwordForms& forms);

struct WrittenFormEntry {
    HeadwordForms forms;
    int part = 0;
};

// Thrown when a written-form file has a line that is not written form, TAB,
// reading, TAB and a part number of 1 .. 45.
class WrittenFormsDamaged : public std::runtime_error {
  public:
    WrittenFormsDamaged() : std::runtime_error("damaged written-form file") {}
};

// A written-form file read whole.
class WrittenFormIndex {
  public:
    // Throws IoError when the file cannot be read, WrittenFormsDamaged when a
    // line is damaged.
    static WrittenFormIndex LoadFromFile(const std::filesystem::path& path);

    int Count() const { return static_cast<int>(entries_.size()); }
    const WrittenFormEntry& Entry(int index) const { return entries_[static_cast<size_t>(index)]; }

    // The first entry, in the file's order, whose written form begins with
    // `text`, hiragana and katakana counting as one; nothing when none does.
    // Only the entries from the first to the last whose written form begins
    // with the text's first two characters (its first, for a text of one)
    // are compared; in a sorted file they stand together.
    std::optional<WrittenFormEntry> Find(std::string_view text) const;
    // Every entry, in the file's order, whose written form begins with
    // `text` as Find compares them; at most `max`.
    std::vector<WrittenFormEntry> FindAll(std::string_view text, size_t max) const;
    // Up to `max` entries whose whole written form is `text` (katakana as
    // hiragana). Cheaper than FindAll for a whole word: an entry of another
    // length is passed over by its size.
    std::vector<WrittenFormEntry> FindEqual(std::string_view text, size_t max) const;

  private:
    WrittenFormIndex() = default;

    // The first and the last entry (inclusive) whose written form begins with
    // the characters of `key` (katakana as hiragana): the written forms' first
    // character, and their first two.
    // The entries compared for `text`: those of the window of its first two
    // characters (its first, for a text of one); none for an empty text.
    std::span<const WrittenFormEntry> WindowOf(std::string_view text) const;

    struct Window {
        std::uint64_t key = 0;
        std::uint32_t first = 0;
        std::uint32_t last = 0;
    };
    // Runs of entries of one key as the file gives them, then merged into one
    // window per key, sorted by key.
    void AddToWindows(size_t index, std::array<size_t, 2>& current);
    void MergeWindows();

    TLightStrings lines_;
    std::vector<WrittenFormEntry> entries_;
    std::vector<Window> windows_;
};

// The written-form file of the open set as the search needs it: read at the
// first search for a text that holds a kanji, then kept until another
// dictionary is opened (a new WrittenFormFile then) or the file is replaced,
// by an edit of this copy or another, or by a remake.
class WrittenFormFile {
  public:
    // The index, read from `file` when not read yet or replaced since;
    // nothing when the file is missing, cannot be read or is damaged.
    WrittenFormIndex* Get(const std::filesystem::path& file);

    // True the first time it is asked after Get found no usable file: the
    // search tells the user once per dictionary that a remake adds it.
    bool TellMissing();

  private:
    enum class Status { NotRead, Read, Missing };

    Status status_ = Status::NotRead;
    FileStamp stamp_;
    std::optional<WrittenFormIndex> index_;
    bool told_ = false;
};

}  // namespace tovix
