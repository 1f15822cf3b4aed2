// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "components/BvStrings.h"
#include "components/LightStrings.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

Lines LinesOf(const TLightStrings& store) {
    Lines lines;
    store.AssignTo(lines);
    return lines;
}

// The line-splitting rules written out plainly, to check the block scanner.
Lines SplitPlainly(const std::string& text) {
    Lines lines;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = text.find_first_of("\r\n", i);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(i, end - i));
        i = end + 1;
        if (end < text.size() && text[end] == '\r' && i < text.size() && text[i] == '\n') {
            ++i;
        }
    }
    return lines;
}

class LineStoreFileTest : public ::testing::Test {
  protected:
    fs::path Write(const std::string& bytes, const char* name = "part.001") {
        test::WriteBytes(dir_ / name, bytes);
        return dir_ / name;
    }

    test::TempDir dir_;
};

TEST_F(LineStoreFileTest, LineEndsSplitTextAndFilesAlike) {
    struct Case {
        std::string text;
        Lines lines;
        Lines fileLines;  // when a file gives other lines (a NUL stays in a file line)
    };
    const std::string nul(1, '\0');
    const Case cases[] = {
        {"a\r\n\r\nb", {"a", "", "b"}, {}},
        {"a\n\rb", {"a", "", "b"}, {}},
        {"a\r\n", {"a"}, {}},
        {"a\rb\nc", {"a", "b", "c"}, {}},
        {"a\r\r\nb", {"a", "", "b"}, {}},
        {"ab", {"ab"}, {}},
        {"a\r", {"a"}, {}},
        {"\r\n", {""}, {}},
        {"\n\n", {"", ""}, {}},
        {"", {}, {}},
        {"a" + nul + "b\r\nc", {"a"}, {"a" + nul + "b", "c"}},
        {nul + "a", {}, {nul + "a"}},
    };
    for (const Case& c : cases) {
        const Lines& fileLines = c.fileLines.empty() ? c.lines : c.fileLines;
        TLightStrings text;
        text.SetText(c.text);
        EXPECT_EQ(LinesOf(text), c.lines) << testing::PrintToString(c.text);
        EXPECT_EQ(text.Capacity(), text.Count());

        TLightStrings file;
        file.Add("stale");
        file.LoadFromFile(Write(c.text));
        EXPECT_EQ(LinesOf(file), fileLines) << testing::PrintToString(c.text);
        EXPECT_EQ(file.Capacity(), file.Count());

        std::istringstream stream("xx" + c.text);
        stream.seekg(2);
        TLightStrings streamed;
        streamed.LoadFromStream(stream);
        EXPECT_EQ(LinesOf(streamed), c.lines) << testing::PrintToString(c.text);
    }
}

// Line ends at every place relative to the 64-byte blocks and the read chunks
// of a file, compared with the plain rules.
TEST_F(LineStoreFileTest, LineEndsAtBlockAndChunkBordersFollowThePlainRules) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', '\r', '\n', static_cast<char>(0x83), '\\'};
    for (int round = 0; round < 300; ++round) {
        const size_t size = round < 290 ? random() % 400 : 600000 + random() % 5000;
        const int lineEndShare = round % 3 == 0 ? 2 : 12;  // some dense, some sparse
        std::string text;
        for (size_t i = 0; i < size; ++i) {
            text +=
                random() % lineEndShare == 0 ? alphabet[2 + random() % 2] : alphabet[random() % 6];
        }
        const Lines expected = SplitPlainly(text);
        TLightStrings store;
        store.SetText(text);
        ASSERT_EQ(LinesOf(store), expected) << "round " << round;
        store.LoadFromFile(Write(text));
        ASSERT_EQ(LinesOf(store), expected) << "round " << round;
    }
    // Regular CR LF texts put a CR LF across every border sooner or later.
    for (size_t length = 1; length <= 8; ++length) {
        const std::string line(length, 'a');
        std::string text;
        while (text.size() < 700000) {
            text += line + "\r\n";
        }
        TLightStrings store;
        store.LoadFromFile(Write(text));
        ASSERT_EQ(store.Count(), static_cast<int>(text.size() / (length + 2)));
        ASSERT_EQ(store.IndexOf(line + "\r"), -1);
        ASSERT_EQ(store.IndexOf(""), -1);
    }
}

