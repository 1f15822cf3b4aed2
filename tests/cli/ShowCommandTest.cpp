// SPDX-License-Identifier: GPL-3.0-or-later
// tovix-tool show end to end: the entries at the top of the view after a word
// is typed, as text and as JSON that a script parses.

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRun.h"

namespace tovix {
namespace {

using test::CliRun;

// A translation holds a further TAB, quotes and a backslash: JSON escapes them.
constexpr const char* kEnglish =
    "abandon\t捨てる\r\nApple\t林檎\r\napply\t適用する\r\nbank\t銀行\r\n"
    "quote\tsay \"hi\"\t\\n\r\nw\tダブリュー\r\nwolf\t狼\r\nwood\t木\r\nword\t単語\r\n";

constexpr const char* kJapanese =
    "かつ[勝つ]\tto win\r\nかんがえ[考え]\tthought\r\nかんじ[漢字]\tChinese character\r\n"
    "かんじゃ[患者]\tpatient\r\nさかな[魚]\tfish\r\nいきる[生きる]\tto live\r\n"
    "なま[生]\traw\r\nせい[生]\tlife\r\nカミ[紙]\tpaper\r\n";

class ShowCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        run_.Write("ej.txt", kEnglish);
        run_.Write("je.txt", kJapanese);
        ASSERT_EQ(run_.Run({"exm-to-tovix", "--eng", "ej.txt", "EJ.DIC"}).status, 0);
        ASSERT_EQ(run_.Run({"exm-to-tovix", "--jpn", "je.txt", "JE.DIC"}).status, 0);
    }

    CliRun run_;
};

TEST_F(ShowCommandTest, PrintsTheTopEntryAndThoseBeginningTheSame) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* out;
    };
    const Case cases[] = {
        // Guards: switching back to a part already read showed the lines of
        // the part read before it.
        {{"--eng", "EJ.DIC", "wo", "ap", "w"},
         0,
         "【wo】\nwolf\t狼\nwood\t木\nword\t単語\n"
         "【ap】\nApple\t林檎\napply\t適用する\n"
         "【w】\nw\tダブリュー\nwolf\t狼\nwood\t木\nword\t単語\n"},
        {{"--eng", "--max", "2", "EJ.DIC", "W"}, 0, "【W】\nw\tダブリュー\nwolf\t狼\n"},
        // The list ends at the first headword that does not begin the same.
        {{"--eng", "EJ.DIC", "abandon"}, 0, "【abandon】\nabandon\t捨てる\n"},
        // Romaji typed key by key becomes kana, as in the search field.
        {{"--jpn", "JE.DIC", "kannji"},
         0,
         "【kannji】\nかんじ [漢字]\tChinese character\nかんじゃ [患者]\tpatient\n"},
        // A word with a kanji shows the entries whose written form begins
        // with it, from every part; katakana are found as hiragana.
        {{"--jpn", "JE.DIC", "生", "漢字", "かみ", "紙", "生け"},
         1,
         "【生】\nせい [生]\tlife\nなま [生]\traw\nいきる [生きる]\tto live\n"
         "【漢字】\nかんじ [漢字]\tChinese character\n【かみ】\nカミ [紙]\tpaper\n"
         "【紙】\nカミ [紙]\tpaper\n【生け】\n見つかりませんでした。\n"},
        // The bases of the last keystroke, whether those before it matched
        // (wor...) or not (appli...).
        {{"--eng", "EJ.DIC", "words", "applies"},
         0,
         "【words】\n→ word（複数・三単現）\nword\t単語\n"
         "【applies】\n→ apply（複数・三単現）\napply\t適用する\n"},
        {{"--eng", "EJ.DIC", "bank", "apx"},
         1,
         "【bank】\nbank\t銀行\n【apx】\n見つかりませんでした。\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"show"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const auto result = run_.Run(arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments.back() << result.err;
        EXPECT_EQ(result.out, c.out) << c.arguments.back();
    }
    EXPECT_EQ(run_.Run({"show", "--eng", "--max", "0", "EJ.DIC", "a"}).status, 2);
}

// A set built before written-form files existed: a kanji is searched by
// reading as before, and the user is told that a remake adds the file.
TEST_F(ShowCommandTest, WithoutTheWrittenFormFileKanjiAreSearchedByReading) {
    std::filesystem::remove(run_ / "JE.KJI");
    const auto result = run_.Run({"show", "--jpn", "JE.DIC", "漢字", "かんじ"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
              "【漢字】\n見つかりませんでした。\n【かんじ】\nかんじ [漢字]\tChinese character\n"
              "かんじゃ [患者]\tpatient\n");
    EXPECT_NE(result.err.find("JE.KJI"), std::string::npos) << result.err;
}

TEST_F(ShowCommandTest, JsonIsOneParsableObjectPerWord) {
    const auto result = run_.Run({"show", "--eng", "--json", "EJ.DIC", "quote", "zzz", "wor"});
    EXPECT_EQ(result.status, 1);
    std::istringstream lines(result.out);
    std::vector<QJsonObject> objects;
    for (std::string line; std::getline(lines, line);) {
        QJsonParseError error;
        const QJsonDocument document =
            QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line;
        objects.push_back(document.object());
    }
    ASSERT_EQ(objects.size(), 3u);
    const QJsonArray quote = objects[0]["entries"].toArray();
    ASSERT_EQ(quote.size(), 1);
    EXPECT_EQ(quote[0].toObject()["translation"].toString(), QString("say \"hi\"\t\\n"));
    EXPECT_FALSE(objects[1]["found"].toBool());
    EXPECT_EQ(objects[1]["word"].toString(), QString("zzz"));
    EXPECT_TRUE(objects[1]["entries"].toArray().isEmpty());
    const QJsonArray word = objects[2]["entries"].toArray();
    ASSERT_EQ(word.size(), 1);
    EXPECT_EQ(word[0].toObject()["headword"].toString(), QString("word"));
    EXPECT_EQ(word[0].toObject()["translation"].toString(), QString::fromUtf8("単語"));
}

}  // namespace
}  // namespace tovix
