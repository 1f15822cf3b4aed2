// SPDX-License-Identifier: GPL-3.0-or-later
// The view-line model, caret motion and pointer mapping, on a fixed-width
// measure of 10 pixels a byte (a tab reaching the next 80 pixels) that counts
// the bytes it measures.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "components/BigView/Model/ByteClass.h"
#include "components/BigView/Model/CaretMotion.h"
#include "components/BigView/Model/ViewLines.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

using Recs = std::vector<TViewLineRec>;

class FixedMeasure : public TWrapMeasure {
  public:
    explicit FixedMeasure(int clientWidth) : clientWidth_(clientWidth) {}
    int ClientWidth() const override { return clientWidth_; }
    int CharWidth() const override { return 10; }
    int WidthUpTo(std::string_view text, int limit) const override {
        int x = 0;
        for (char c : text) {
            if (x > limit) {
                break;
            }
            ++measuredBytes;
            x = c == '\t' ? (x / 80 + 1) * 80 : x + 10;
        }
        return x;
    }

    mutable size_t measuredBytes = 0;

  private:
    int clientWidth_;
};

TViewLineRec R(int line, size_t start, size_t len, int part, bool end) {
    return {TextLineIndex(line), ByteColumn(start), len, part, end};
}
TViewPos V(size_t column, int line) {
    return {ByteColumn(column), ViewLineIndex(line)};
}
TTextPos T(size_t column, int line) {
    return {ByteColumn(column), TextLineIndex(line)};
}

struct Model {
    explicit Model(const std::vector<std::string>& text, int wrapByte, bool wordWrap = true,
                   int clientWidth = 1000)
        : measure(clientWidth), lines_(store, measure) {
        store.Assign(text);
        lines_.SetWordWrap(wordWrap);
        lines_.SetWrapByte(wrapByte);
        lines_.Rewrap(TextLineIndex(0));
    }
    Recs Records() const {
        Recs recs;
        for (int v = 0; v < lines_.Count(); ++v) {
            recs.push_back(lines_.At(ViewLineIndex(v)));
        }
        return recs;
    }

    TBvStrings store;
    FixedMeasure measure;
    TViewLines lines_;
};

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

TEST(ViewLinesTest, WrapSplitsLinesWithoutSplittingCharacters) {
    struct Case {
        const char* name;
        std::vector<std::string> text;
        int wrapByte;
        bool wordWrap;
        int clientWidth;
        Recs expected;
    };
    const std::string a130(130, 'a');
    const Case cases[] = {
        {"130 bytes by 60",
         {a130},
         60,
         true,
         1000,
         {R(0, 1, 60, 0, false), R(0, 61, 60, 1, false), R(0, 121, 10, 2, true)}},
        {"kanji whose lead byte is byte 60",
         {std::string(59, 'a') + S("漢字b")},
         60,
         true,
         1000,
         {R(0, 1, 59, 0, false), R(0, 60, 5, 1, true)}},
        {"one byte per line over kanji",
         {S("漢字")},
         1,
         true,
         1000,
         {R(0, 1, 2, 0, false), R(0, 3, 2, 1, true)}},
        {"empty lines",
         {"", "abc", ""},
         2,
         true,
         1000,
         {R(0, 0, 0, 0, true), R(1, 1, 2, 0, false), R(1, 3, 1, 1, true), R(2, 0, 0, 0, true)}},
        {"lead byte at the very end",
         {"ab\x82"},
         2,
         true,
         1000,
         {R(0, 1, 2, 0, false), R(0, 3, 1, 1, true)}},
        {"no word wrap ignores WrapByte",
         {a130, ""},
         60,
         false,
         1000,
         {R(0, 1, 130, 0, true), R(1, 0, 0, 0, true)}},
        {"window width: fits", {"abcdefgh"}, 0, true, 100, {R(0, 1, 8, 0, true)}},
        // Guards a fault: WrapByte wider than the window cut each view line
        // at the window's edge; it now wraps at the window's width.
        {"WrapByte wider than the window",
         {std::string(25, 'a')},
         60,
         true,
         105,
         {R(0, 1, 9, 0, false), R(0, 10, 9, 1, false), R(0, 19, 7, 2, true)}},
        // 10 pixels a byte in 105 pixels: the width is measured down from the
        // whole line and stops at 9 bytes (90 pixels, within two cells).
        {"window width: wraps",
         {std::string(25, 'a')},
         0,
         true,
         105,
         {R(0, 1, 9, 0, false), R(0, 10, 9, 1, false), R(0, 19, 7, 2, true)}},
        {"window width: kanji",
         {S("あいうえおかきくけこ")},
         0,
         true,
         105,
         {R(0, 1, 8, 0, false), R(0, 9, 8, 1, false), R(0, 17, 4, 2, true)}},
        // Tabs widen the measured text: 80, 160 and 240 pixels.
        {"window width: tabs",
         {"\t\t\t"},
         0,
         true,
         100,
         {R(0, 1, 2, 0, false), R(0, 3, 1, 1, true)}},
    };
    for (const Case& c : cases) {
        Model m(c.text, c.wrapByte, c.wordWrap, c.clientWidth);
        EXPECT_EQ(m.Records(), c.expected) << c.name;
    }
}

