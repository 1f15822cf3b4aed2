// The view-line model, caret motion and pointer mapping, on a fixed-width
// measure of 10 pixels a byte (a tab reaching the next 80 pixels).

#include <gtest/gtest.h>

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
    int TextWidthOf(std::string_view text) const override {
        int x = 0;
        for (char c : text) {
            x = c == '\t' ? (x / 80 + 1) * 80 : x + 10;
        }
        return x;
    }

  private:
    int clientWidth_;
};

struct Model {
    explicit Model(const std::vector<std::string>& text, int wrapByte, bool wordWrap = true,
                   int clientWidth = 1000)
        : measure(clientWidth), lines_(store, measure) {
        store.Assign(text);
        lines_.SetWordWrap(wordWrap);
        lines_.SetWrapByte(wrapByte);
        lines_.Rewrap(0);
    }
    Recs Records() const {
        Recs recs;
        for (int v = 0; v < lines_.Count(); ++v) {
            recs.push_back(lines_.At(v));
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
         {{0, 1, 60, 0, false}, {0, 61, 60, 1, false}, {0, 121, 10, 2, true}}},
        {"kanji whose lead byte is byte 60",
         {std::string(59, 'a') + S("漢字b")},
         60,
         true,
         1000,
         {{0, 1, 59, 0, false}, {0, 60, 5, 1, true}}},
        {"one byte per line over kanji",
         {S("漢字")},
         1,
         true,
         1000,
         {{0, 1, 2, 0, false}, {0, 3, 2, 1, true}}},
        {"empty lines",
         {"", "abc", ""},
         2,
         true,
         1000,
         {{0, 0, 0, 0, true}, {1, 1, 2, 0, false}, {1, 3, 1, 1, true}, {2, 0, 0, 0, true}}},
        {"lead byte at the very end",
         {"ab\x82"},
         2,
         true,
         1000,
         {{0, 1, 2, 0, false}, {0, 3, 1, 1, true}}},
        {"no word wrap ignores WrapByte",
         {a130, ""},
         60,
         false,
         1000,
         {{0, 1, 130, 0, true}, {1, 0, 0, 0, true}}},
        {"window width: fits", {"abcdefgh"}, 0, true, 100, {{0, 1, 8, 0, true}}},
        // 10 pixels a byte in 105 pixels: the width is measured down from the
        // whole line and stops at 9 bytes (90 pixels, within two cells).
        {"window width: wraps",
         {std::string(25, 'a')},
         0,
         true,
         105,
         {{0, 1, 9, 0, false}, {0, 10, 9, 1, false}, {0, 19, 7, 2, true}}},
        {"window width: kanji",
         {S("あいうえおかきくけこ")},
         0,
         true,
         105,
         {{0, 1, 8, 0, false}, {0, 9, 8, 1, false}, {0, 17, 4, 2, true}}},
        // Tabs widen the measured text: 80, 160 and 240 pixels.
        {"window width: tabs", {"\t\t\t"}, 0, true, 100, {{0, 1, 2, 0, false}, {0, 3, 1, 1, true}}},
    };
    for (const Case& c : cases) {
        Model m(c.text, c.wrapByte, c.wordWrap, c.clientWidth);
        EXPECT_EQ(m.Records(), c.expected) << c.name;
    }
}

TEST(ViewLinesTest, RewrapFromAChangedLineKeepsEarlierViewLines) {
    Model m({"abcd", "ef", "ghijk"}, 2);
    m.store.Insert(1, "XYZ");
    m.lines_.Rewrap(1);
    m.store.Delete(3);
    m.lines_.Rewrap(3);
    m.store.Add("");
    m.lines_.Rewrap(3);
    EXPECT_EQ(m.Records(), Model({"abcd", "XYZ", "ef", ""}, 2).Records());
    EXPECT_EQ(m.lines_.Count(), 6);
}

