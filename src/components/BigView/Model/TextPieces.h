// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the text view measures and draws a line: piece by piece. The pieces are
// the runs between tabs, a run longer than kPieceBytes cut into pieces of at
// most that many bytes between two characters; a tab moves to the next tab
// stop. A walk over the pieces stops at a pixel limit, so a line of many
// megabytes costs what is visible of it.
//
// For a text longer than kShapedBytes the walk remembers where its pieces
// begin (byte offset and x), so that the next walk over the same text, or a
// prefix of it, starts at the remembered piece nearest to where it is needed
// instead of at the first byte. Texts are known by where their bytes lie:
// Forget must be called whenever the texts measured may have changed.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace tovix {

class TTextPieces {
  public:
    static constexpr size_t kPieceBytes = 2048;
    // Pieces that begin this far into their text may be measured by adding
    // up the widths of their characters instead of shaping them (see Width).
    static constexpr size_t kShapedBytes = 64 * 1024;
    static constexpr size_t kRememberedTexts = 16;

    // The width of a piece that begins `offset` bytes into its text.
    using Width = std::function<int(std::string_view piece, size_t offset)>;
    // Called with each piece walked and the x where it begins.
    using Visit = std::function<void(std::string_view piece, int x)>;

    // Without `remember` nothing is remembered.
    explicit TTextPieces(bool remember = true) : remember_(remember) {}

    // Walks the pieces of `text` from x = 0, tabs every `tabDistance` pixels
    // (a tab takes no room when it is 0), while the x where a piece begins is
    // at most `limit`; returns the x after the last piece walked. Pieces that
    // end before `visibleFrom` need not be walked; the others are visited.
    int Walk(std::string_view text, int tabDistance, int visibleFrom, int limit, const Width& width,
             const Visit& visit = nullptr) const;

    void Forget() { texts_.clear(); }

  private:
    struct Start {
        size_t offset;
        int x;
    };
    struct Remembered {
        const char* data;
        int tabDistance;
        std::vector<Start> starts;  // by offset, each where a piece begins
    };

    Remembered* Find(std::string_view text, int tabDistance) const;
    static Start Resume(const std::vector<Start>& starts, size_t size, int visibleFrom, int limit);

    bool remember_;
    mutable std::vector<Remembered> texts_;
    mutable size_t nextSlot_ = 0;
};

// The bytes of the first piece of `text` (which starts on a character): up to
// its first tab, at most kPieceBytes and whole characters only; 0 when the
// text begins with a tab.
size_t FirstPieceBytes(std::string_view text);

}  // namespace tovix
