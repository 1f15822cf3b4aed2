// SPDX-License-Identifier: GPL-3.0-or-later
// Walking a line piece by piece, on a width of 10 pixels a byte that counts
// the bytes it measures.

#include "components/BigView/Model/TextPieces.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "platform/Cp932.h"

namespace tovix {
namespace {

struct CountingWidth {
    size_t bytes = 0;
    TTextPieces::Width Width() {
        return [this](std::string_view piece, size_t) {
            bytes += piece.size();
            return static_cast<int>(10 * piece.size());
        };
    }
};

TEST(TextPiecesTest, PiecesEndAtTabsAndNeverSplitACharacter) {
    const std::string kanji = Utf8ToCp932("漢");
    const size_t n = TTextPieces::kPieceBytes;
    struct Case {
        std::string text;
        size_t bytes;
    };
    const Case cases[] = {
        {"ab\tcd", 2},
        {"\tab", 0},
        {std::string(3 * n, 'a'), n},
        {std::string(n - 1, 'a') + kanji + "b", n + 1},  // the kanji stays whole
        {std::string(n - 1, 'a') + "\t" + kanji, n - 1},
        {"a\x81", 2},  // a lead byte at the end is one character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirstPieceBytes(c.text), c.bytes) << c.text.size();
    }
}

// Guards a long line shown sideways: every paint measured it from its first
// byte. A walk that starts at a remembered piece must give what a walk from
// the first byte gives.
TEST(TextPiecesTest, RememberedPiecesGiveTheSameWidthsAndPieces) {
    std::string text;
    std::mt19937 random(3);
    while (text.size() < 40 * TTextPieces::kShapedBytes / 10) {
        text += std::string(random() % 3000, 'a') + Utf8ToCp932("漢字") + "\t";
    }
    CountingWidth plainWidth;
    CountingWidth rememberedWidth;
    const TTextPieces plain(false);
    const TTextPieces remembered;
    const int full = plain.Walk(text, 80, INT_MAX, INT_MAX, plainWidth.Width());
    EXPECT_EQ(remembered.Walk(text, 80, INT_MAX, INT_MAX, rememberedWidth.Width()), full);
    for (int round = 0; round < 60; ++round) {
        const size_t size = random() % text.size();
        const std::string_view prefix = std::string_view(text).substr(0, size);
        const int limit = static_cast<int>(random() % static_cast<unsigned>(full));
        EXPECT_EQ(remembered.Walk(prefix, 80, INT_MAX, limit, rememberedWidth.Width()),
                  plain.Walk(prefix, 80, INT_MAX, limit, plainWidth.Width()))
            << size << " " << limit;

        const int from = static_cast<int>(random() % static_cast<unsigned>(full));
        std::vector<std::pair<size_t, int>> expected;
        std::vector<std::pair<size_t, int>> visited;
        const auto into = [&](std::vector<std::pair<size_t, int>>& pieces) {
            return [&](std::string_view piece, int x) {
                pieces.push_back({static_cast<size_t>(piece.data() - text.data()), x});
            };
        };
        plain.Walk(text, 80, from, from + 800, plainWidth.Width(), into(expected));
        const size_t before = rememberedWidth.bytes;
        remembered.Walk(text, 80, from, from + 800, rememberedWidth.Width(), into(visited));
        EXPECT_EQ(visited, expected) << from;
        // Once the line is known, a page costs a few pieces, wherever it is.
        EXPECT_LE(rememberedWidth.bytes - before, 4 * TTextPieces::kPieceBytes) << from;
    }
}

}  // namespace
}  // namespace tovix