TEST(ViewLinesTest, PositionsConvertBetweenTextAndView) {
    // View lines: 0 "ab", 1 "cd", 2 "e" (text line 0), 3 "" (1), 4 "xy" (2).
    Model m({"abcde", "", "xy"}, 2);
    const TViewLines& v = m.lines_;
    EXPECT_EQ(v.Count(), 5);
    EXPECT_EQ(v.LineToViewLine(0), 0);
    EXPECT_EQ(v.LineToViewLine(1), 3);
    EXPECT_EQ(v.LineToViewLine(2), 4);
    EXPECT_EQ(v.LineToViewLine(3), 5);  // LineCount gives ViewLineCount
    EXPECT_EQ(v.ViewLineToLine(-1), -1);
    EXPECT_EQ(v.ViewLineToLine(5), -1);
    EXPECT_EQ(v.ViewLineToLine(2), 0);

    struct Case {
        TViewPos text;
        TViewPos view;
    };
    const Case cases[] = {
        {{1, 0}, {1, 0}}, {{2, 0}, {2, 0}}, {{3, 0}, {1, 1}}, {{4, 0}, {2, 1}},
        {{5, 0}, {1, 2}}, {{6, 0}, {2, 2}}, {{0, 1}, {1, 3}}, {{2, 2}, {2, 4}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(v.TextToView(c.text), c.view) << c.text.Column << "," << c.text.Line;
        EXPECT_EQ(v.ViewToText(c.view), c.text) << c.view.Column << "," << c.view.Line;
    }
    EXPECT_EQ(v.TextToView({1, 3}), (TViewPos{1, 5}));  // beyond the text
    EXPECT_EQ(v.TextToView({0, 0}), (TViewPos{}));      // before the first byte
    EXPECT_EQ(v.ViewToText({1, 7}), (TViewPos{}));
    EXPECT_THROW(v.Text(5), ListIndexError);
}

TEST(ViewLinesTest, ByteClassFollowsLeadBytesFromTheStart) {
    const std::string text = S("a漢b") + "\x81\x81\x81";
    const int expected[] = {0, 0, 1, 2, 0, 1, 2, 1, 0};  // k = 0 .. 8
    for (int k = 0; k <= 8; ++k) {
        EXPECT_EQ(ByteClass(text, k), expected[k]) << "byte " << k;
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
        {{3, 0}, CaretMove::Right, {5, 0}},     {{5, 0}, CaretMove::Left, {3, 0}},
        {{7, 0}, CaretMove::Right, {8, 0}},     {{1, 0}, CaretMove::Left, {1, 0}},
        {{2, 0}, CaretMove::Down, {3, 1}},      {{2, 1}, CaretMove::Up, {2, 0}},
        {{4, 0}, CaretMove::LineEnd, {7, 0}},   {{4, 1}, CaretMove::LineStart, {1, 1}},
        {{4, 1}, CaretMove::TextStart, {1, 0}}, {{1, 0}, CaretMove::TextEnd, {1, 2}},
        {{3, 0}, CaretMove::PageDown, {3, 2}},  {{4, 1}, CaretMove::PageUp, {3, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveCaret(m.lines_, c.from, c.move, 5), c.to)
            << static_cast<int>(c.move) << " from " << c.from.Column << "," << c.from.Line;
    }
    EXPECT_EQ(ClampPos(m.lines_, {20, 9}), (TViewPos{1, 2}));
    EXPECT_EQ(ClampPos(m.lines_, {-2, 0}), (TViewPos{0, 0}));
}

TEST(CaretMotionTest, WordAtSelectsWordsAndSingleCharacters) {
    // "x foo_bar2+漢字": foo_bar2 is bytes 3-10, + byte 11, 漢 12-13, 字 14-15.
    Model m({S("x foo_bar2+漢字")}, 0, false);
    struct Case {
        int column;
        int start;
        int end;
    };
    const Case cases[] = {
        {4, 3, 11},   {3, 3, 11},   {10, 3, 11}, {11, 11, 12},
        {12, 12, 14}, {13, 12, 14}, {2, 2, 3},   {16, 16, 16},
    };
    for (const Case& c : cases) {
        const auto [start, end] = WordAt(m.lines_, {c.column, 0});
        EXPECT_EQ(start, (TViewPos{c.start, 0})) << "column " << c.column;
        EXPECT_EQ(end, (TViewPos{c.end, 0})) << "column " << c.column;
    }
}

TEST(CaretMotionTest, SelectionRowsCoverTextOfVisibleLinesOnly) {
    Model m({"abcd", "ef", "", "ghi", "jk"}, 0, false);
    using Rows = std::vector<SelectionRow>;
    struct Case {
        TViewPos p;
        TViewPos q;
        int top;
        int bottom;
        Rows rows;
    };
    const Case cases[] = {
        {{2, 0}, {2, 0}, 0, 4, {}},
        {{3, 1}, {2, 0}, 0, 4, {{0, 2, 5}, {1, 1, 3}}},  // either order
        {{2, 0}, {2, 3}, 0, 4, {{0, 2, 5}, {1, 1, 3}, {3, 1, 2}}},
        {{2, 0}, {3, 4}, 1, 3, {{1, 1, 3}, {3, 1, 4}}},  // clipped to the page
        {{5, 0}, {1, 1}, 0, 4, {}},                      // from the end of a line
        {{1, 4}, {3, 4}, 0, 2, {}},                      // below the page
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SelectionRows(m.lines_, c.p, c.q, c.top, c.bottom), c.rows)
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
        {0, 5, {1, 0}},   {10, 5, {1, 0}},  {11, 5, {2, 0}},  {29, 5, {2, 0}},  {31, 5, {4, 0}},
        {39, 5, {4, 0}},  {41, 5, {5, 0}},  {500, 5, {5, 0}}, {-7, 5, {1, 0}},  {15, 25, {2, 1}},
        {15, -3, {1, 0}}, {15, 70, {3, 2}}, {79, 45, {1, 2}}, {81, 45, {2, 2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PointToPosition(m.lines_, m.measure, geometry, c.x, c.y), c.expected)
            << c.x << "," << c.y;
    }
    const PointGeometry scrolled{20, 10, 2, 1, 256 * 10, 60};
    EXPECT_EQ(PointToPosition(m.lines_, m.measure, scrolled, 0, 5), (TViewPos{2, 1}));
}

}  // namespace
}  // namespace tovix