TEST_F(LineStoreFileTest, LongLinesAndShiftJisTrailBytesAreReadWhole) {
    const std::string kana = S("ソ表能ー［");  // trail bytes 5C 5C 5C 5B and 81 6D
    const std::string longLine(100000, 'x');
    const std::string hugeLine = std::string(9 * 1024 * 1024, 'y') + kana;  // beyond a record
    struct Case {
        Lines lines;
    };
    const Case cases[] = {
        {{"head", longLine + kana, "tail"}},
        {{kana, "\t" + kana + "," + kana, kana + "\\"}},
        {{"a", hugeLine, std::string(200, 'b')}},
        {{"a", hugeLine}},
    };
    for (const Case& c : cases) {
        std::string bytes;
        for (const std::string& line : c.lines) {
            bytes += line + "\r\n";
        }
        TBvStrings store;
        store.LoadFromFile(Write(bytes));
        ASSERT_EQ(LinesOf(store), c.lines);
        EXPECT_EQ(store.GetText(), bytes);
        store.SaveToFile(dir_ / "copy");
        EXPECT_EQ(test::ReadBytes(dir_ / "copy"), bytes);
        store.Put(0, store.View(1));
        EXPECT_EQ(store.Get(0), c.lines[1]);
        EXPECT_EQ(store.Get(1), c.lines[1]);
    }
}

TEST_F(LineStoreFileTest, SaveWritesCrLfAndReplacesTheFile) {
    const fs::path path = Write("old content that is longer than the new one\r\n");
    TLightStrings store;
    store.SetText("a\nb\rc");
    store.SaveToFile(path);
    EXPECT_EQ(test::ReadBytes(path), "a\r\nb\r\nc\r\n");

    TLightStrings empty;
    empty.SaveToFile(path);
    EXPECT_EQ(test::ReadBytes(path), "");

    std::ostringstream stream;
    store.SaveToStream(stream);
    EXPECT_EQ(stream.str(), "a\r\nb\r\nc\r\n");
}

TEST_F(LineStoreFileTest, FileFailuresThrowIoErrorWithThePath) {
    TLightStrings store;
    store.SetText("kept?");
    try {
        store.LoadFromFile(dir_ / "missing.001");
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), dir_ / "missing.001");
        EXPECT_EQ(e.error(), ENOENT);
    }
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.Capacity(), 0);

    EXPECT_THROW(store.LoadFromFile(dir_.path()), IoError);  // a directory
    EXPECT_THROW(store.SaveToFile(dir_ / "no" / "such" / "dir"), IoError);
}

// Reloading keeps the blocks when the sizes are close, and always in a store
// told to keep them: nothing of the old file may show through, also where the
// new file is far smaller or ends without a line end.
TEST_F(LineStoreFileTest, ReloadingShowsOnlyTheNewFile) {
    std::string first;
    std::string second;
    for (int i = 0; i < 20000; ++i) {
        first += "first" + std::to_string(i) + " \r\n\t" + S("訳") + "\r\n";
        second += "second" + std::to_string(i) + "\r\n";
    }
    // Plain; keeping its blocks; and keeping blocks made ready beforehand
    // for the larger file, as the view's stores are.
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        TBvStrings store;
        if (mode > 0) {
            store.KeepStorage();
        }
        if (mode == 2) {
            store.MakeRoomFor(first.size());
            EXPECT_EQ(store.Count(), 0);
        }
        store.LoadFromFile(Write(first, "a"));
        store.Put(5, "changed");
        store.LoadFromFile(Write(second, "b"));
        EXPECT_EQ(LinesOf(store), SplitPlainly(second));
        EXPECT_EQ(store.LongestLine(), std::string("second19999").size());
        store.LoadFromFile(Write(second.substr(0, second.size() - 2) + "x", "c"));
        EXPECT_EQ(store.Get(store.Count() - 1), "second19999x");
        EXPECT_EQ(store.Count(), 20000);
        store.LoadFromFile(Write("z\r\ny", "d"));
        EXPECT_EQ(LinesOf(store), (std::vector<std::string>{"z", "y"}));
        EXPECT_EQ(store.LongestLine(), 1u);
        store.LoadFromFile(Write(first, "a"));
        EXPECT_EQ(LinesOf(store), SplitPlainly(first));
    }
}

