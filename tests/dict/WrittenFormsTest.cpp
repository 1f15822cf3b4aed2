// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/WrittenForms.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <utility>

#include "dict/DicFileSet.h"
#include "dict/KanaText.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

std::string S(const std::string& utf8) {
    return Utf8ToCp932(utf8);
}

const std::vector<std::string> kEntries = {
    "かんじ[漢字]\tChinese character",
    "かんじる[感じる]\tto feel",
    "きょう[今日]\ttoday",
    "こんにち[今日]\tthese days",
    "はしる[走る]\tto run",
    "おちゃ[お茶]\ttea",
    "こーひー[コーヒー]\tcoffee",
    "こーひーまめ[コーヒー豆]\tcoffee beans",
    "じしょ[辞書]\tdictionary",
    "じしょけい[辞書形]\tdictionary form",
    "ひとびと[人々]\tpeople",
    "あい\tlove (no written form)",
    "いぬ[犬\tdog (no closing bracket)",
};

// A set built by the tools, freshly opened.
class WrittenFormFixture {
  public:
    explicit WrittenFormFixture(const std::vector<std::string>& entries = kEntries)
        : dicFile(test::BuildDictionary(dir, Direction::Japanese, entries)) {
        state.direction = Direction::Japanese;
        state.dicFile = dicFile;
        state.table = TDicTable::LoadFromFile(TableFileName(dicFile), Direction::Japanese);
        view.LoadFromFile(dicFile);
    }

    LookupOutcome Find(const std::string& utf8) { return Lookup(state, view, reporter, S(utf8)); }

    std::string Top() const { return Cp932ToUtf8(view.ViewLine(view.TopLine())); }

    test::TempDir dir;
    std::filesystem::path dicFile;
    SearchState state;
    LineStoreView view;
    test::RecordingReporter reporter;
};

TEST(WrittenFormsTest, TheBuildListsKanjiFormsSortedWithReadingAndPart) {
    WrittenFormFixture f;
    EXPECT_EQ(Cp932ToUtf8(test::ReadBytes(WrittenFormFileName(f.dicFile))),
              "お茶\tおちゃ\t5\r\n"
              "コーヒー豆\tこーひーまめ\t10\r\n"
              "感じる\tかんじる\t6\r\n"
              "漢字\tかんじ\t6\r\n"
              "犬\tいぬ\t2\r\n"
              "今日\tきょう\t7\r\n"
              "今日\tこんにち\t10\r\n"
              "辞書\tじしょ\t12\r\n"
              "辞書形\tじしょけい\t12\r\n"
              "人々\tひとびと\t27\r\n"
              "走る\tはしる\t26\r\n");
}

// The forms are cut at character boundaries: a "[" or "]" or TAB that is the
// second byte of a double-byte character is no separator, yet a TAB byte
// anywhere in the written form keeps the line out of the file.
TEST(WrittenFormsTest, HeadwordFormsAreCutAtCharactersAndNeedAKanji) {
    const std::string zero("\x90\0", 2);
    const struct {
        std::string headword;
        std::optional<std::pair<std::string, std::string>> forms;  // reading, written
    } cases[] = {
        {S("かんじ [漢字]"), std::pair(S("かんじ"), S("漢字"))},
        {S("かんじ   [漢字] x"), std::pair(S("かんじ"), S("漢字"))},
        {S("ゼロ [零]"), std::pair(S("ゼロ"), S("零"))},  // ゼ ends in the byte of "["
        {S("いぬ [犬"), std::pair(S("いぬ"), S("犬"))},
        {S("ひとびと [人々]"), std::pair(S("ひとびと"), S("人々"))},
        {S("あ [") + "\x90]" + S("字]"), std::pair(S("あ"), "\x90]" + S("字"))},
        {S("あ [") + zero + S("字]"), std::pair(S("あ"), zero + S("字"))},
        {S("あ [") + zero + "]", std::nullopt},  // a lone lead byte is no kanji
        {S("あ [漢") + "\x90\t]", std::nullopt},
        {S("あ [漢\t字]"), std::nullopt},
        {S("こーひー [コーヒー]"), std::nullopt},
        {S(" [漢字]"), std::nullopt},
        {S("あい"), std::nullopt},
        {S("あ [") + "\x90", std::nullopt},
        {S("あ [字") + "\x90", std::pair(S("あ"), S("字") + "\x90")},
    };
    for (const auto& c : cases) {
        const std::optional<HeadwordForms> found = KanjiHeadwordForms(c.headword);
        ASSERT_EQ(found.has_value(), c.forms.has_value()) << Cp932ToUtf8(c.headword);
        if (found) {
            EXPECT_EQ(found->reading, c.forms->first) << Cp932ToUtf8(c.headword);
            EXPECT_EQ(found->written, c.forms->second) << Cp932ToUtf8(c.headword);
        }
    }
}

