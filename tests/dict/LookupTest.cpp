// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/Lookup.h"

#include <gtest/gtest.h>

#include <new>

#include "components/BvStrings.h"
#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/KanaText.h"
#include "dict/LineStoreView.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

std::string S(const std::string& utf8) {
    return Utf8ToCp932(utf8);
}

// A freshly opened dictionary: the view holds the dictionary file itself.
class LookupFixture {
  public:
    LookupFixture(Direction direction, const std::vector<std::string>& entries)
        : dicFile(test::BuildDictionary(dir, direction, entries)) {
        state.direction = direction;
        state.dicFile = dicFile;
        state.table = TDicTable::LoadFromFile(TableFileName(dicFile), direction);
        view.LoadFromFile(dicFile);
    }

    // Types `keys` one character at a time, as the search field does: each
    // keystroke runs the lookup on the field's text.
    LookupOutcome Type(const std::string& utf8Keys) {
        LookupOutcome outcome;
        std::u16string keys = Cp932ToUtf16(S(utf8Keys));
        for (char16_t key : keys) {
            field += Utf16ToCp932(std::u16string(1, key));
            outcome = Lookup(state, view, reporter, field);
            field = outcome.fieldText;
        }
        return outcome;
    }

    std::string Top() const {
        return view.ViewLineCount().Empty() ? "" : Cp932ToUtf8(view.ViewLine(view.TopLine()));
    }

    test::TempDir dir;
    std::filesystem::path dicFile;
    SearchState state;
    LineStoreView view;
    test::RecordingReporter reporter;
    std::string field;
};

const std::vector<std::string> kEnglish = {
    "3D\t立体",       "abandon\t捨てる", "able\tできる",     "about\tおよそ", "accept\t受け入れる",
    "Apple\t林檎",    "apply\t適用する", "bank\t銀行",       "b.c.\t紀元前",  "email\t電子メール",
    "e-mail\tメール", "emu\tエミュー",   "wolf\t狼",         "wood\t木",      "word\t単語",
    "w\tダブリュー",  "zoo\t動物園",     "cab\tタクシー",    "cat\t猫",       "cell\t細胞",
    "c'est\tそれは",  "cetacean\t鯨類",  "I'll\tするつもり", "ill\t病気の",
};

TEST(LookupTest, EnglishTypingMovesToTheFirstMatchingHeadword) {
    struct Case {
        const char* typed;
        int part;
        const char* top;  // expected top line; nullptr: the view stays
    };
    const Case cases[] = {
        {"app", 1, "Apple "},  {"APPL", 1, "Apple "}, {"apply", 1, "apply "}, {"abo", 1, "about "},
        {"acc", 1, "accept "}, {"3d", 1, "3D "},      {"e-m", 5, "e-mail "},  {"em", 5, "email "},
        {"emu", 5, "emu "},    {"w", 23, "w "},       {"wo", 23, "wolf "},    {"wor", 23, "word "},
        {"b.", 2, "b.c. "},    {"zoo", 26, "zoo "},   {"xyz", 24, nullptr},   {"c'e", 3, "c'est "},
        {"I'", 9, "I'll "},    {"ill", 9, "ill "},
    };
    for (const Case& c : cases) {
        LookupFixture f(Direction::English, kEnglish);
        LookupOutcome outcome = f.Type(c.typed);
        EXPECT_EQ(f.state.currentPart, c.part) << c.typed;
        EXPECT_EQ(outcome.matched, c.top != nullptr) << c.typed;
        if (c.top != nullptr) {
            EXPECT_EQ(f.Top(), c.top) << c.typed;
        }
        EXPECT_TRUE(f.reporter.messages.empty());
    }
}

TEST(LookupTest, ClearingTheFieldReturnsToTheFirstLine) {
    LookupFixture f(Direction::English, kEnglish);
    f.Type("acc");
    ASSERT_EQ(f.Top(), "accept ");
    LookupOutcome outcome = Lookup(f.state, f.view, f.reporter, "");
    EXPECT_TRUE(outcome.matched);
    EXPECT_EQ(f.view.TopLine(), ViewLineIndex(0));
}