// The longest line, which the view's width follows: known from a load, and
// right again after every kind of change.
TEST_F(LineStoreFileTest, TheLongestLineFollowsLoadsAndChanges) {
    TBvStrings store;
    EXPECT_EQ(store.LongestLine(), 0u);
    const std::string text = "aa\r\n" + S("漢字漢字") + "\rb\n\nccc";
    store.LoadFromFile(Write(text));
    EXPECT_EQ(store.LongestLine(), 8u);
    struct Step {
        const char* name;
        std::function<void(TBvStrings&)> change;
        size_t longest;
    };
    const Step steps[] = {
        {"a longer line put in", [](TBvStrings& s) { s.Put(0, "0123456789"); }, 10},
        {"the longest deleted", [](TBvStrings& s) { s.Delete(0); }, 8},
        {"one inserted", [](TBvStrings& s) { s.Insert(1, std::string(300, 'x')); }, 300},
        {"lines dropped", [](TBvStrings& s) { s.SetCount(1); }, 8},
        {"new text, no line end", [](TBvStrings& s) { s.SetText("abc\r\nabcd"); }, 4},
        {"moved away",
         [](TBvStrings& s) {
             TBvStrings other(std::move(s));
             s = std::move(other);
         },
         4},
        {"emptied", [](TBvStrings& s) { s.Clear(); }, 0},
        {"added", [](TBvStrings& s) { s.Add("12345"); }, 5},
    };
    for (const Step& step : steps) {
        step.change(store);
        EXPECT_EQ(store.LongestLine(), step.longest) << step.name;
    }
}

TEST(LineStoreTest, CapacityGrowsBy32AndLoadsTrimIt) {
    struct Case {
        std::function<void(TBvStrings&)> run;
        int count;
        int capacity;
    };
    const Case cases[] = {
        {[](TBvStrings& s) {
             for (int i = 0; i < 33; ++i)
                 s.Add("x");
         },
         33, 64},
        {[](TBvStrings& s) { s.Insert(0, "x"); }, 1, 32},
        {[](TBvStrings& s) { s.SetText("a\r\nb\r\nc"); }, 3, 3},
        {[](TBvStrings& s) {
             s.SetText("a\r\nb\r\nc");
             s.Add("d");
         },
         4, 35},
        {[](TBvStrings& s) {
             s.SetText("a\r\nb");
             s.Delete(0);
             s.Delete(0);
         },
         0, 2},
        {[](TBvStrings& s) { s.SetCount(40); }, 40, 40},
        {[](TBvStrings& s) {
             s.SetCount(40);
             s.SetCount(3);
         },
         3, 40},
        {[](TBvStrings& s) {
             s.SetCapacity(100);
             s.SetCapacity(10);
         },
         0, 10},
        {[](TBvStrings& s) {
             s.Add("x");
             s.Clear();
         },
         0, 0},
        {[](TBvStrings& s) { s.SetCommaText("a,b,c"); }, 3, 32},
        {[](TBvStrings& s) {
             s.Add("x");
             s.AddStrings({"a", "b"});
         },
         3, 3},
        {[](TBvStrings& s) {
             s.Add("x");
             s.Assign({"a", "b"});
         },
         2, 2},
    };
    int row = 0;
    for (const Case& c : cases) {
        TBvStrings store;
        c.run(store);
        EXPECT_EQ(store.Count(), c.count) << "row " << row;
        EXPECT_EQ(store.Capacity(), c.capacity) << "row " << row;
        ++row;
    }
}

