// SPDX-License-Identifier: GPL-3.0-or-later
// The entries of a Japanese-English set stand by reading, common words first,
// then by written form: the entries of one reading together.
#include <gtest/gtest.h>

#include "components/BvStrings.h"
#include "dict/DicFileSet.h"
#include "dict/JpnEntryOrder.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/ShowEntries.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

std::string S(const std::string& utf8) {
    return Utf8ToCp932(utf8);
}

TEST(ReadingOrderTest, EntriesOfOneReadingStandTogetherCommonFirst) {
    test::TempDir dir;
    const std::filesystem::path dic = test::BuildDictionary(
        dir, Direction::Japanese,
        {"かんじ[冠辞]\tepithet", "かんし[冠詞]\tarticle", "かんじ[漢字]\t(P) kanji",
         "かんじ[感じ]\t(P) feeling", "かんしゃ[感謝]\tthanks", "かんじ[幹事]\t(P) secretary",
         "かんじる[感じる]\tto feel", "かんじ\tunwritten", "カンジ[カンジ]\tkatakana"});
    TBvStrings part;
    part.LoadFromFile(PartFileName(dic, 6));  // か
    std::vector<std::string> heads;
    for (int n = 0; n < part.Count(); n += 2) {
        heads.push_back(Cp932ToUtf8(part.View(n)));
    }
    const std::vector<std::string> expected = {
        "かんし [冠詞]",   "かんじ [幹事]",   "かんじ [感じ]",
        "かんじ [漢字]",   "かんじ [かんじ]", "かんじ [冠辞]",
        "カンジ [カンジ]", "かんしゃ [感謝]", "かんじる [感じる]"};
    EXPECT_EQ(heads, expected);

    SearchState state;
    state.direction = Direction::Japanese;
    state.dicFile = dic;
    state.table = TDicTable::LoadFromFile(TableFileName(dic), Direction::Japanese);
    LineStoreView view;
    view.LoadFromFile(dic);
    test::RecordingReporter reporter;
    const ShownWord shown = ShowWord(state, view, reporter, {S("か"), S("ん"), S("じ")}, 20);
    ASSERT_GE(shown.entries.size(), 6u);
    EXPECT_EQ(Cp932ToUtf8(shown.entries[0].headword), "かんじ [幹事]");
    EXPECT_EQ(Cp932ToUtf8(shown.entries[4].headword), "かんじ [冠辞]");
}

TEST(ReadingOrderTest, OrderLineTakesReadingMarkWrittenFormAndTranslation) {
    EXPECT_EQ(JpnOrderLine(S("かんじ [漢字]\t(P) kanji")),
              S("かんじ\t0漢字\t(P) kanji\tかんじ [漢字]\t(P) kanji"));
    EXPECT_EQ(JpnOrderLine(S("あい\tlove")), S("あい\t1\tlove\tあい\tlove"));
    EXPECT_EQ(JpnOrderLine("x"), "x\t1\t\tx");
}

}  // namespace
}  // namespace tovix