TEST(WrittenFormsTest, KanjiTextsFindTheFirstEntryWhoseWrittenFormBeginsWithThem) {
    struct Case {
        const char* text;
        int part;
        const char* top;  // nullptr: no match, the view stays
    };
    const Case cases[] = {
        {"漢字", 6, "かんじ [漢字]"},
        {"漢", 6, "かんじ [漢字]"},
        {"今日", 7, "きょう [今日]"},  // the first of two readings
        {"走る", 26, "はしる [走る]"},
        {"お茶", 5, "おちゃ [お茶]"},
        {"人々", 27, "ひとびと [人々]"},
        {"辞書形", 12, "じしょけい [辞書形]"},
        {"コーヒー豆", 10, "こーひーまめ [コーヒー豆]"},
        {"こーひー豆", 10, "こーひーまめ [コーヒー豆]"},  // katakana turned hiragana as typed
        {"漢字典", 0, nullptr},
        {"鬱", 0, nullptr},
    };
    for (const Case& c : cases) {
        WrittenFormFixture f;
        const LookupOutcome outcome = f.Find(c.text);
        EXPECT_EQ(outcome.matched, c.top != nullptr) << c.text;
        EXPECT_EQ(f.state.currentPart, c.part) << c.text;
        if (c.top != nullptr) {
            EXPECT_EQ(f.Top(), c.top) << c.text;
        }
        EXPECT_FALSE(outcome.writtenFormsMissing);
        EXPECT_TRUE(f.reporter.messages.empty());
    }
    // From another part, and a miss after a hit keeps the view.
    WrittenFormFixture f;
    ASSERT_TRUE(f.Find("はしる").matched);
    ASSERT_TRUE(f.Find("辞書").matched);
    EXPECT_EQ(f.state.currentPart, 12);
    EXPECT_FALSE(f.Find("辞書典").matched);
    EXPECT_EQ(f.Top(), "じしょ [辞書]");
}

// A set built before the written-form file existed, or one whose file is
// damaged: the first kanji typed says so once, and the search by reading
// works as before.
TEST(WrittenFormsTest, WithoutTheFileKanjiAreSearchedAsBeforeAndTheUserIsToldOnce) {
    for (const char* damage : {"", "漢字\tかんじ\n", "漢字\tかんじ\t46\n", "\tかんじ\t6\n"}) {
        WrittenFormFixture f;
        const auto file = WrittenFormFileName(f.dicFile);
        std::filesystem::remove(file);
        if (*damage != '\0') {
            test::WriteBytes(file, S(damage));
        }
        ASSERT_TRUE(f.Find("かんじ").matched);
        const LookupOutcome first = f.Find("漢字");
        EXPECT_TRUE(first.writtenFormsMissing) << damage;
        EXPECT_FALSE(first.matched);
        EXPECT_EQ(f.Top(), "かんじ [漢字]");
        EXPECT_FALSE(f.Find("走").writtenFormsMissing);
        EXPECT_EQ(f.state.currentPart, 6);
        EXPECT_TRUE(f.Find("はしる").matched);
        EXPECT_TRUE(f.reporter.messages.empty());
    }
}

// The binary search over written forms cut to the text's length must give
// what a plain scan gives, also where many forms share their beginning.
TEST(WrittenFormsTest, FindGivesTheFirstFormThatBeginsWithTheTextOfAll) {
    const std::u16string kanji = u"一二三人日本語学生先";
    std::mt19937 random(7);
    std::vector<std::string> entries;
    for (int i = 0; i < 400; ++i) {
        std::u16string form;
        for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) {
            form += kanji[random() % kanji.size()];
        }
        if (random() % 5 == 0) {
            form += u"カナ";
        }
        entries.push_back("よみ" + std::to_string(i) + "[" + Cp932ToUtf8(Utf16ToCp932(form)) +
                          "]\tx");
    }
    WrittenFormFixture f(entries);
    WrittenFormIndex index = WrittenFormIndex::LoadFromFile(WrittenFormFileName(f.dicFile));
    ASSERT_EQ(index.Count(), 400);
    const auto scan = [&](const std::string& text) {
        for (int i = 0; i < index.Count(); ++i) {
            if (KataToHira(index.Entry(i).forms.written).starts_with(KataToHira(text))) {
                return i;
            }
        }
        return -1;
    };
    for (int i = 0; i < index.Count(); ++i) {
        const std::string_view written = index.Entry(i).forms.written;
        for (size_t end = 2; end <= written.size(); end += 2) {
            for (const std::string& text : {std::string(written.substr(0, end)),
                                            std::string(written.substr(0, end)) + S("一")}) {
                const std::optional<WrittenFormEntry> found = index.Find(text);
                const int expected = scan(text);
                ASSERT_EQ(found.has_value(), expected >= 0) << Cp932ToUtf8(text);
                if (found) {
                    EXPECT_EQ(found->forms.reading, index.Entry(expected).forms.reading)
                        << Cp932ToUtf8(text);
                }
            }
        }
    }
}

}  // namespace
}  // namespace tovix
