// SPDX-License-Identifier: GPL-3.0-or-later
// tovix-tool lookup and find end to end, on small dictionaries built by the
// tool itself: where the view ends up, line for line, and what is reported
// when a file of the set is missing.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "components/BvStrings.h"
#include "platform/Cp932.h"
#include "views/Find.h"

namespace tovix {
namespace {

using test::CliRun;

// Part 1: 3D, abandon, able, Apple, apply; part 2: b.c., bank; part 5:
// e-mail, email, emu; part 20: taヒ; part 23: w, wolf, wood, word; part 26:
// zebra, zoo. ヒ is 83 71, ゲ 83 51: their second bytes look like q and Q.
constexpr const char* kEnglish =
    "3D\t立体\r\nabandon\t捨てる\r\nable\tできる\r\nApple\t林檎 ABC\r\napply\t適用する\r\n"
    "bank\t銀行 abc\r\nb.c.\t紀元前\r\nemail\t電子メール\r\ne-mail\tメール\r\nemu\tエミュー\r\n"
    "w\tダブリュー\r\nwolf\t狼 Abc\r\nwood\t木?\r\nword\t単語\r\nzoo\t動物園\r\nzebra\t縞馬 abc\r\n"
    "taヒ\tテスト\r\n";

// Part 6 (か): かつ, がっこう, かんがえ, かんじ; part 11 (さ): さ, さかな;
// part 17 (ち): ちから, ぢめん.
constexpr const char* kJapanese =
    "かんじ[漢字]\tChinese character\r\nかんがえ[考え]\tthought\r\nがっこう[学校]\tschool\r\n"
    "かつ[勝つ]\tto win\r\nちから[力]\tpower\r\nぢめん[地面]\tground\r\nさかな[魚]\tfish\r\n"
    "さ\tdifference\r\n";

void Build(const CliRun& run) {
    run.Write("ej.txt", kEnglish);
    run.Write("je.txt", kJapanese);
    ASSERT_EQ(run.Run({"exm-to-tovix", "--eng", "ej.txt", "EJ.DIC"}).status, 0);
    ASSERT_EQ(run.Run({"exm-to-tovix", "--jpn", "je.txt", "JE.DIC"}).status, 0);
}

TEST(SearchCommandTest, LookupPrintsWhereTheViewEndsUpForEachWord) {
    struct Case {
        std::vector<std::string> arguments;
        const char* out;
    };
    const Case cases[] = {
        // n, nj and nji are no romaji keys: the field keeps them and the view
        // stays on the first か entry that "か" found.
        {{"--jpn", "JE.DIC", "kanji", "kannji", "gakkou"},
         "かnji\t6\t0\t0\tかつ [勝つ]\n"
         "かんじ\t6\t6\t1\tかんじ [漢字]\n"
         "がっこう\t6\t2\t1\tがっこう [学校]\n"},
        // っ sorts as つ: its part is loaded, which holds no っか.
        {{"--jpn", "JE.DIC", "kka", "KA", "di", "sa", "nn"},
         "っか\t18\t0\t0\t\n"
         "KA\t0\t0\t0\tJE.DIC\n"
         "ぢ\t17\t2\t1\tぢめん [地面]\n"
         "さ\t11\t0\t1\tさ [さ]\n"
         "ん\t45\t0\t0\t\n"},
        // Text that holds a kanji finds the entry by its written form.
        {{"--jpn", "JE.DIC", "漢字", "地", "考える", "ガッコウ"},
         "漢字\t6\t6\t1\tかんじ [漢字]\n"
         "地\t17\t2\t1\tぢめん [地面]\n"
         "考える\t6\t4\t0\tかんがえ [考え]\n"
         "がっこう\t6\t2\t1\tがっこう [学校]\n"},
        // The input-method n: n before a consonant is ん at once.
        {{"--jpn", "--ime-n", "JE.DIC", "kanji"}, "かんじ\t6\t6\t1\tかんじ [漢字]\n"},
        // Pasted romaji is converted only when the whole tail is one key.
        {{"--jpn", "--paste", "JE.DIC", "kannji", "かn", "がっこう", "ka"},
         "kannji\t0\t0\t0\tJE.DIC\n"
         "かn\t6\t0\t0\tかつ [勝つ]\n"
         "がっこう\t6\t2\t1\tがっこう [学校]\n"
         "か\t6\t0\t1\tかつ [勝つ]\n"},
        {{"--eng", "EJ.DIC", "w", "wo", "w o", "e-mail", "3D", "(a)", "a1", "b.", "APPL", "apply"},
         "w\t23\t0\t1\tw \n"
         "wo\t23\t2\t1\twolf \n"
         "w o\t23\t0\t0\tw \n"
         "e-mail\t5\t0\t1\te-mail \n"
         "3D\t1\t0\t1\t3D \n"
         "(a)\t1\t0\t0\t3D \n"
         "a1\t1\t2\t0\tabandon \n"
         "b.\t2\t0\t1\tb.c. \n"
         "APPL\t1\t6\t1\tApple \n"
         "apply\t1\t8\t1\tapply \n"},
        // Only single-byte letters compare without regard to case.
        {{"--eng", "--paste", "EJ.DIC", "emu", "", "xyz", "TAヒ", "taゲ"},
         "emu\t5\t4\t1\temu \n"
         "\t0\t0\t0\tEJ.DIC\n"
         "xyz\t24\t0\t0\t\n"
         "TAヒ\t20\t0\t1\ttaヒ \n"
         "taゲ\t20\t0\t0\ttaヒ \n"},
    };
    CliRun run;
    Build(run);
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"lookup"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const auto result = run.Run(arguments);
        EXPECT_EQ(result.status, 0) << c.arguments[0] << " " << c.arguments[2] << result.err;
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, "");
    }
}

