// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <type_traits>

#include "dict/DicTable.h"
#include "dict/DicTableError.h"
#include "dict/KanaFolding.h"
#include "dict/KeyAlphabet.h"
#include "dict/KeyRange.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

// The lines of a whole table: a marker line per block, then one key line per
// second character. A key that is not given repeats the value of the line
// above it, as the dictionary builder fills them.
std::vector<std::string> TableLines(Direction direction, const std::map<std::string, int>& values) {
    std::vector<std::string> lines;
    const int size = AlphabetSize(direction);
    for (int p = 1; p <= size; ++p) {
        lines.push_back(std::string(BlockMarkerKey(direction)) + "=0");
        int value = 0;
        for (int q = 1; q <= size; ++q) {
            const std::string key =
                std::string(AlphabetChar(direction, p)) + std::string(AlphabetChar(direction, q));
            if (auto it = values.find(Cp932ToUtf8(key)); it != values.end()) {
                value = it->second;
            }
            lines.push_back(key + "=" + std::to_string(value));
        }
    }
    return lines;
}

TDicTable Table(Direction direction, const std::map<std::string, int>& values) {
    return TDicTable(TableLines(direction, values), direction, "TEST.DAT");
}

// Every character of one or two bytes has the place of the alphabet character
// it equals, or none; other lengths have none.
TEST(DicTableTest, AlphabetPositionIsThePlaceInTheAlphabet) {
    for (const Direction direction : {Direction::English, Direction::Japanese}) {
        std::map<std::string, int> places;
        for (int p = 1; p <= AlphabetSize(direction); ++p) {
            places[std::string(AlphabetChar(direction, p))] = p;
        }
        int found = 0;
        for (int code = 0; code < 256 * 256; ++code) {
            for (const std::string& ch :
                 {std::string(1, static_cast<char>(code >> 8)),
                  std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)}}) {
                const auto place = places.find(ch);
                const int expected = place == places.end() ? 0 : place->second;
                ASSERT_EQ(AlphabetPosition(direction, ch), expected) << ch.size() << " " << code;
                found += expected != 0 && (ch.size() == 2 || (code & 0xFF) == 0) ? 1 : 0;
            }
        }
        EXPECT_EQ(found, AlphabetSize(direction));
        EXPECT_EQ(AlphabetPosition(direction, ""), 0);
        EXPECT_EQ(AlphabetPosition(direction, std::string(AlphabetChar(direction, 1)) + "a"), 0);
    }
}

TEST(DicTableTest, KeyRanges) {
    // Part 1 holds abandon, able, about, accept on lines 0, 2, 4, 6.
    const TDicTable worked = Table(Direction::English, {{"aa", 0}, {"ab", 4}, {"ac", 6}});
    // Part 1 begins with 3D on line 0 and abandon on line 2.
    const TDicTable signFirst = Table(Direction::English, {{"aa", 2}, {"ab", 2}});
    // Part 2 holds only entries beginning with by, the last on line 10; part 3
    // has entries from ca onwards, none for letter b's neighbours.
    const TDicTable onlyBy = Table(Direction::English, {{"by", 10}, {"ca", 8}});
    const TDicTable empty;
    const TDicTable japanese =
        Table(Direction::Japanese, {{"かあ", 0}, {"かき", 2}, {"かつ", 8}, {"たあ", 0}});

    struct Case {
        const char* name;
        const TDicTable& table;
        std::string key;
        int start;
        int end;
    };
    const Case cases[] = {
        {"abo", worked, "ab", 0, 4},
        {"acc", worked, "ac", 4, 6},
        {"ad widens upwards", worked, "ad", 4, 6},
        {"az widens upwards past empty keys", worked, "az", 4, 6},
        {"first key of a block starts at the marker", worked, "aa", 0, 4},
        {"block of an empty part", worked, "bb", 0, 0},
        {"kana typed in English", worked, S("あい"), 0, 0},
        {"empty key", worked, "", 0, 0},
        {"3d searches aa", signFirst, "aa", 0, 2},
        {"by", onlyBy, "by", 0, 10},
        {"bz repeats by", onlyBy, "bz", 0, 10},
        {"ba widens downwards", onlyBy, "ba", 0, 10},
        {"downward scan crosses into the next block", onlyBy, "az", 0, 10},
        {"empty table", empty, "ab", 0, 0},
        {"がっこう", japanese, FoldSearchKey(S("がっこう")), 2, 8},
        {"かて widens upwards", japanese, S("かて"), 2, 8},
        {"かあ", japanese, S("かあ"), 0, 2},
        {"full-width asterisks are no key", japanese, S("＊＊"), 0, 0},
        {"katakana", japanese, S("カタ"), 0, 0},
    };
    for (const Case& c : cases) {
        const KeyRange range = FindKeyRange(c.table, c.key);
        EXPECT_EQ(range.start.value, c.start) << c.name;
        EXPECT_EQ(range.end.value, c.end) << c.name;
    }
}

