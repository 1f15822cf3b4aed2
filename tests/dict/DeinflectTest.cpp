// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/Deinflect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "dict/EnglishInflection.h"
#include "dict/HeadwordIndex.h"
#include "platform/Cp932.h"
#include "platform/FaultInjection.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

using namespace word_class;

std::string S(const std::string& utf8) {
    return Utf8ToCp932(utf8);
}

// Every row of the table, godan rows spelled out, turns a word that ends in
// its inflected ending back into one with its dictionary ending and class.
TEST(DeinflectTest, EveryRuleUndoesItsEnding) {
    ASSERT_GT(InflectionRules().size(), 150u);
    for (const InflectionRule& rule : InflectionRules()) {
        // A passing form ends in て or で, which a later rule must undo.
        const std::string stem = S(rule.base == S("で") ? "読ん" : "試");
        const std::string typed = stem + rule.inflected;
        const std::vector<Deinflection> all = Deinflect(typed);
        const bool found = std::any_of(all.begin(), all.end(), [&](const Deinflection& d) {
            if (d.rules.empty() || d.rules.front() != &rule) {
                return false;
            }
            // A passing form (the て of ている) is undone by a later rule.
            return (rule.result & kDictionary) == 0 ||
                   (d.word == stem + rule.base && d.classes == rule.result);
        });
        EXPECT_TRUE(found) << Cp932ToUtf8(typed) << " -> " << Cp932ToUtf8(stem + rule.base);
        EXPECT_FALSE(rule.reason.empty() && !rule.name.empty()) << Cp932ToUtf8(rule.inflected);
    }
}

TEST(DeinflectTest, ChainsReachTheDictionaryForm) {
    struct Case {
        const char* typed;
        const char* base;
        WordClasses classes;
        const char* names;
    };
    const Case cases[] = {
        {"食べた", "食べる", kIchidan, "過去"},
        {"たべました", "たべる", kIchidan, "丁寧・過去"},
        {"行った", "行く", kGodan, "過去"},
        {"いって", "いく", kGodan, "て形"},
        {"買った", "買う", kGodan, "過去"},
        {"泳いだ", "泳ぐ", kGodan, "過去"},
        {"死んで", "死ぬ", kGodan, "て形"},
        {"話さない", "話す", kGodan, "否定"},
        {"待ちます", "待つ", kGodan, "丁寧"},
        {"勉強した", "勉強", kSuruNoun, "過去"},
        {"見させられた", "見る", kIchidan, "使役・受身・過去"},
        {"食べられる", "食べる", kIchidan, "受身"},
        {"食べさせられなかった", "食べる", kIchidan, "使役・受身・否定・過去"},
        {"高かった", "高い", kAdjective, "過去"},
        {"高くない", "高い", kAdjective, "否定"},
        {"高ければ", "高い", kAdjective, "仮定"},
        {"来なかった", "来る", kKuru, "否定・過去"},
        {"こられる", "くる", kKuru, "受身・可能"},
        {"読んでいる", "読む", kGodan, "て形・進行"},
        {"読んでいました", "読む", kGodan, "て形・進行・丁寧・過去"},
        {"買っちゃった", "買う", kGodan, "て形・完了・過去"},
        {"食べたくない", "食べる", kIchidan, "願望・否定"},
        {"書かされた", "書く", kGodan, "使役受身・過去"},
        {"書ける", "書く", kGodan, "可能"},
        {"書こう", "書く", kGodan, "意志"},
        {"しろ", "する", kSuru, "命令"},
        {"食べず", "食べる", kIchidan, "否定（ず）"},
        {"タベタ", "たべる", kIchidan, "過去"},
    };
    for (const Case& c : cases) {
        const std::vector<Deinflection> all = Deinflect(S(c.typed));
        const auto found = std::find_if(all.begin(), all.end(), [&](const Deinflection& d) {
            return d.word == S(c.base) && (d.classes & c.classes) != 0;
        });
        ASSERT_NE(found, all.end()) << c.typed;
        EXPECT_EQ(Cp932ToUtf8(RuleNames(found->rules)), c.names) << c.typed;
    }
}

TEST(DeinflectTest, EndingsMatchOnlyWholeCharacters) {
    // A kanji whose trail byte is 82, then the half-width ｽ (BD): the last
    // two bytes are those of た, but no character た ends the text.
    const std::string text = "\x88\x82\xBD";
    for (const Deinflection& d : Deinflect(text)) {
        EXPECT_EQ(d.word.substr(0, 2), text.substr(0, 2));
    }
    EXPECT_TRUE(Deinflect("").empty());
}

