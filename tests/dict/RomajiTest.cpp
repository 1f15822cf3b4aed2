// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/Romaji.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "platform/Cp932.h"

namespace tovix {
namespace {

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

TEST(RomajiTest, LookupNeedsTheWholeKeyInLowerCase) {
    struct Case {
        const char* text;
        const char* kana;  // empty: no key
    };
    const Case cases[] = {
        {"kya", "きゃ"},    {"KYA", ""},        {"Kya", ""},       {"ky", ""},
        {"k", ""},          {"tta", "った"},    {"ttsu", "っつ"},  {"sshi", "っし"},
        {"cchi", "っち"},   {"ccya", "っちゃ"}, {"lsu", "っ"},     {"llsu", ""},
        {"nn", "ん"},       {"n", ""},          {"nna", "っな"},   {"-", "ー"},
        {"--", ""},         {"la", "あ"},       {"lya", "ゃ"},     {"llya", "っゃ"},
        {"yi", "い"},       {"ye", "いぇ"},     {"wu", "う"},      {"wwo", "っを"},
        {"fyi", "ふぃ"},    {"ji", "じ"},       {"jja", "っじゃ"}, {"ddha", "っでゃ"},
        {"ppyo", "っぴょ"}, {"kk", ""},         {"kx", ""},        {"ka ", ""},
        {"", ""},           {"aa", ""},         {"kka", "っか"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(RomajiToKana(c.text)), S(c.kana)) << '"' << c.text << '"';
    }
}

TEST(RomajiTest, TableHasUniqueKeysAndTheDoubledConsonants) {
    const std::vector<RomajiPair>& table = RomajiTable();
    std::set<std::string> keys;
    std::set<std::string> doubled;
    for (const RomajiPair& pair : table) {
        EXPECT_TRUE(keys.insert(pair.key).second) << "duplicate " << pair.key;
        EXPECT_FALSE(pair.kana.empty()) << pair.key;
        if (pair.key != "lsu" && pair.kana.starts_with(S("っ"))) {
            doubled.insert(pair.key);
            EXPECT_EQ(pair.kana, S("っ") + std::string(RomajiToKana(pair.key.substr(1))))
                << pair.key;
        }
    }
    EXPECT_EQ(table.size(), 380u);

    std::istringstream listed(
        "lla lli llu lle llo kka kki kku kke kko kkya kkyi kkyu kkye kkyo ssa ssi ssu sse sso "
        "sshi ssya ssyi ssyu ssye ssyo ssha sshu sshe ssho tta tti ttu tte tto cchi ttsu ttya "
        "ttyi ttyu ttye ttyo ccya ccyi ccyu ccye ccyo ccha cchu cche ccho ttha tthi tthu tthe "
        "ttho nna nni nnu nne nno nnya nnyi nnyu nnye nnyo hha hhi hhu hhe hho ffu hhya hhyi "
        "hhyu hhye hhyo ffa ffi ffe ffo ffya ffyi ffyu ffye ffyo mma mmi mmu mme mmo mmya mmyi "
        "mmyu mmye mmyo yya yyi yyu yye yyo llya llyi llyu llye llyo rra rri rru rre rro rrya "
        "rryi rryu rrye rryo wwa wwi wwu wwe wwo gga ggi ggu gge ggo ggya ggyi ggyu ggye ggyo zza "
        "zzi zzu zze zzo jji jjya jjyi jjyu jjye jjyo zzya zzyi zzyu zzye zzyo jja jju jje jjo "
        "dda ddi ddu dde ddo ddya ddyi ddyu ddye ddyo ddha ddhi ddhu ddhe ddho bba bbi bbu bbe "
        "bbo bbya bbyi bbyu bbye bbyo ppa ppi ppu ppe ppo ppya ppyi ppyu ppye ppyo");
    std::set<std::string> expected;
    for (std::string key; listed >> key;) {
        expected.insert(key);
    }
    EXPECT_EQ(expected.size(), 186u);
    EXPECT_EQ(doubled, expected);
}

}  // namespace
}  // namespace tovix
