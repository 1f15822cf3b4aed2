// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The looked-up words: the words a user settled on (copied, zoomed, found,
// confirmed with Enter, or left in the search field with a match), oldest
// first, each with its direction, at most a set number of them; a cursor for
// going back and forward through the words of one direction.
//
// The words are kept in a small file of their own beside the settings file,
// CP932 text with CR LF: a first line "TovixHistory 1", then one word a line,
// "E" or "J", a TAB, the word. The file is replaced as a whole (staged,
// flushed, renamed). A file that breaks this form in any way is damaged and
// read as no history; it is never half used.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dict/Direction.h"

namespace tovix {

struct HistoryWord {
    Direction direction = Direction::English;
    std::string text;  // CP932, one line, at most kHistoryWordMax bytes

    bool operator==(const HistoryWord&) const = default;
};

// Longer search texts are no words worth keeping (the field holds 255 bytes).
inline constexpr std::size_t kHistoryWordMax = 255;

class WordHistory {
  public:
    explicit WordHistory(std::size_t limit = 100) : limit_(limit) {}

    const std::vector<HistoryWord>& Words() const { return words_; }
    std::size_t Limit() const { return limit_; }
    // Drops the oldest words beyond `limit`; 0 keeps none.
    void SetLimit(std::size_t limit);
    // Replaces the words (as read from the file), cut to the limit.
    void Assign(std::vector<HistoryWord> words);
    void Clear();

    // Adds `word` as the newest; an equal word already kept moves there
    // instead. Empty, multi-line or over-long texts are not kept. The cursor
    // goes back to after the newest word. True when the words changed.
    bool Add(const HistoryWord& word);

    // The word of `direction` before (Back) or after (Forward) the cursor,
    // passing over one equal to `shown` (the text the field shows now);
    // nothing at either end. The cursor moves to it.
    std::optional<std::string> Back(Direction direction, const std::string& shown);
    std::optional<std::string> Forward(Direction direction, const std::string& shown);

  private:
    void CutToLimit();

    std::vector<HistoryWord> words_;
    std::size_t limit_;
    // Index of the word last gone to; words_.size() when none.
    std::size_t cursor_ = 0;
};

// The history file beside the settings file.
std::filesystem::path WordHistoryPath();

// The file's text of `words`.
std::string WordHistoryText(const std::vector<HistoryWord>& words);

// The words of a history file's text; nothing when the text is damaged.
std::optional<std::vector<HistoryWord>> ParseWordHistory(std::string_view text);

enum class HistoryRead { Read, Missing, Damaged };

// Reads `path` into `words`: Missing (words empty) when there is no file,
// Damaged (words empty) when it cannot be read or is damaged.
HistoryRead ReadWordHistory(const std::filesystem::path& path, std::vector<HistoryWord>& words);

// Replaces `path` by the words. Throws IoError.
void WriteWordHistory(const std::filesystem::path& path, const std::vector<HistoryWord>& words);

}  // namespace tovix