TEST(DeinflectTest, MarksOfTheTranslationGiveTheClasses) {
    const std::pair<const char*, WordClasses> cases[] = {
        {"(P) 《一段・他》to eat", kIchidan},
        {"《名・する》study / 《名》learning", kSuru | kSuruNoun},
        {"《五段・自》to go", kGodan},
        {"《形》high", kAdjective},
        {"《形動》quiet", 0},
        {"《名》kanji", 0},
        {"《カ変》to come", kKuru},
        {"to eat", kAny},
        {"《一段", kAny},
    };
    for (const auto& [translation, classes] : cases) {
        EXPECT_EQ(ClassesOfTranslation(S(translation)), classes) << translation;
    }
}

TEST(EnglishInflectionTest, RegularRulesAndExceptionLists) {
    test::TempDir dir;
    std::ofstream(dir.path() / "verb.exc") << "went go\n";
    std::ofstream(dir.path() / "noun.exc")
        << "mice mouse\nchildren child\nattorneys_general attorney_general\n";
    std::ofstream(dir.path() / "adj.exc") << "better good well\n";
    const std::optional<EnglishExceptions> lists = EnglishExceptions::Load(dir.path());
    ASSERT_TRUE(lists);
    const std::pair<const char*, const char*> cases[] = {
        {"walked", "walk"}, {"studies", "study"},  {"stopped", "stop"},
        {"making", "make"}, {"running", "run"},    {"dying", "die"},
        {"bigger", "big"},  {"happiest", "happy"}, {"boxes", "box"},
        {"wolves", "wolf"}, {"carried", "carry"},  {"Apples", "apple"},
        {"went", "go"},     {"mice", "mouse"},     {"better", "good"},
        {"better", "well"}, {"children", "child"}, {"attorneys general", "attorney general"},
        {"women", "woman"},
    };
    for (const auto& [typed, base] : cases) {
        const std::vector<EnglishBase> bases = EnglishBases(typed, &*lists);
        EXPECT_TRUE(std::any_of(bases.begin(), bases.end(),
                                [&](const EnglishBase& b) { return b.word == base; }))
            << typed << " -> " << base;
    }
    // An irregular comparison takes no regular one: better is not bet's.
    for (const EnglishBase& b : EnglishBases("better", &*lists)) {
        EXPECT_NE(b.word, "bet");
    }
    // Without the lists the regular rules still apply; nothing shorter than
    // two letters is offered.
    EXPECT_EQ(EnglishBases("walked", nullptr).front().word, "walk");
    EXPECT_TRUE(EnglishBases("went", nullptr).empty());
    for (const EnglishBase& b : EnglishBases("is", nullptr)) {
        EXPECT_GE(b.word.size(), 2u);
    }
    EXPECT_FALSE(EnglishExceptions::Load(dir.path() / "none"));

    // Words are split at any run of blanks, as a stream reads them; a line
    // of one word gives no base.
    std::ofstream(dir.path() / "adv.exc")
        << "  geese\t goose  \nlonely\n\n\v\noxen\vox\fox_en\r\ndata datum\tdata\n";
    const std::optional<EnglishExceptions> blanks = EnglishExceptions::Load(dir.path());
    ASSERT_TRUE(blanks);
    const auto words = [&](std::string_view form) {
        std::vector<std::string> found;
        for (const EnglishBase& b : blanks->Find(form)) {
            found.push_back(b.word);
        }
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(words("geese"), std::vector<std::string>{"goose"});
    EXPECT_TRUE(words("lonely").empty());
    EXPECT_EQ(words("oxen"), (std::vector<std::string>{"ox", "ox en"}));
    EXPECT_EQ(words("data"), (std::vector<std::string>{"data", "datum"}));
    EXPECT_EQ(blanks->Count(), lists->Count() + 5);

    // A list that cannot be read to its end is left out whole, the others
    // still count.
    InjectFault(FaultOperation::Read, 1, FaultAction::Fail);
    const std::optional<EnglishExceptions> partial = EnglishExceptions::Load(dir.path());
    ClearFaults();
    ASSERT_TRUE(partial);
    EXPECT_TRUE(partial->Find("mice").empty());
    EXPECT_EQ(partial->Find("went").at(0).word, "go");
}

}  // namespace
}  // namespace tovix