TEST(LineStoreTest, IndexErrorsThrowAndChangeNothing) {
    struct Case {
        const char* name;
        std::function<void(TBvStrings&)> run;
    };
    const Case cases[] = {
        {"Get(Count)", [](TBvStrings& s) { s.Get(3); }},
        {"Get(-1)", [](TBvStrings& s) { s.Get(-1); }},
        {"View(Count)", [](TBvStrings& s) { s.View(3); }},
        {"Delete(-1)", [](TBvStrings& s) { s.Delete(-1); }},
        {"Delete(Count)", [](TBvStrings& s) { s.Delete(3); }},
        {"Insert(Count+1)", [](TBvStrings& s) { s.Insert(4, "x"); }},
        {"Insert(-1)", [](TBvStrings& s) { s.Insert(-1, "x"); }},
        {"Put(Count)", [](TBvStrings& s) { s.Put(3, "x"); }},
        {"Exchange(0, Count)", [](TBvStrings& s) { s.Exchange(0, 3); }},
        {"Exchange(-1, 0)", [](TBvStrings& s) { s.Exchange(-1, 0); }},
        {"SetCapacity(Count-1)", [](TBvStrings& s) { s.SetCapacity(2); }},
        {"SetCapacity(max+1)",
         [](TBvStrings& s) { s.SetCapacity(TLightStrings::MaxListSize + 1); }},
        {"SetCount(-1)", [](TBvStrings& s) { s.SetCount(-1); }},
        {"SetCount(max+1)", [](TBvStrings& s) { s.SetCount(TLightStrings::MaxListSize + 1); }},
    };
    for (const Case& c : cases) {
        TBvStrings store;
        store.SetText("a\r\nb\r\nc");
        store.Put(1, "owned");
        try {
            c.run(store);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ListIndexError& e) {
            EXPECT_STREQ(e.what(), "インデックスがリストの範囲を超えています") << c.name;
        }
        EXPECT_EQ(LinesOf(store), (Lines{"a", "owned", "c"})) << c.name;
        EXPECT_EQ(store.Capacity(), 3) << c.name;
    }
    TBvStrings store;
    store.SetText("a");
    store.Insert(1, "appended");
    store.Exchange(0, 0);
    EXPECT_EQ(LinesOf(store), (Lines{"a", "appended"}));
}

TEST(LineStoreTest, CommaTextBothWays) {
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case read[] = {
        {"a,\"b c\",d", {"a", "b c", "d"}},
        {"a,", {"a"}},
        {",a", {"", "a"}},
        {"a,,b", {"a", "", "b"}},
        {"ab\"cd", {"ab", "cd"}},
        {"\"x,y\",z", {"x,y", "z"}},
        {"\"open", {"open"}},
        {"a\rb", {"a", "b"}},
        {"a b,c", {"a b", "c"}},
        {S("表,ソ"), {S("表"), S("ソ")}},
        {"", {}},
    };
    for (const Case& c : read) {
        TLightStrings store;
        store.Add("stale");
        store.SetCommaText(c.text);
        EXPECT_EQ(LinesOf(store), c.lines) << c.text;
    }
    const Case written[] = {
        {"a,\"b c\",\"d,e\"", {"a", "b c", "d,e"}},
        {"x\"y,", {"x\"y", ""}},
        {"", {""}},
        {"", {}},
    };
    for (const Case& c : written) {
        TBvStrings store;
        store.Assign(c.lines);
        EXPECT_EQ(store.GetCommaText(), c.text);
    }
}

TEST(LineStoreTest, FindIgnoresAsciiCaseOnlyAndMovesOn) {
    TBvStrings store;
    store.Assign({"xxabcx", "ABC", "nothing", S("ａｂｃ"), "zzAbC"});
    struct Case {
        std::string text;
        int line;
        size_t column;
        bool found;
        int foundLine;
        size_t foundColumn;
    };
    const Case cases[] = {
        {"ABC", 0, 1, true, 0, 3},
        {"ABC", 0, 4, true, 1, 1},
        {"abc", 1, 2, true, 4, 3},
        {"ABC", -5, 0, true, 0, 3},
        {"abc", 4, 4, false, 5, 1},
        {"abcd", 0, 1, false, 5, 1},
        {"x", 0, 6, true, 0, 6},
        {"nothing", 2, 0, true, 2, 1},
        {"", 2, 3, false, 2, 3},
        {"abc", 9, 9, false, 5, 1},
        {S("ｂ"), 0, 1, true, 3, 3},
        {std::string("\x81\x82"), 0, 1, true, 3, 2},  // trail byte of ａ, lead byte of ｂ
    };
    for (const Case& c : cases) {
        int line = c.line;
        ByteColumn column(c.column);
        EXPECT_EQ(store.Find(c.text, line, column), c.found) << c.text << " " << c.line;
        EXPECT_EQ(line, c.foundLine) << c.text << " " << c.line;
        EXPECT_EQ(column, ByteColumn(c.foundColumn)) << c.text << " " << c.line;
    }
}

TEST(LineStoreTest, IndexOfIsExactAndAssignCopiesInOrder) {
    TBvStrings store;
    store.SetText("Apple\r\napple\r\n\r\napple");
    EXPECT_EQ(store.IndexOf("apple"), 1);
    EXPECT_EQ(store.IndexOf("APPLE"), -1);
    EXPECT_EQ(store.IndexOf(""), 2);
    EXPECT_EQ(store.IndexOf("appl"), -1);

    Lines copy{"old"};
    store.AssignTo(copy);
    EXPECT_EQ(copy, (Lines{"Apple", "apple", "", "apple"}));
    store.AddStrings({"x", "y"});
    EXPECT_EQ(store.Capacity(), 6);
    EXPECT_EQ(store.Get(5), "y");
}