// The table may name lines past the part's end; the search stops at its last
// line, which is one of the part's lines while the line after it is not.
TEST(DicTableTest, AKeyRangeIsCutAtThePartsLastLine) {
    const KeyRange range{TextLineIndex(4), TextLineIndex(20)};
    EXPECT_EQ(range.Within(LineCount(10)).end, TextLineIndex(9));
    EXPECT_EQ(range.Within(LineCount(10)).start, TextLineIndex(4));
    EXPECT_EQ(range.Within(LineCount(30)).end, TextLineIndex(20));
    EXPECT_TRUE(TextLineIndex(9) < LineCount(10));
    EXPECT_FALSE(TextLineIndex(10) < LineCount(10));
}

// A count is not a place, and a text line is not a view line: neither is
// taken for the other, nor for a plain number, without saying so.
static_assert(!std::is_convertible_v<LineCount, TextLineIndex>);
static_assert(!std::is_convertible_v<TextLineIndex, LineCount>);
static_assert(!std::is_constructible_v<TextLineIndex, LineCount>);
static_assert(!std::is_convertible_v<TextLineIndex, ViewLineIndex>);
static_assert(!std::is_convertible_v<int, LineCount>);
static_assert(!std::is_convertible_v<LineCount, int>);

// A table in the tools' layout finds a key's line by its place; any other
// table (lines missing, moved or edited out of place) by a scan: both must
// give the first key line that holds the key.
TEST(DicTableTest, KeyLinesAreFoundInEveryLayout) {
    for (const Direction direction : {Direction::English, Direction::Japanese}) {
        std::vector<std::string> lines = TableLines(direction, {});
        std::vector<std::vector<std::string>> layouts = {lines};
        layouts.push_back(std::vector<std::string>(lines.begin() + 1, lines.end()));
        std::vector<std::string> moved = lines;
        std::swap(moved[3], moved[50]);
        layouts.push_back(moved);
        for (const auto& layout : layouts) {
            TDicTable table(layout, direction, "T.DAT");
            for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
                const std::string key =
                    lines[static_cast<size_t>(i)].substr(0, KeyBytes(direction));
                int first = table.Count();
                for (int j = table.Count() - 1; j >= 0; --j) {
                    first = !table.IsMarker(j) && table.Key(j) == key ? j : first;
                }
                EXPECT_EQ(table.FindKeyLine(key), first) << Cp932ToUtf8(key);
            }
            EXPECT_EQ(table.FindKeyLine(S("漢")), table.Count());
        }
        TDicTable edited(lines, direction, "T.DAT");
        edited.Put(5, lines[7]);
        EXPECT_EQ(edited.FindKeyLine(lines[7].substr(0, KeyBytes(direction))), 5);
    }
}

TEST(DicTableTest, NegativeValuesNeverGiveANegativeStart) {
    // An English table built from no entries at all carries -1 in block a.
    std::vector<std::string> lines = TableLines(Direction::English, {{"aa", -1}});
    const TDicTable table(lines, Direction::English, "EMPTY.DAT");
    const KeyRange range = FindKeyRange(table, "ab");
    EXPECT_EQ(range.start.value, 0);
    EXPECT_EQ(range.end.value, 0);
}

