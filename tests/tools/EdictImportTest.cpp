// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/EdictImport.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <string>

#include "platform/Cp932.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/Chains.h"

namespace tovix {
namespace {

std::string ToEucJp(const std::string& utf8) {
    std::string out(utf8.size() * 2 + 1, '\0');
    UErrorCode error = U_ZERO_ERROR;
    const int32_t n = ucnv_convert("EUC-JP", "UTF-8", out.data(), static_cast<int32_t>(out.size()),
                                   utf8.data(), static_cast<int32_t>(utf8.size()), &error);
    EXPECT_TRUE(U_SUCCESS(error)) << u_errorName(error);
    out.resize(static_cast<size_t>(n));
    return out;
}

// A small EDICT file in its own encoding, LF line ends, with the shapes the
// real file has: the header line, kanji with kana, kana only, katakana
// readings, tags, a sense number, several senses, an entry with a character
// CP932 lacks, a line without glosses and a line that is not EUC-JP.
std::string EdictFixture(bool utf8 = false) {
    const char* lines[] = {
        "　？？？ /EDICT, EDICT_SUB(P), EDICT2 Japanese-English Electronic Dictionary Files/",
        "着付ける [きつける] /(v1,vt) (1) to put on/to wear/(v1,vt) (2) to be used to wearing/",
        "ディスプレイ /(n,vs) (comp) display/(P)/",
        "ＤＶ夫 [ディーブイおっと] /(n) (col) (physically) abusive husband/wife beater/",
        "ヴァイオリン /(n) violin/",
        "着服 [ちゃくふく] /(n,vs) (1) dressing oneself/(n,vs) (2) embezzlement/(P)/",
        "着服 [ちゃくぶく] /(n,vs) (1) dressing oneself/(n,vs) (2) embezzlement/",
        "カフェ /(n) café/",
        "４° [しど] /",
        "～頃 [～ごろ] /(suf) around (time)/",
        "着る [きる] /(v1,vt) to wear/to put on/(P)/",
        "コーヒー /(n) coffee/(P)/",
        "確かに [たしかに] /(adv) surely/(exp) to be sure/",
    };
    std::string out;
    for (const char* line : lines) {
        out += (utf8 ? std::string(line) : ToEucJp(line)) + "\n";
    }
    out += "\xA1 /(n) broken/\n";
    return out;
}

std::string Cp932Lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines) {
        out += Utf8ToCp932(line) + "\r\n";
    }
    return out;
}

TEST(EdictImportTest, WritesByteExactExmForBothDirections) {
    struct Case {
        Direction direction;
        std::string expected;
        size_t written;
    };
    const Case cases[] = {
        {Direction::Japanese,
         Cp932Lines({
             // (P), the parts of speech beginning each sense and " / " between
             // senses; a part of speech repeated by the next sense stands once.
             "きつける[着付ける]\t《一段・他》to put on,to wear / to be used to wearing",
             "でぃすぷれい[ディスプレイ]\t(P) 《名・する》display",
             "でぃーぶいおっと[ＤＶ夫]\t《名》(physically) abusive husband,wife beater",
             "ヴぁいおりん[ヴァイオリン]\t《名》violin",
             "ちゃくふく[着服]\t(P) 《名・する》dressing oneself / embezzlement",
             "ちゃくぶく[着服]\t《名・する》dressing oneself / embezzlement",
             "～ごろ[～頃]\t《接尾》around (time)",
             "きる[着る]\t(P) 《一段・他》to wear,to put on",
             "こーひー[コーヒー]\t(P) 《名》coffee",
             "たしかに[確かに]\t《副》surely / 《句》to be sure",
         }),
         10},
        {Direction::English,
         Cp932Lines({
             // Readings after written forms that differ, common words first
             // and marked.
             "put on\t着る(きる)(P),着付ける(きつける)",
             "wear\t着る(きる)(P),着付ける(きつける)",
             "be used to wearing\t着付ける(きつける)",
             "display\tディスプレイ(P)",
             "abusive husband\tＤＶ夫(ディーブイおっと)",
             "wife beater\tＤＶ夫(ディーブイおっと)",
             "violin\tヴァイオリン",
             "dressing oneself\t着服(ちゃくふく)(P),着服(ちゃくぶく)",
             "embezzlement\t着服(ちゃくふく)(P),着服(ちゃくぶく)",
             "around\t～頃(～ごろ)",
             "coffee\tコーヒー(P)",
             "surely\t確かに(たしかに)",
             "to be sure\t確かに(たしかに)",
         }),
         13},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::WriteBytes(dir / "edict", EdictFixture());
        const EdictImportCounts counts = ConvertEdict(dir / "edict", dir / "out.txt", c.direction);
        EXPECT_EQ(test::ReadBytes(dir / "out.txt"), c.expected);
        EXPECT_EQ(counts.written, c.written);
        EXPECT_EQ(counts.skipped, 2u);    // café, the byte that is not EUC-JP
        EXPECT_EQ(counts.malformed, 1u);  // ４° without a gloss
    }
}