// Edits on a loaded store mix lines in the loaded text with lines of their
// own; every line must stay right after any sequence of them.
TEST_F(LineStoreFileTest, EditsAfterALoadKeepEveryLine) {
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        bytes += "word" + std::to_string(i) + " \r\n\t" + S("単語") + std::to_string(i) + "\r\n";
    }
    TBvStrings store;
    store.LoadFromFile(Write(bytes));
    Lines model = SplitPlainly(bytes);
    std::mt19937 random(11);
    for (int step = 0; step < 5000; ++step) {
        const int count = static_cast<int>(model.size());
        const int i = count ? static_cast<int>(random() % count) : 0;
        const int j = count ? static_cast<int>(random() % count) : 0;
        const std::string text = "edit" + std::to_string(step);
        switch (random() % 6) {
            case 0:
                if (count) {
                    store.Put(i, text);
                    model[i] = text;
                }
                break;
            case 1:
                store.Insert(i, text);
                model.insert(model.begin() + i, text);
                break;
            case 2:
                if (count) {
                    store.Delete(i);
                    model.erase(model.begin() + i);
                }
                break;
            case 3:
                if (count) {
                    store.Exchange(i, j);
                    std::swap(model[i], model[j]);
                }
                break;
            case 4:
                if (count) {
                    store.Add(store.View(i));  // a line of the store itself
                    model.push_back(model[i]);
                }
                break;
            default:
                if (count) {
                    store.Put(j, store.View(i));
                    model[j] = model[i];
                }
                break;
        }
        ASSERT_EQ(store.Count(), static_cast<int>(model.size()));
    }
    EXPECT_EQ(LinesOf(store), model);
    std::string expected;
    for (const std::string& line : model) {
        expected += line + "\r\n";
    }
    store.SaveToFile(dir_ / "saved");
    EXPECT_EQ(test::ReadBytes(dir_ / "saved"), expected);
    store.SetText(store.View(0));
    EXPECT_EQ(LinesOf(store), Lines{model[0]});
}

// Whatever is derived from the lines (the lookup's summary) is kept only as
// long as the revision stays; every change of the lines must change it.
TEST_F(LineStoreFileTest, EveryChangeOfTheLinesChangesTheRevision) {
    const fs::path file = Write("one\r\ntwo\r\n");
    const std::vector<std::pair<const char*, std::function<void(TBvStrings&)>>> changes = {
        {"Add", [](TBvStrings& s) { s.Add("x"); }},
        {"Insert", [](TBvStrings& s) { s.Insert(0, "x"); }},
        {"Put", [](TBvStrings& s) { s.Put(1, "x"); }},
        {"Delete", [](TBvStrings& s) { s.Delete(0); }},
        {"Exchange", [](TBvStrings& s) { s.Exchange(0, 1); }},
        {"Clear", [](TBvStrings& s) { s.Clear(); }},
        {"SetCount", [](TBvStrings& s) { s.SetCount(1); }},
        {"SetText", [](TBvStrings& s) { s.SetText("one\r\ntwo"); }},
        {"SetCommaText", [](TBvStrings& s) { s.SetCommaText("one,two"); }},
        {"LoadFromFile", [&](TBvStrings& s) { s.LoadFromFile(file); }},
        {"failed LoadFromFile",
         [&](TBvStrings& s) {
             EXPECT_THROW(s.LoadFromFile(file.parent_path() / "missing"), IoError);
         }},
        {"move",
         [](TBvStrings& s) {
             TBvStrings other;
             other.SetText("one\r\ntwo");
             s = std::move(other);
         }},
    };
    for (const auto& [name, change] : changes) {
        TBvStrings store;
        store.LoadFromFile(file);
        const std::uint64_t before = store.Revision();
        change(store);
        EXPECT_NE(store.Revision(), before) << name;
    }
    TBvStrings store;
    store.LoadFromFile(file);
    const std::uint64_t before = store.Revision();
    store.SetCapacity(100);
    store.Exchange(1, 1);
    EXPECT_EQ(store.Revision(), before) << "reserving slots and a swap with itself change no line";
}

}  // namespace
}  // namespace tovix