TEST(SearchCommandTest, FindPrintsTheEntryOfTheFirstHit) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* out;
    };
    const Case cases[] = {
        {{"EJ.DIC", "abc"}, 0, "1\t7\nApple \n\t林檎 ABC\n"},
        {{"--case", "EJ.DIC", "abc"}, 0, "2\t3\nbank \n\t銀行 abc\n"},
        {{"--case", "EJ.DIC", "Abc"}, 0, "23\t3\nwolf \n\t狼 Abc\n"},
        {{"--up", "EJ.DIC", "aBC"}, 0, "26\t1\nzebra \n\t縞馬 abc\n"},
        {{"--up", "--case", "EJ.DIC", "ABC"}, 0, "1\t7\nApple \n\t林檎 ABC\n"},
        // A hit on a translation line shows the entry from its headword.
        {{"EJ.DIC", "適用"}, 0, "1\t9\napply \n\t適用する\n"},
        {{"--up", "EJ.DIC", "3d"}, 0, "1\t0\n3D \n\t立体\n"},
        {{"JE.DIC", "GROUND"}, 0, "17\t3\nぢめん [地面]\n\tground\n"},
        {{"--up", "JE.DIC", "考え"}, 0, "6\t4\nかんがえ [考え]\n\tthought\n"},
        {{"EJ.DIC", "xyzzy"}, 1, "検索文字はありませんでした。\n"},
        // Guards: a character without a CP932 form was searched for as "?".
        {{"EJ.DIC", "?"}, 0, "23\t5\nwood \n\t木?\n"},
        {{"EJ.DIC", "🍎"}, 1, "検索文字はありませんでした。\n"},
        {{"--up", "--case", "JE.DIC", "School"}, 1, "検索文字はありませんでした。\n"},
    };
    CliRun run;
    Build(run);
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"find"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const auto result = run.Run(arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments.back() << result.err;
        EXPECT_EQ(result.out, c.out) << c.arguments.back();
    }
}

