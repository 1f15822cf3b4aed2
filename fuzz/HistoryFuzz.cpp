// SPDX-License-Identifier: GPL-3.0-or-later
// The history file reader and the word history. The input is the history
// file. Promises checked: a file read as a history is written back byte for
// byte as it was; the history made of it never holds a word twice nor more
// than its limit, and going back and forward only ever yields kept words of
// the direction asked for.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "app/WordHistory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::vector<HistoryWord>> words = ParseWordHistory(text);
    if (!words) {
        return 0;
    }
    Check(WordHistoryText(*words) == text, "a history file is written back as it was read");

    WordHistory history(1 + size % 7);
    for (const HistoryWord& word : *words) {
        history.Add(word);
    }
    const std::vector<HistoryWord>& kept = history.Words();
    Check(kept.size() <= history.Limit(), "the history keeps at most its limit");
    for (size_t n = 0; n < kept.size(); ++n) {
        Check(std::count(kept.begin(), kept.end(), kept[n]) == 1, "each word is kept once");
    }
    for (const Direction direction : {Direction::English, Direction::Japanese}) {
        std::string shown;
        for (int step = 0; step < 20; ++step) {
            const auto word =
                step % 3 == 2 ? history.Forward(direction, shown) : history.Back(direction, shown);
            if (!word) {
                continue;
            }
            Check(std::find(kept.begin(), kept.end(), HistoryWord{direction, *word}) != kept.end(),
                  "back and forward yield kept words of their direction");
            shown = *word;
        }
    }
    return 0;
}