TEST(ViewLinesTest, RewrapFromAChangedLineKeepsEarlierViewLines) {
    Model m({"abcd", "ef", "ghijk"}, 2);
    m.store.Insert(1, "XYZ");
    m.lines_.Rewrap(TextLineIndex(1));
    m.store.Delete(3);
    m.lines_.Rewrap(TextLineIndex(3));
    m.store.Add("");
    m.lines_.Rewrap(TextLineIndex(3));
    EXPECT_EQ(m.Records(), Model({"abcd", "XYZ", "ef", ""}, 2).Records());
    EXPECT_EQ(m.lines_.Count(), 6);
}

TEST(ViewLinesTest, PositionsConvertBetweenTextAndView) {
    // View lines: 0 "ab", 1 "cd", 2 "e" (text line 0), 3 "" (1), 4 "xy" (2).
    Model m({"abcde", "", "xy"}, 2);
    const TViewLines& v = m.lines_;
    EXPECT_EQ(v.Count(), 5);
    const int firstViewLine[] = {0, 3, 4, 5};  // text line 3 (LineCount) gives ViewLineCount
    for (int l = 0; l <= 3; ++l) {
        EXPECT_EQ(v.LineToViewLine(TextLineIndex(l)), ViewLineIndex(firstViewLine[l]));
    }
    EXPECT_EQ(v.ViewLineToLine(ViewLineIndex(-1)), TextLineIndex(-1));
    EXPECT_EQ(v.ViewLineToLine(ViewLineIndex(5)), TextLineIndex(-1));
    EXPECT_EQ(v.ViewLineToLine(ViewLineIndex(2)), TextLineIndex(0));

    struct Case {
        TTextPos text;
        TViewPos view;
    };
    const Case cases[] = {
        {T(1, 0), V(1, 0)}, {T(2, 0), V(2, 0)}, {T(3, 0), V(1, 1)}, {T(4, 0), V(2, 1)},
        {T(5, 0), V(1, 2)}, {T(6, 0), V(2, 2)}, {T(0, 1), V(1, 3)}, {T(2, 2), V(2, 4)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(v.TextToView(c.text), c.view) << c.text.Column << "," << c.text.Line;
        EXPECT_EQ(v.ViewToText(c.view), c.text) << c.view.Column << "," << c.view.Line;
    }
    EXPECT_EQ(v.TextToView(T(1, 3)), V(1, 5));     // beyond the text
    EXPECT_EQ(v.TextToView(T(0, 0)), TViewPos{});  // before the first byte
    EXPECT_EQ(v.ViewToText(V(1, 7)), TTextPos{});
    EXPECT_THROW(v.Text(ViewLineIndex(5)), ListIndexError);
}

// Guards the freeze on a line of many megabytes: wrapping it at the window's
// width measured the whole line, and so did mapping a point on it.
TEST(ViewLinesTest, ALongLineWrapsAtTheWidthMeasuringOnlyWhatShows) {
    const size_t length = 5'000'000;
    Model m({"head", std::string(length, 'a'), "tail"}, 0, true, 105);
    const size_t wrapped = m.measure.measuredBytes;
    EXPECT_LT(wrapped, 3 * TViewLines::kAverageSampleBytes);
    // 9 bytes a view line, as a short line of the same bytes gets.
    const TViewLines& v = m.lines_;
    const int longViewLines = static_cast<int>((length + 8) / 9);
    EXPECT_EQ(v.Count(), 2 + longViewLines);
    EXPECT_EQ(v.At(ViewLineIndex(1)), R(1, 1, 9, 0, false));
    EXPECT_EQ(v.At(ViewLineIndex(longViewLines)),
              R(1, 1 + 9 * size_t(longViewLines - 1), length - 9 * size_t(longViewLines - 1),
                longViewLines - 1, true));
    EXPECT_EQ(v.At(ViewLineIndex(longViewLines + 1)), R(2, 1, 4, 0, true));
    // A place deep in the line and back.
    // Its view line 444,444 starts at byte 3,999,997.
    EXPECT_EQ(v.TextToView(T(4'000'001, 1)), V(5, 1 + 444'444));
    EXPECT_EQ(v.ViewToText(V(5, 1 + 444'444)), T(4'000'001, 1));

    Model flat({std::string(length, 'a')}, 0, false, 1000);
    const PointGeometry geometry{20, 10, 0, 0, (255 + 1) * 10, 60};
    EXPECT_EQ(PointToPosition(flat.lines_, flat.measure, geometry, 95, 5), V(10, 0));
    EXPECT_LT(flat.measure.measuredBytes, 1000u);
}

// Every view line kept as a record, as the view once wrapped: the reference
// for the view lines that are now worked out from a few checkpoints.
Recs CompleteWrapping(const std::vector<std::string>& text, size_t wrapByte) {
    Recs recs;
    for (size_t l = 0; l < text.size(); ++l) {
        const std::string& line = text[l];
        const int index = static_cast<int>(l);
        if (line.empty()) {
            recs.push_back(R(index, 0, 0, 0, true));
            continue;
        }
        int part = 0;
        for (size_t pos = 1; pos <= line.size(); ++part) {
            const size_t remaining = line.size() - pos + 1;
            size_t n = std::min(wrapByte, remaining);
            if (ByteClass(line, ByteColumn(pos + n)) == TrailByte) {
                n = n > 1 ? n - 1 : 2;
            }
            recs.push_back(R(index, pos, std::min(n, remaining), part, false));
            pos += n;
        }
        recs.back().LineEnd = true;
    }
    return recs;
}

// Text place to view place on complete records: the last view line of the
// text line that starts at or before the column, from its first view line.
TViewPos ReferenceTextToView(const Recs& recs, size_t first, TTextPos p) {
    size_t v = first;
    while (v + 1 < recs.size() && recs[v + 1].Line == p.Line && recs[v + 1].Start <= p.Column) {
        ++v;
    }
    if (p.Column.value + 1 <= recs[v].Start.value) {
        return {};
    }
    return V(p.Column.value - recs[v].Start.value + 1, static_cast<int>(v));
}

// Random CP932 text: ASCII, half-width katakana, double-byte characters whose
// trail bytes are often lead-byte codes too (long runs of such codes), now
// and then a lead byte with nothing after it.
std::string RandomCp932(std::mt19937& random, size_t bytes) {
    const char singles[] = {'a', ' ', '\t', '\xb1', '\xdf'};
    const char leads[] = {'\x81', '\x88', '\x9f', '\xe0', '\xfc'};
    const char trails[] = {'\x40', '\x7e', '\x81', '\x9f', '\xa0', '\xe0', '\xfc'};
    std::string text;
    while (text.size() < bytes) {
        switch (random() % 4) {
            case 0:
                text += singles[random() % sizeof singles];
                break;
            default:
                text += leads[random() % sizeof leads];
                text += trails[random() % sizeof trails];
        }
    }
    if (!text.empty() && random() % 4 == 0) {
        text.back() = leads[random() % sizeof leads];
    }
    return text;
}

// Guards the view lines worked out from checkpoints: at every wrap length,
// on random text with lines of thousands of view lines, they show the same
// bytes at the same view lines as the complete wrapping, and places convert
// alike.
TEST(ViewLinesTest, ViewLinesFromCheckpointsMatchTheCompleteWrapping) {
    std::mt19937 random(23);
    std::vector<size_t> wrapBytes;
    for (size_t w = 1; w <= 24; ++w) {
        wrapBytes.push_back(w);
    }
    for (size_t w : {59, 60, 61, 97, 512}) {
        wrapBytes.push_back(w);
    }
    for (size_t w : wrapBytes) {
        std::vector<std::string> text;
        for (int l = 0; l < 5; ++l) {
            const size_t bytes = random() % 3 == 0 ? random() % 20 : random() % (1200 * w);
            text.push_back(RandomCp932(random, bytes));
        }
        // A window wide enough for every line: WrapByte alone wraps.
        const Model m(text, static_cast<int>(w), true, 100'000'000);
        const Recs expected = CompleteWrapping(text, w);
        ASSERT_EQ(m.Records(), expected) << "wrap " << w;
        const TViewLines& v = m.lines_;
        std::vector<size_t> firsts;
        for (size_t at = 0; at < expected.size(); ++at) {
            if (expected[at].Part == 0) {
                firsts.push_back(at);
            }
        }
        firsts.push_back(expected.size());
        for (int l = 0; l <= 5; ++l) {
            EXPECT_EQ(v.LineToViewLine(TextLineIndex(l)).value, static_cast<int>(firsts[l]));
        }
        for (size_t at = 0; at < expected.size(); ++at) {
            const TViewLineRec& rec = expected[at];
            EXPECT_EQ(v.ViewLineToLine(ViewLineIndex(static_cast<int>(at))), rec.Line);
            // Places before the view line's first byte, on it, and at its end.
            const size_t start = rec.Start.value;
            for (size_t column :
                 {std::max<size_t>(start, 1) - 1, start, start + 1, start + rec.Len}) {
                const TTextPos place{ByteColumn(column), rec.Line};
                EXPECT_EQ(v.TextToView(place),
                          ReferenceTextToView(expected, firsts[rec.Line.value], place))
                    << "wrap " << w << " view line " << at << " column " << column;
            }
        }
        // Ranges over whole text lines and over parts of them.
        for (int n = 0; n < 200; ++n) {
            const auto at = static_cast<int>(n % 2 == 0 ? firsts[random() % 5] % expected.size()
                                                        : random() % expected.size());
            const auto count = static_cast<int>(random() % (n % 4 < 2 ? expected.size() : 300));
            size_t longest = 0;
            for (int i = at; i < std::min<int>(at + count, static_cast<int>(expected.size()));
                 ++i) {
                longest = std::max(longest, expected[static_cast<size_t>(i)].Len);
            }
            EXPECT_EQ(v.MaxLen(ViewLineIndex(at), LineCount(count)), longest);
        }
    }
}

TEST(ViewLinesTest, ByteClassFollowsLeadBytesFromTheStart) {
    const std::string text = S("a漢b") + "\x81\x81\x81";
    const int expected[] = {0, 0, 1, 2, 0, 1, 2, 1, 0};  // k = 0 .. 8
    for (size_t k = 0; k <= 8; ++k) {
        EXPECT_EQ(ByteClass(text, ByteColumn(k)), expected[k]) << "byte " << k;
    }
    // Read backwards from byte k, the class must be what a scan from byte 1
    // finds, on any bytes (runs of lead-byte codes, NUL, katakana).
    std::mt19937 random(7);
    const char alphabet[] = {'a', '\0', '\x81', '\x9f', '\xe0', '\xfc', '\xb1', '\x40'};
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int i = 0; i < 24; ++i) {
            bytes += alphabet[random() % sizeof alphabet];
        }
        for (size_t i = 0; i < bytes.size();) {
            const bool lead = IsLeadByte(bytes[i]);
            EXPECT_EQ(ByteClass(bytes, ByteColumn::OfOffset(i)), lead ? LeadByte : SingleByte);
            if (lead && i + 1 < bytes.size()) {
                EXPECT_EQ(ByteClass(bytes, ByteColumn::OfOffset(i + 1)), TrailByte);
            }
            i += lead ? 2 : 1;
        }
    }
}

TEST(CaretMotionTest, MovesStepOverDoubleByteCharacters) {
    // View lines: 0 "ab漢字", 1 "漢c", 2 "".
    Model m({S("ab漢字"), S("漢c"), ""}, 0, false);
    struct Case {
        TViewPos from;
        CaretMove move;
        TViewPos to;
    };
    const Case cases[] = {
        {V(3, 0), CaretMove::Right, V(5, 0)},     {V(5, 0), CaretMove::Left, V(3, 0)},
        {V(7, 0), CaretMove::Right, V(8, 0)},     {V(1, 0), CaretMove::Left, V(1, 0)},
        {V(2, 0), CaretMove::Down, V(3, 1)},      {V(2, 1), CaretMove::Up, V(2, 0)},
        {V(4, 0), CaretMove::LineEnd, V(7, 0)},   {V(4, 1), CaretMove::LineStart, V(1, 1)},
        {V(4, 1), CaretMove::TextStart, V(1, 0)}, {V(1, 0), CaretMove::TextEnd, V(1, 2)},
        {V(3, 0), CaretMove::PageDown, V(3, 2)},  {V(4, 1), CaretMove::PageUp, V(3, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveCaret(m.lines_, c.from, c.move, 5), c.to)
            << static_cast<int>(c.move) << " from " << c.from.Column << "," << c.from.Line;
    }
    EXPECT_EQ(ClampPos(m.lines_, V(20, 9)), V(1, 2));
    EXPECT_EQ(ClampPos(m.lines_, V(0, -2)), V(0, 0));
}

TEST(CaretMotionTest, WordAtSelectsWordsAndSingleCharacters) {
    // "x foo_bar2+漢字": foo_bar2 is bytes 3-10, + byte 11, 漢 12-13, 字 14-15.
    Model m({S("x foo_bar2+漢字")}, 0, false);
    struct Case {
        size_t column;
        size_t start;
        size_t end;
    };
    const Case cases[] = {
        {4, 3, 11},   {3, 3, 11},   {10, 3, 11}, {11, 11, 12},
        {12, 12, 14}, {13, 12, 14}, {2, 2, 3},   {16, 16, 16},
    };
    for (const Case& c : cases) {
        const auto [start, end] = WordAt(m.lines_, V(c.column, 0));
        EXPECT_EQ(start, V(c.start, 0)) << "column " << c.column;
        EXPECT_EQ(end, V(c.end, 0)) << "column " << c.column;
    }
}

TEST(CaretMotionTest, SelectionRowsCoverTextOfVisibleLinesOnly) {
    Model m({"abcd", "ef", "", "ghi", "jk"}, 0, false);
    using Rows = std::vector<SelectionRow>;
    const auto row = [](int line, size_t from, size_t to) {
        return SelectionRow{ViewLineIndex(line), ByteColumn(from), ByteColumn(to)};
    };
    struct Case {
        TViewPos p;
        TViewPos q;
        int top;
        int bottom;
        Rows rows;
    };
    const Case cases[] = {
        {V(2, 0), V(2, 0), 0, 4, {}},
        {V(3, 1), V(2, 0), 0, 4, {row(0, 2, 5), row(1, 1, 3)}},  // either order
        {V(2, 0), V(2, 3), 0, 4, {row(0, 2, 5), row(1, 1, 3), row(3, 1, 2)}},
        {V(2, 0), V(3, 4), 1, 3, {row(1, 1, 3), row(3, 1, 4)}},  // clipped to the page
        {V(5, 0), V(1, 1), 0, 4, {}},                            // from the end of a line
        {V(1, 4), V(3, 4), 0, 2, {}},                            // below the page
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SelectionRows(m.lines_, c.p, c.q, ViewLineIndex(c.top), ViewLineIndex(c.bottom)),
                  c.rows)
            << c.p.Column << "," << c.p.Line << " to " << c.q.Column << "," << c.q.Line;
    }
}

TEST(CaretMotionTest, PointFindsTheCharacterUnderIt) {
    // "a漢b": a is 0-10 pixels, 漢 10-30, b 30-40. Lines 20 pixels high.
    Model m({S("a漢b"), "cd", "\tz"}, 0, false);
    const PointGeometry geometry{20, 10, 0, 0, 256 * 10, 60};
    struct Case {
        int x;
        int y;
        TViewPos expected;
    };
    const Case cases[] = {
        {0, 5, V(1, 0)},   {10, 5, V(1, 0)},  {11, 5, V(2, 0)},  {29, 5, V(2, 0)},
        {31, 5, V(4, 0)},  {39, 5, V(4, 0)},  {41, 5, V(5, 0)},  {500, 5, V(5, 0)},
        {-7, 5, V(1, 0)},  {15, 25, V(2, 1)}, {15, -3, V(1, 0)}, {15, 70, V(3, 2)},
        {79, 45, V(1, 2)}, {81, 45, V(2, 2)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PointToPosition(m.lines_, m.measure, geometry, c.x, c.y), c.expected)
            << c.x << "," << c.y;
    }
    const PointGeometry scrolled{20, 10, 2, 1, 256 * 10, 60};
    EXPECT_EQ(PointToPosition(m.lines_, m.measure, scrolled, 0, 5), V(2, 1));
}

}  // namespace
}  // namespace tovix