// Guards a fault: "寿司;鮨;鮓 [すし;スシ]" became one written form "寿司;鮨;鮓",
// so 鮨 could not be found. Every reading with every written form it belongs
// to is a headword of its own; a form CP932 lacks is left out alone and
// listed with its line.
TEST(EdictImportTest, Edict2FormsAreHeadwordsOfTheirOwn) {
    const std::string edict =
        "寿司;鮨;鮓 [すし;スシ] /(n) sushi/(P)/EntL1234560X/\n"
        "阿;亜(oK) [あ(阿);お(P)] /(pref) a-/\n"
        "スシ;すし /(n) sushi bar/\n"
        "𠮟る;叱る [しかる] /(v5r,vt) to scold/\n"
        "𠮟 [しつ] /(n) scolding/\n";
    test::TempDir dir;
    test::WriteBytes(dir / "edict", edict);
    const EdictImportCounts counts =
        ConvertEdict(dir / "edict", dir / "out.txt", Direction::Japanese, TextEncoding::Utf8);
    EXPECT_EQ(test::ReadBytes(dir / "out.txt"), Cp932Lines({
                                                    "すし[寿司]\t(P) 《名》sushi",
                                                    "すし[鮨]\t(P) 《名》sushi",
                                                    "すし[鮓]\t(P) 《名》sushi",
                                                    "あ[阿]\t《接頭》a-",
                                                    "お[阿]\t《接頭》a-",
                                                    "お[亜]\t《接頭》a-",
                                                    "すし[スシ]\t《名》sushi bar",
                                                    "すし[すし]\t《名》sushi bar",
                                                    "しかる[叱る]\t《五段・他》to scold",
                                                }));
    EXPECT_EQ(counts.written, 9u);
    ASSERT_EQ(counts.skips.size(), 2u);
    EXPECT_EQ(counts.skips[0].line, 4u);
    EXPECT_EQ(counts.skips[0].word, "𠮟る[しかる]");
    EXPECT_EQ(counts.skips[1].line, 5u);
    EXPECT_EQ(counts.skips[1].word, "𠮟[しつ]");
    EXPECT_EQ(counts.skipped, 2u);

    const EdictImportCounts english =
        ConvertEdict(dir / "edict", dir / "en.txt", Direction::English, TextEncoding::Utf8);
    // E-J names the first written form that CP932 can hold.
    const std::string en = test::ReadBytes(dir / "en.txt");
    EXPECT_NE(en.find(Utf8ToCp932("sushi\t寿司(すし)(P)\r\n")), std::string::npos);
    EXPECT_NE(en.find(Utf8ToCp932("scold\t叱る(しかる)\r\n")), std::string::npos);
    ASSERT_EQ(english.skips.size(), 1u);
    EXPECT_EQ(english.skips[0].line, 5u);
}

// A UTF-8 EDICT, with or without byte-order mark, gives the same [EXM] as the
// EUC-JP one; --encoding overrides the look.
TEST(EdictImportTest, Utf8EdictImportsLikeEucJp) {
    test::TempDir dir;
    test::WriteBytes(dir / "euc", EdictFixture());
    ConvertEdict(dir / "euc", dir / "expected.txt", Direction::Japanese);
    for (const std::string& bom : {std::string(), std::string("\xEF\xBB\xBF")}) {
        test::WriteBytes(dir / "utf8", bom + EdictFixture(true));
        const EdictImportCounts counts =
            ConvertEdict(dir / "utf8", dir / "out.txt", Direction::Japanese);
        EXPECT_EQ(test::ReadBytes(dir / "out.txt"), test::ReadBytes(dir / "expected.txt"));
        EXPECT_EQ(counts.written, 10u);
        EXPECT_EQ(counts.skipped, 2u);
    }
    const EdictImportCounts forced =
        ConvertEdict(dir / "euc", dir / "out.txt", Direction::Japanese, TextEncoding::Utf8);
    EXPECT_EQ(forced.written, 0u);
}

TEST(EdictImportTest, FailedImportKeepsThePreviousOutputAndReports) {
    test::TempDir dir;
    test::WriteBytes(dir / "old.txt", "old\r\n");
    test::RecordingReporter reporter;
    ToolJob job(reporter, dir.path());
    job.InName1 = (dir / "missing").string();
    job.OutName1 = (dir / "old.txt").string();
    EdictImportCounts counts;
    EXPECT_FALSE(ImportEdict(job, Direction::English, counts));
    EXPECT_TRUE(job.Failed);
    EXPECT_EQ(test::ReadBytes(dir / "old.txt"), "old\r\n");
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, "   辞書ファイルの変換に失敗しました。          ");
    EXPECT_EQ(reporter.caption, "Tovix (ﾒｲﾝ)");

    test::WriteBytes(dir / "edict", EdictFixture());
    job.InName1 = (dir / "edict").string();
    EXPECT_TRUE(ImportEdict(job, Direction::Japanese, counts));
    EXPECT_EQ(counts.written, 10u);
    EXPECT_EQ(test::ReadBytes(dir / "old.txt").substr(0, 8), Utf8ToCp932("きつける"));
}

}  // namespace
}  // namespace tovix