const std::vector<std::string> kJapanese = {
    "かんじ[漢字]\tChinese character",
    "かんがえ[考え]\tthought",
    "がっこう[学校]\tschool",
    "かつ[勝つ]\tto win",
    "ちから[力]\tpower",
    "ぢめん[地面]\tground",
    "さかな[魚]\tfish",
    "さ\tdifference",
    "きょう[今日]\ttoday",
    "きよい[清い]\tclean",
    "っぽ\tsmall tsu",
    "ふあい[不愛]\tunkind",
    "ふぁいる[ファイル]\tfile",
    "かあさん[母さん]\tmother",
    "かーど[カード]\tcard",
    "こーひー[コーヒー]\tcoffee",
};

TEST(LookupTest, JapaneseTypingConvertsRomajiAndFolds) {
    struct Case {
        const char* typed;
        const char* field;
        int part;
        const char* top;
    };
    const Case cases[] = {
        {"kanji", "かnji", 6, "かあさん [母さん]"},  // n, nj, nji are no keys: no match, line 0
        {"kannji", "かんじ", 6, "かんじ [漢字]"},
        {"gakkou", "がっこう", 6, "がっこう [学校]"},
        {"KA", "KA", 0, nullptr},
        {"ti", "ち", 17, "ちから [力]"},
        {"di", "ぢ", 17, "ぢめん [地面]"},
        {"sa", "さ", 11, "さ [さ]"},
        {"kyo", "きょ", 7, "きょう [今日]"},
        {"fa", "ふぁ", 28, "ふぁいる [ファイル]"},
        {"ka-", "かー", 6, "かーど [カード]"},
        // Katakana from an input method is looked up as its hiragana reading.
        {"コーヒー", "こーひー", 10, "こーひー [コーヒー]"},
        {"koヒ", "こひ", 10, "こーひー [コーヒー]"},
    };
    for (const Case& c : cases) {
        LookupFixture f(Direction::Japanese, kJapanese);
        f.Type(c.typed);
        EXPECT_EQ(Cp932ToUtf8(f.field), c.field) << c.typed;
        EXPECT_EQ(f.state.currentPart, c.part) << c.typed;
        if (c.top != nullptr) {
            EXPECT_EQ(f.Top(), c.top) << c.typed;
        }
    }
}

// Headwords and readings of every kind, each typed a character at a time
// into the field: every keystroke must bring a headword that begins with the
// text typed so far to the top. Guards headwords that the table filed under
// another key than the search looks in (o'clock, めをうばう, っちょ, ヴ...).
TEST(LookupTest, EveryHeadwordIsFoundTypedKeyByKey) {
    const std::vector<std::string> english = {
        "apple\t林檎",       "Apple pie\tパイ",    "-able\t可能な",
        "A-bomb\t原爆",      "abacus\tそろばん",   "o'clock\t時",
        "oak\t樫",           "odd\t奇妙な",        "I'll\tつもり",
        "ill\t病気の",       "c'est la vie\t人生", "cell\t細胞",
        "'correct'\t正しい", "correct\t正しい",    "3D\t立体",
        "(a)\t印",           "a bit\t少し",        "aardvark\tツチブタ",
        "b.c.\t紀元前",      "w\tダブリュー",      "e-mail\tメール",
        "email\t電子メール", "X-ray\tレントゲン",  "xylophone\t木琴",
    };
    const std::vector<std::string> japanese = {
        "かんじ[漢字]\tkanji",
        "がっこう[学校]\tschool",
        "ぱん[パン]\tbread",
        "っちょ\tsuffix",
        "っきり\tonly",
        "きょう[今日]\ttoday",
        "ふぁいる[ファイル]\tfile",
        "かーど[カード]\tcard",
        "ゝ\titeration mark",
        "ー\tlong vowel mark",
        "めをうばわれる[目を奪われる]\tbe captivated",
        "みをこがす[身を焦がす]\tpine",
        "ひをみるよりあきらか[火を見るより明らか]\tplain",
        "をかし\tcharming",
        "ゐなか[田舎]\tcountry",
        "だヴぃでのほし[ダビデの星]\tstar of David",
        "ヴぁいおりん[ヴァイオリン]\tviolin",
        "あ・かぺら[ア・カペラ]\ta cappella",
        "あい[愛]\tlove",
        "ぢめん[地面]\tground",
        "わん[椀]\tbowl",
        "んー\thmm",
    };
    // Readings in katakana, as an [EXM] file or an edit may give them, filed
    // with their hiragana: more than a chunk of the lookup's summary in a row.
    // Fault: typed as hiragana, they were compared and summarised as bytes.
    std::vector<std::string> withKatakana = japanese;
    const std::u16string kana =
        u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワ"
        u"ン";
    for (const char16_t second : kana) {
        withKatakana.push_back(Cp932ToUtf8(Utf16ToCp932(std::u16string{u'カ', second})) +
                               "[紙]\tpaper");
    }
    for (const auto& [direction, entries] :
         {std::pair{Direction::English, english}, std::pair{Direction::Japanese, withKatakana}}) {
        LookupFixture f(direction, entries);
        for (const std::string& entry : entries) {
            const std::string word = entry.substr(0, entry.find_first_of("[\t"));
            f.field.clear();
            std::u16string typed;
            for (char16_t key : Cp932ToUtf16(S(word))) {
                typed += key;
                const LookupOutcome outcome =
                    f.Type(Cp932ToUtf8(Utf16ToCp932(std::u16string(1, key))));
                const std::string prefix = Cp932ToUtf8(Utf16ToCp932(typed));
                EXPECT_TRUE(outcome.matched) << word << ": " << prefix;
                const std::string top = S(f.Top()).substr(0, S(prefix).size());
                EXPECT_EQ(direction == Direction::English ? MbLowerCase(top) : KataToHira(top),
                          direction == Direction::English ? MbLowerCase(S(prefix))
                                                          : KataToHira(S(prefix)))
                    << word;
            }
        }
    }
}