// --all lists every entry that the find and each find again stop at: once
// per entry, in the direction of the find, across part files.
TEST(SearchCommandTest, FindAllListsEveryEntryInOrder) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* out;
    };
    const Case cases[] = {
        {{"--all", "EJ.DIC", "abc"}, 0, "1\t7\tApple\n2\t3\tbank\n23\t3\twolf\n26\t1\tzebra\n"},
        {{"--up", "--all", "EJ.DIC", "abc"},
         0,
         "26\t1\tzebra\n23\t3\twolf\n2\t3\tbank\n1\t7\tApple\n"},
        {{"--all", "--case", "EJ.DIC", "abc"}, 0, "2\t3\tbank\n26\t1\tzebra\n"},
        {{"--all", "EJ.DIC", "wo"}, 0, "23\t2\twolf\n23\t4\twood\n23\t6\tword\n"},
        {{"--all", "JE.DIC", "か"},
         0,
         "6\t0\tかつ [勝つ]\n6\t4\tかんがえ [考え]\n6\t6\tかんじ [漢字]\n11\t2\tさかな [魚]\n"
         "17\t0\tちから [力]\n"},
        {{"--all", "EJ.DIC", "xyzzy"}, 1, "検索文字はありませんでした。\n"},
    };
    CliRun run;
    Build(run);
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"find"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const auto result = run.Run(arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments.back() << result.err;
        EXPECT_EQ(result.out, c.out) << c.arguments.back();
    }
}

// Lines of a file of `count` lines of 30 bytes, none holding "needle", with
// "needle" put into the lines `hits`, the last of them across the place
// 1 MiB before the file's end.
std::string LongPart(int count, int early) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::string line = "filler line " + std::to_string(100000 + i) + " of part";
        text += line + std::string(28 - line.size(), '.') + "\r\n";
    }
    text.replace(static_cast<size_t>(early) * 30 + 3, 6, "needle");
    const size_t across = text.size() - (size_t{1} << 20) - 3;
    text.replace(across, 6, "needle");
    return text;
}

// The line a find should stop at in a part file, by the line store's own
// reading of the file and the line test: the first holding line, or the last.
std::optional<int> ExpectedLine(const std::filesystem::path& file, const std::string& text,
                                bool matchCase, bool up) {
    TBvStrings lines;
    lines.LoadFromFile(file);
    std::optional<int> found;
    for (int n = 0; n < lines.Count(); ++n) {
        if (LineHolds(lines.View(n), text, matchCase)) {
            found = n;
            if (!up) {
                break;
            }
        }
    }
    return found;
}

// A part holds lines of every kind that a part file may hold: line ends of
// CR LF, a lone LF, a lone CR, LF CR; NUL bytes; trail bytes that look like
// letters. Find must stop at the line that the view shows, whether it meets
// the part in the view (part 1 downwards) or as a file of its own (part 3).
TEST(SearchCommandTest, FindStopsAtTheLineTheViewShows) {
    // シ is 83 56 ("V"), ヒ 83 71 ("q"), ゲ 83 51 ("Q").
    using namespace std::string_literals;
    const std::string odd = "c1 \r\n\tone\nc2 \rtwo\n\rx\0y Hit\r\n"s + Utf8ToCp932("\tシ ヒx") +
                            "\r\n" + Utf8ToCp932("vivid ゲX kanji 漢字") + "\r\nlast HIT\r";
    struct Case {
        const char* what;
        int part;
        std::string content;
        std::string text;  // CP932
        bool matchCase;
        bool up;
    };
    const Case cases[] = {
        {"after LF CR and NUL", 3, odd, "hit", false, false},
        {"exact case, last line ends with CR", 3, odd, "HIT", true, false},
        {"upwards", 3, odd, "Hit", true, true},
        {"upwards without case", 3, odd, "hit", false, true},
        {"trail byte is no letter", 3, odd, "v", false, false},
        {"trail byte is no letter, case", 3, odd, "V", true, true},
        {"double-byte text", 3, odd, Utf8ToCp932("ゲx"), false, false},
        {"double-byte text, case", 3, odd, Utf8ToCp932("ゲX"), true, false},
        {"kanji", 3, odd, Utf8ToCp932("漢字"), true, true},
        {"across two kanji", 3, odd, Utf8ToCp932("漢字").substr(1, 2), true, false},
        {"text with a line end", 3, odd, "one\nc2", false, false},
        {"in the view", 1, odd, "hit", false, false},
        {"in the view, case", 1, odd, "HIT", true, false},
        {"in the view, trail byte", 1, odd, "v", false, false},
        {"in the view, double-byte text", 1, odd, Utf8ToCp932("ゲx"), false, false},
        {"long part upwards", 3, LongPart(50000, 7), "needle", true, true},
        {"long part upwards without case", 3, LongPart(50000, 7), "NEEDLE", false, true},
        {"long part downwards", 3, LongPart(50000, 40000), "Needle", false, false},
    };
    for (const Case& c : cases) {
        CliRun run;
        Build(run);
        const std::string file = c.part == 1 ? "EJ.001" : "EJ.003";
        test::WriteBytes(run / file, c.content);
        std::vector<std::string> arguments{"find"};
        if (c.matchCase) {
            arguments.push_back("--case");
        }
        if (c.up) {
            arguments.push_back("--up");
        }
        arguments.push_back("EJ.DIC");
        arguments.push_back(Cp932ToUtf8(c.text));
        const auto result = run.Run(arguments);

        const std::optional<int> line = ExpectedLine(run / file, c.text, c.matchCase, c.up);
        std::string expected = "検索文字はありませんでした。\n";
        if (line) {
            TBvStrings lines;
            lines.LoadFromFile(run / file);
            const int top = *line - *line % 2;
            expected = std::to_string(c.part) + "\t" + std::to_string(*line) + "\n" +
                       Cp932ToUtf8(lines.View(top)) + "\n" +
                       Cp932ToUtf8(top + 1 < lines.Count() ? lines.View(top + 1) : "") + "\n";
        }
        EXPECT_EQ(result.status, line ? 0 : 1) << c.what << "\n" << result.err;
        EXPECT_EQ(result.out, expected) << c.what;
    }
}