TEST(DicTableTest, ValuesAreParsedOnceAndMarkersRecognised) {
    const TDicTable table = Table(Direction::Japanese, {{"かき", 206}});
    EXPECT_EQ(table.Count(), 2070);
    EXPECT_TRUE(table.IsMarker(0));
    EXPECT_TRUE(table.IsMarker(46));
    EXPECT_FALSE(table.IsMarker(47));
    EXPECT_EQ(table.Get(5 * 46 + 7), S("かき=206"));
    EXPECT_EQ(table.Key(5 * 46 + 7), S("かき"));
    EXPECT_EQ(table.Value(5 * 46 + 7), 206);
    EXPECT_THROW(table.Get(2070), std::out_of_range);
    EXPECT_THROW(table.Value(-1), std::out_of_range);
}

class DicTableFileTest : public testing::Test {
  protected:
    std::filesystem::path Write(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += line + "\r\n";
        }
        const std::filesystem::path path = dir_ / "辞書.DAT";
        test::WriteBytes(path, bytes);
        return path;
    }

    test::TempDir dir_;
};

TEST_F(DicTableFileTest, LoadsAndSavesTheSameBytes) {
    std::vector<std::string> lines = TableLines(Direction::Japanese, {{"かき", 2}, {"かつ", 8}});
    lines[2] = S("あい=007");  // leading zeros are read, and kept when saved
    const std::filesystem::path path = Write(lines);
    TDicTable table = TDicTable::LoadFromFile(path, Direction::Japanese);
    EXPECT_EQ(table.Count(), 2070);
    EXPECT_EQ(table.Value(2), 7);
    const KeyRange range = FindKeyRange(table, FoldSearchKey(S("がっこう")));
    EXPECT_EQ(range.start.value, 2);
    EXPECT_EQ(range.end.value, 8);

    const std::string before = test::ReadBytes(path);
    table.Put(5 * 46 + 18, S("かつ=10"));
    table.SaveToFile(path);
    std::string expected = before;
    expected.replace(expected.find(S("かつ=8\r\n")), S("かつ=8").size(), S("かつ=10"));
    EXPECT_EQ(test::ReadBytes(path), expected);
    EXPECT_THROW(table.SaveToFile(dir_ / "missing" / "X.DAT"), IoError);
}

TEST_F(DicTableFileTest, DamagedOrMissingTablesAreReportedWithTheirName) {
    struct Case {
        const char* name;
        Direction direction;
        const char* line;
    };
    const Case cases[] = {
        {"not a number", Direction::English, "ab=x"},
        {"empty value", Direction::English, "ab="},
        {"trailing junk", Direction::English, "ab=12x"},
        {"leading blank", Direction::English, "ab= 12"},
        {"trailing blank", Direction::English, "ab=12 "},
        {"plus sign", Direction::English, "ab=+12"},
        {"too large", Direction::English, "ab=99999999999"},
        {"no equals sign", Direction::English, "ab12"},
        {"key only", Direction::English, "ab"},
        {"empty line", Direction::English, ""},
        {"Japanese line in an English table", Direction::English, "ああ=0"},
        {"English line in a Japanese table", Direction::Japanese, "ab=14"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = TableLines(c.direction, {});
        lines[5] = S(c.line);
        const std::filesystem::path path = Write(lines);
        try {
            TDicTable::LoadFromFile(path, c.direction);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const DicTableError& error) {
            EXPECT_EQ(error.path(), path) << c.name;
            EXPECT_EQ(std::string(error.what()),
                      "   " + path.string() +
                          " の\r\n   指定された辞書テーブルファイルがオープンできませんでした。"
                          "          ")
                << c.name;
        }
    }
    EXPECT_THROW(TDicTable::LoadFromFile(dir_ / "MISSING.DAT", Direction::English), DicTableError);
}

TEST(DicTableTest, PutChecksTheLineAndKeepsTheTableOnError) {
    TDicTable table = Table(Direction::English, {{"ab", 4}});
    table.Put(2, "ab=8");
    EXPECT_EQ(table.Value(2), 8);
    EXPECT_THROW(table.Put(2, "ab=8x"), DicTableError);
    EXPECT_EQ(table.Get(2), "ab=8");
    EXPECT_THROW(table.Put(702, "zz=0"), std::out_of_range);
}

}  // namespace
}  // namespace tovix