TEST(LookupTest, MissingPartFileIsReportedAndLoadedAgainLater) {
    LookupFixture f(Direction::English, kEnglish);
    const std::filesystem::path part2 = PartFileName(f.dicFile, 2);
    const std::filesystem::path saved = f.dir / "saved.002";
    std::filesystem::rename(part2, saved);

    f.Type("b");
    ASSERT_EQ(f.reporter.messages.size(), 1u);
    EXPECT_EQ(f.reporter.messages[0].text, "   辞書ファイルがオープンできません。          ");
    EXPECT_EQ(f.state.currentPart, 0);
    EXPECT_EQ(f.view.ViewLineCount(), LineCount(0));

    f.field.clear();
    f.Type("w");
    EXPECT_EQ(f.state.currentPart, 23);
    EXPECT_EQ(f.Top(), "w ");

    std::filesystem::rename(saved, part2);
    f.field.clear();
    f.Type("ban");
    EXPECT_EQ(f.state.currentPart, 2);
    EXPECT_EQ(f.Top(), "bank ");
}

// Guards the promise the window's guard relies on: a part that fails to load
// for another reason than a file error leaves the view and the current part
// as they were, so the failed keystroke changes nothing.
TEST(LookupTest, PartThatFailsToLoadLeavesTheViewAsItWas) {
    LookupFixture f(Direction::English, kEnglish);
    f.Type("ban");
    ASSERT_EQ(f.state.currentPart, 2);
    class OutOfMemory : public LookupView {
      public:
        explicit OutOfMemory(LineStoreView& view) : view_(view) {}
        LineCount ViewLineCount() const override { return view_.ViewLineCount(); }
        std::string_view ViewLine(ViewLineIndex n) const override { return view_.ViewLine(n); }
        std::uint64_t Revision() const override { return view_.Revision(); }
        void LoadFromFile(const std::filesystem::path&) override { throw std::bad_alloc(); }
        ViewLineIndex TopLine() const override { return view_.TopLine(); }
        void SetTopLine(ViewLineIndex n) override { view_.SetTopLine(n); }

      private:
        LineStoreView& view_;
    } failing(f.view);
    EXPECT_THROW(Lookup(f.state, failing, f.reporter, "z"), std::bad_alloc);
    EXPECT_EQ(f.state.currentPart, 2);
    EXPECT_EQ(f.Top(), "bank ");
    EXPECT_TRUE(f.reporter.messages.empty());
}