TEST(SearchCommandTest, MissingFilesAreReportedWithoutAsking) {
    struct Case {
        const char* what;
        const char* remove;
        std::vector<std::string> arguments;
        int status;
        const char* out;
        const char* err;  // part of standard error
    };
    const Case cases[] = {
        // Every keystroke of the missing initial tries its part again; other
        // words are not affected.
        {"lookup, missing part",
         "EJ.002",
         {"lookup", "--eng", "EJ.DIC", "ba", "wo"},
         1,
         "ba\t0\t0\t0\t\nwo\t23\t2\t1\twolf \n",
         "警告: 辞書ファイルがオープンできません。\n"
         "tovix-tool: 警告: 辞書ファイルがオープンできません。\n"},
        {"lookup, missing table",
         "EJ.DAT",
         {"lookup", "--eng", "EJ.DIC", "a"},
         1,
         "",
         "EJ.DAT の\n  指定された辞書テーブルファイルがオープンできませんでした。"},
        {"lookup, missing dictionary file",
         "EJ.DIC",
         {"lookup", "--eng", "EJ.DIC", "a"},
         1,
         "",
         "EJ.DIC の\n  指定された辞書ファイルが存在しません。"},
        {"find, missing part on the way",
         "EJ.002",
         {"find", "EJ.DIC", "単語"},
         1,
         "",
         "EJ.002 の\n  辞書ファイルがオープンできません。"},
        {"find, missing table", "JE.DAT", {"find", "JE.DIC", "fish"}, 1, "", "JE.DAT の"},
        {"find, empty text",
         nullptr,
         {"find", "EJ.DIC", ""},
         2,
         "",
         "検索文字が設定されていません。"},
        // A set built before there were written-form files: kanji are searched
        // by reading as before, and the user is told once.
        {"lookup, kanji without written-form file",
         "JE.KJI",
         {"lookup", "--jpn", "JE.DIC", "漢字", "地面"},
         0,
         "漢字\t0\t0\t0\tJE.DIC\n地面\t0\t0\t0\tJE.DIC\n",
         "JE.KJI: 漢字で引くためのファイルがありません。「和英辞書再作成」(tovix-tool remake "
         "--jpn) "
         "で辞書を作り直すと、漢字でも引けるようになります。\n"},
        {"lookup without a direction", nullptr, {"lookup", "EJ.DIC", "a"}, 2, "", "使い方:"},
        {"lookup without a word", nullptr, {"lookup", "--eng", "EJ.DIC"}, 2, "", "使い方:"},
    };
    for (const Case& c : cases) {
        CliRun run;
        Build(run);
        if (c.remove != nullptr) {
            std::filesystem::remove(run / c.remove);
        }
        const auto result = run.Run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.what << "\n" << result.err;
        EXPECT_EQ(result.out, c.out) << c.what;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << c.what << "\n" << result.err;
    }
}

}  // namespace
}  // namespace tovix