TEST(LookupTest, WithoutDirectionOrDictionaryNothingIsSearched) {
    LookupFixture f(Direction::English, kEnglish);
    f.state.direction = Direction::None;
    Lookup(f.state, f.view, f.reporter, "a");
    ASSERT_EQ(f.reporter.messages.size(), 1u);
    EXPECT_EQ(f.reporter.messages[0].text, "   辞書判別が正しくありません。          ");

    f.state.direction = Direction::Japanese;
    f.state.dicFile.clear();
    LookupOutcome outcome = Lookup(f.state, f.view, f.reporter, S("ka"));
    EXPECT_EQ(Cp932ToUtf8(outcome.fieldText), "か");
    EXPECT_FALSE(outcome.matched);
    EXPECT_EQ(f.state.currentPart, 0);
}

TEST(LookupTest, ComparisonStopsAtTheLastLineOfThePart) {
    // A table whose values point past the loaded part must not be followed
    // beyond its last line.
    LookupFixture f(Direction::English, kEnglish);
    std::vector<std::string> lines;
    for (int i = 0; i < f.state.table.Count(); ++i) {
        std::string line = f.state.table.Get(i);
        if (!f.state.table.IsMarker(i)) {
            line = line.substr(0, 3) + "99999";
        }
        lines.push_back(line);
    }
    f.state.table = TDicTable(lines, Direction::English, "damaged.DAT");
    EXPECT_FALSE(f.Type("xyz").matched);
    EXPECT_TRUE(Lookup(f.state, f.view, f.reporter, "zoo").matched);
}

// A view whose lines the test edits, as entry editing edits the main view.
class EditableView : public LookupView {
  public:
    LineCount ViewLineCount() const override { return LineCount(lines.Count()); }
    std::string_view ViewLine(ViewLineIndex n) const override { return lines.View(n.value); }
    std::uint64_t Revision() const override { return lines.Revision(); }
    void LoadFromFile(const std::filesystem::path& path) override {
        top = ViewLineIndex(0);
        lines.LoadFromFile(path);
    }
    ViewLineIndex TopLine() const override { return top; }
    void SetTopLine(ViewLineIndex n) override { top = n; }

    TBvStrings lines;
    ViewLineIndex top{0};
};

TEST(LookupTest, EditedLinesAreLookedUpAsTheyStandNow) {
    // Enough entries under one key that the lookup can pass over whole runs
    // of lines; what it passes over must follow the edits.
    std::vector<std::string> entries;
    for (int i = 0; i < 200; ++i) {
        entries.push_back("cax" + std::to_string(1000 + i) + "\t数");
    }
    LookupFixture f(Direction::English, entries);
    EditableView view;
    ASSERT_TRUE(Lookup(f.state, view, f.reporter, "cax1190").matched);
    const ViewLineIndex line = view.TopLine();
    ASSERT_EQ(view.ViewLine(line).substr(0, 7), "cax1190");

    view.lines.Put(line.value, "caz ");
    EXPECT_TRUE(Lookup(f.state, view, f.reporter, "caz").matched);
    EXPECT_EQ(view.TopLine(), line);
    EXPECT_FALSE(Lookup(f.state, view, f.reporter, "cax1190").matched);

    view.lines.Insert(0, "x");
    view.lines.Insert(0, "y");
    EXPECT_TRUE(Lookup(f.state, view, f.reporter, "cax1191").matched);
    EXPECT_EQ(view.TopLine(), line + 4);
}

// Fault: after another copy changed the set, the view read the new part file
// but kept the old table, whose key ranges no longer fit it: "bank", now
// further down its part, was not found.
TEST(LookupTest, ATableReplacedByAnotherCopyIsReadAgainWithTheNextPart) {
    LookupFixture f(Direction::English, {"apple\t林檎", "bank\t銀行"});
    f.Type("apple");
    EXPECT_EQ(f.Top(), "apple ");
    std::vector<std::string> more = {"apple\t林檎", "bank\t銀行"};
    for (const char* word : {"baa", "bab", "bac", "bad", "bag", "bah"}) {
        more.push_back(std::string(word) + "\tb");
    }
    test::BuildDictionary(f.dir, Direction::English, more);
    f.field.clear();
    EXPECT_TRUE(f.Type("bank").matched);
    EXPECT_EQ(f.Top(), "bank ");
}

}  // namespace
}  // namespace tovix
