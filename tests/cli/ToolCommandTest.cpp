// SPDX-License-Identifier: GPL-3.0-or-later
// Every tool command end to end through tovix-tool, on small files whose
// results are known byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/Settings.h"
#include "cli/CliRun.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

using test::CliRun;
using test::Sjis;

constexpr const char* kKana[] = {
    "あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "さ", "し", "す", "せ", "そ",
    "た", "ち", "つ", "て", "と", "な", "に", "ぬ", "ね", "の", "は", "ひ", "ふ", "へ", "ほ",
    "ま", "み", "む", "め", "も", "や", "ゆ", "よ", "ら", "り", "る", "れ", "ろ", "わ", "ん"};

// The table file of a set whose keys with entries end at the given lines; every
// other key repeats the key before it in its block (the first one 0).
std::string TableFile(const std::vector<std::string>& alphabet, const char* marker,
                      const std::map<std::string, int>& values) {
    std::string out;
    for (const std::string& first : alphabet) {
        out += std::string(marker) + "=0\r\n";
        int value = 0;
        for (const std::string& second : alphabet) {
            const std::string key = first + second;
            if (const auto it = values.find(key); it != values.end()) {
                value = it->second;
            }
            out += key + "=" + std::to_string(value) + "\r\n";
        }
    }
    return Sjis(out);
}

std::string EngTable(const std::map<std::string, int>& values) {
    std::vector<std::string> letters;
    for (char c = 'a'; c <= 'z'; ++c) {
        letters.emplace_back(1, c);
    }
    return TableFile(letters, "**", values);
}

std::string JpnTable(const std::map<std::string, int>& values) {
    return TableFile(std::vector<std::string>(std::begin(kKana), std::end(kKana)), "＊＊", values);
}

std::string PartName(const std::string& set, int part) {
    const std::string number = std::to_string(part);
    return set + "." + std::string(3 - number.size(), '0') + number;
}

// The part files of a set: the listed ones with their lines, all others empty.
void ExpectParts(const CliRun& run, const std::string& set, int parts,
                 const std::map<int, std::string>& utf8) {
    for (int part = 1; part <= parts; ++part) {
        const auto it = utf8.find(part);
        EXPECT_EQ(run.Read(PartName(set, part)), it == utf8.end() ? "" : Sjis(it->second))
            << PartName(set, part);
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

TEST(ToolCommandTest, BuildsEnglishAndJapaneseSetsWithExactPartsAndTables) {
    CliRun run;
    run.Write("ej.txt", "apple\tりんご\r\napply\t適用する\r\nbank\t銀行\r\n");
    run.Write("je.txt", "あい[愛]\tlove\r\nがくせい[学生]\tstudent\r\nかき[柿]\tpersimmon\r\n");

    const auto eng = run.Run({"exm-to-tovix", "--eng", "ej.txt", "EJ.DIC"});
    ASSERT_EQ(eng.status, 0) << eng.err;
    EXPECT_NE(eng.out.find("最後の頭文字より後に並ぶ見出し: 0 件"), std::string::npos);
    EXPECT_EQ(run.Read("EJ.DIC"), "EJ.DIC\r\n\r\n");
    ExpectParts(
        run, "EJ", 26,
        {{1, "apple \r\n\tりんご\r\napply \r\n\t適用する\r\n"}, {2, "bank \r\n\t銀行\r\n"}});
    // Line by line: block a ends "ap" at line 2, block b is all 0.
    const auto table = Lines(run.Read("EJ.DAT"));
    const auto expected = Lines(EngTable({{"ap", 2}}));
    ASSERT_EQ(table.size(), 702u);
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i], expected[i]) << "EJ.DAT line " << i;
    }

    const auto jpn = run.Run({"exm-to-tovix", "--jpn", "je.txt", "JE.DIC"});
    ASSERT_EQ(jpn.status, 0) << jpn.err;
    EXPECT_EQ(run.Read("JE.DIC"), "JE.DIC\r\n\r\n");
    // が is filed with か; かき sorts before がくせい.
    ExpectParts(run, "JE", 45,
                {{1, "あい [愛]\r\n\tlove\r\n"},
                 {6, "かき [柿]\r\n\tpersimmon\r\nがくせい [学生]\r\n\tstudent\r\n"}});
    EXPECT_EQ(run.Read("JE.DAT"), JpnTable({{"かく", 2}}));
}

TEST(ToolCommandTest, RoundTripThroughASetKeepsEveryEntry) {
    struct Case {
        const char* direction;
        std::vector<std::string> entries;
        const char* keptAtEnd;
    };
    const Case cases[] = {
        {"--eng",
         {"3D\t三次元", "apple\tりんご", "apple\t林檎", "e-mail\t電子メール", "run\t走る\t(自動詞)",
          "Zebra\tシマウマ", "x-ray\tＸ線", "ソース\tsauce", "表\ttable"},
         "最後の頭文字より後に並ぶ見出し: 2 件"},
        // Written forms and readings whose second byte is "[", "]" or "\".
        {"--jpn",
         {"あい[愛]\tlove", "てん[転]\tturn", "ひょう[表]\ttable", "ゆう[夕]\tevening",
          "そーす[ソース]\tsauce", "がくせい[学生]\tstudent", "ぞう[象]\telephant",
          "ヴぁいおりん[ヴァイオリン]\tviolin", "をかし[をかし]\tcharming",
          "んまい[んまい]\tyummy"},
         nullptr},
    };
    for (const Case& c : cases) {
        CliRun run;
        std::string input;
        for (const std::string& entry : c.entries) {
            input += entry + "\r\n";
        }
        run.Write("in.txt", input);
        const auto build = run.Run({"exm-to-tovix", c.direction, "in.txt", "D.DIC"});
        ASSERT_EQ(build.status, 0) << build.err;
        if (c.keptAtEnd != nullptr) {
            EXPECT_NE(build.out.find(c.keptAtEnd), std::string::npos) << build.out;
        }
        const auto back = run.Run({"tovix-to-exm", c.direction, "D.DIC", "out.txt"});
        ASSERT_EQ(back.status, 0) << back.err;

        std::vector<std::string> expected;
        for (const std::string& entry : c.entries) {
            expected.push_back(Sjis(entry));
        }
        std::vector<std::string> got = Lines(run.Read("out.txt"));
        std::sort(expected.begin(), expected.end());
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, expected) << c.direction;
    }
}

// Each case runs its commands in order in a fresh directory ("@write" writes a
// file in between) and compares the files named afterwards byte for byte.
TEST(ToolCommandTest, EveryCommandWritesItsFiles) {
    using Files = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        const char* what;
        Files inputs;
        std::vector<std::vector<std::string>> commands;
        Files expected;
    };
    const Files pdic = {{"d.pdic", "apple   \r\n\tりんご\r\nbank\r\n銀行\r\n"}};
    const Case cases[] = {
        {"pdic-to-tovix",
         pdic,
         {{"pdic-to-tovix", "--eng", "d.pdic", "EJ.DIC"}},
         {{"EJ.DIC", "EJ.DIC\r\n\r\n"},
          {"EJ.001", "apple \r\n\tりんご\r\n"},
          {"EJ.002", "bank \r\n\t銀行\r\n"}}},
        {"pdic-to-exm E-J",
         pdic,
         {{"pdic-to-exm", "--eng", "d.pdic", "out.txt"}},
         {{"out.txt", "apple\tりんご\r\nbank\t銀行\r\n"}}},
        {"pdic-to-exm J-E keeps the blank of the work line",
         pdic,
         {{"pdic-to-exm", "--jpn", "d.pdic", "out.txt"}},
         {{"out.txt", "apple \tりんご\r\nbank \t銀行\r\n"}}},
        {"remake sorts an edited part again",
         {{"in.txt", "apple\tりんご\r\nbank\t銀行\r\n"}},
         {{"exm-to-tovix", "--eng", "in.txt", "EJ.DIC"},
          {"@write", "EJ.002", "bank \r\n\t銀行\r\nball \r\n\tボール\r\n"},
          {"remake", "--eng", "EJ.DIC"}},
         {{"EJ.002", "ball \r\n\tボール\r\nbank \r\n\t銀行\r\n"},
          {"EJ.DAT", EngTable({{"ap", 0}, {"ba", 2}})}}},
        {"new E-J",
         {},
         {{"new", "--eng", "N.DIC"}},
         {{"N.DIC", "N.DIC\r\n\r\n"}, {"N.001", "a\r\n\ta\r\n"}, {"N.026", "z\r\n\tz\r\n"}}},
        {"new J-E",
         {},
         {{"new", "--jpn", "N.DIC"}},
         {{"N.001", "あ[あ]\r\n\tあ\r\n"},
          {"N.006", "か[か]\r\n\tか\r\n"},
          {"N.045", "ん[ん]\r\n\tん\r\n"}}},
        {"gather [EXM] in place",
         {{"d.txt", "apple\tりんご\r\nbank\t銀行\r\napple\tりんご,林檎\r\n"}},
         {{"gather", "--eng", "--exm", "d.txt"}},
         {{"d.txt", "apple\tりんご,林檎\r\nbank\t銀行\r\n"}}},
        // Guards: entries of one headword that the whole-line sort put apart
        // stayed duplicates.
        {"gather [EXM] J-E: a headword differing only in voicing sorts apart",
         {{"je.txt",
           "あいばん[合い判]\tjoint seal\r\nあいはん[合い判]\tdocument seal\r\n"
           "あいばん[合い判]\tcheck mark,joint seal\r\n"}},
         {{"gather", "--jpn", "--exm", "je.txt"}},
         {{"je.txt",
           "あいはん[合い判]\tdocument seal\r\nあいばん[合い判]\tcheck mark,joint seal\r\n"}}},
        {"gather [EXM] E-J: a headword differing only in case sorts apart",
         {{"ej.txt", "apple\tりんご\r\nApple\tリンゴ社\r\napple\t林檎\r\n"}},
         {{"gather", "--eng", "--exm", "ej.txt"}},
         {{"ej.txt", "Apple\tリンゴ社\r\napple\tりんご,林檎\r\n"}}},
        {"gather [PDIC] in place",
         {{"d.pdic", "apple\r\nりんご\r\napple \r\n\t林檎\r\n"}},
         {{"gather", "--eng", "--pdic", "d.pdic"}},
         {{"d.pdic", "apple\r\nりんご,林檎\r\n"}}},
        {"gather [TOVIX] builds its table from the gathered entries",
         {{"in.txt", "apple\tりんご\r\napple\t林檎\r\napply\t適用\r\nbank\t銀行\r\n"}},
         {{"exm-to-tovix", "--eng", "in.txt", "EJ.DIC"}, {"gather", "--eng", "--tovix", "EJ.DIC"}},
         {{"EJ.001", "apple \r\n\tりんご,林檎\r\napply \r\n\t適用\r\n"},
          {"EJ.002", "bank \r\n\t銀行\r\n"},
          {"EJ.DAT", EngTable({{"ap", 2}})}}},
        {"join [EXM]",
         {{"a.txt", "bank\t銀行\r\n"}, {"b.txt", "apple\tりんご\r\n"}},
         {{"join", "--eng", "--exm", "a.txt", "b.txt", "out.txt"}},
         {{"out.txt", "apple\tりんご\r\nbank\t銀行\r\n"}}},
        {"join [EXM] gathering",
         {{"a.txt", "apple\tりんご\r\n"}, {"b.txt", "apple\t林檎\r\n"}},
         {{"join", "--jpn", "--exm", "--gather", "a.txt", "b.txt", "out.txt"}},
         {{"out.txt", "apple\tりんご,林檎\r\n"}}},
        {"join [PDIC]",
         {{"a.pdic", "bank\r\n銀行\r\n"}, {"b.pdic", "apple\r\nりんご\r\n"}},
         {{"join", "--eng", "--pdic", "a.pdic", "b.pdic", "out.pdic"}},
         {{"out.pdic", "apple\r\nりんご\r\nbank\r\n銀行\r\n"}}},
        {"join [PDIC] gathering J-E",
         {{"a.pdic", "あい[愛]\r\nlove\r\n"}, {"b.pdic", "あい[愛]\r\naffection\r\n"}},
         {{"join", "--jpn", "--pdic", "--gather", "a.pdic", "b.pdic", "out.pdic"}},
         {{"out.pdic", "あい[愛]\r\naffection,love\r\n"}}},
        {"join [TOVIX]",
         {{"a.txt", "apple\tりんご\r\n"}, {"b.txt", "bank\t銀行\r\n"}},
         {{"exm-to-tovix", "--eng", "a.txt", "A.DIC"},
          {"exm-to-tovix", "--eng", "b.txt", "B.DIC"},
          {"join", "--eng", "--tovix", "A.DIC", "B.DIC", "C.DIC"}},
         {{"C.DIC", "C.DIC\r\n\r\n"},
          {"C.001", "apple \r\n\tりんご\r\n"},
          {"C.002", "bank \r\n\t銀行\r\n"}}},
        {"join [TOVIX] gathering",
         {{"a.txt", "apple\tりんご\r\nbank\t銀行\r\n"}, {"b.txt", "apple\t林檎\r\n"}},
         {{"exm-to-tovix", "--eng", "a.txt", "A.DIC"},
          {"exm-to-tovix", "--eng", "b.txt", "B.DIC"},
          {"join", "--eng", "--tovix", "--gather", "A.DIC", "B.DIC", "C.DIC"}},
         {{"C.001", "apple \r\n\tりんご,林檎\r\n"},
          {"C.002", "bank \r\n\t銀行\r\n"},
          {"C.DAT", EngTable({})}}},
        {"check [EXM]",
         {{"in.txt", "apple\tりんご\r\napples\tx\r\na\tりんごa\r\n"}},
         {{"check", "--exm", "--head", "5", "--trans=6", "in.txt", "ok.txt", "ng.txt"}},
         {{"ok.txt", "apple\tりんご\r\n"}, {"ng.txt", "apples\tx\r\na\tりんごa\r\n"}}},
        {"check [PDIC] counts the leading TAB",
         {{"in.pdic", "apple\r\n\tりんご\r\nbanana\r\nx\r\nfig\r\n\tりんごだ\r\n"}},
         {{"check", "--pdic", "--head", "5", "--trans", "7", "in.pdic", "ok.pdic", "ng.pdic"}},
         {{"ok.pdic", "apple\r\n\tりんご\r\n"},
          {"ng.pdic", "banana\r\nx\r\nfig\r\n\tりんごだ\r\n"}}},
        {"divide [PDIC] answered はい: the rest follows the long headword unchanged",
         {{"in.pdic", "word\r\nx\r\nlonghead\r\ny\r\nrest\r\nz\r\nwords\r\n"}},
         {{"--yes", "divide", "--pdic", "--head", "4", "in.pdic", "ok.pdic", "ng.pdic"}},
         {{"ok.pdic", "word\r\nx\r\n"}, {"ng.pdic", "longhead\r\ny\r\nrest\r\nz\r\nwords\r\n"}}},
    };
    for (const Case& c : cases) {
        CliRun run;
        for (const auto& [name, text] : c.inputs) {
            run.Write(name, text);
        }
        for (const auto& command : c.commands) {
            if (command[0] == "@write") {
                run.Write(command[1], command[2]);
                continue;
            }
            const auto result = run.Run(command);
            ASSERT_EQ(result.status, 0) << c.what << "\n" << result.err;
        }
        for (const auto& [name, text] : c.expected) {
            EXPECT_EQ(run.Read(name), Sjis(text)) << c.what << ": " << name;
        }
    }
}

TEST(ToolCommandTest, ImportedEdictBuildsASetAndIsRegistered) {
    CliRun run;
    // EUC-JP: 愛 [あい] /(n) (1) love/affection/(P)/ and ディスプレイ /(n) display/
    test::WriteBytes(run / "edict",
                     "\xB0\xA6 [\xA4\xA2\xA4\xA4] /(n) (1) love/affection/(P)/\n"
                     "\xA5\xC7\xA5\xA3\xA5\xB9\xA5\xD7\xA5\xEC\xA5\xA4 /(n) display/\n");
    const auto import = run.Run({"import-edict", "--jpn", "edict", "je.txt"});
    ASSERT_EQ(import.status, 0) << import.err;
    EXPECT_EQ(
        run.Read("je.txt"),
        Sjis(
            "あい[愛]\t(P) 《名》love,affection\r\nでぃすぷれい[ディスプレイ]\t《名》display\r\n"));
    EXPECT_NE(import.out.find("書き出した見出し: 2 件"), std::string::npos) << import.out;

    ASSERT_EQ(run.Run({"exm-to-tovix", "--jpn", "je.txt", "JE.DIC"}).status, 0);
    EXPECT_EQ(run.Read("JE.001"), Sjis("あい [愛]\r\n\t(P) 《名》love,affection\r\n"));
    EXPECT_EQ(run.Read("JE.019"), Sjis("でぃすぷれい [ディスプレイ]\r\n\t《名》display\r\n"));

    const auto registered = run.Run({"register", "--jpn", "EDICT 和英", "JE.DIC", "E"});
    ASSERT_EQ(registered.status, 0) << registered.err;
    const DictionaryList list = ReadDictionaryList(run / "tovix.INI", Direction::Japanese);
    EXPECT_EQ(list[0].title, Sjis("EDICT 和英"));
    EXPECT_EQ(list[0].fileName, (run / "JE.DIC").string());
    EXPECT_EQ(list[0].shortCut, "E");
    EXPECT_EQ(ReadDictionaryList(run / "tovix.INI", Direction::English)[0].title, "");

    // --if-free leaves a slot that holds another dictionary alone.
    const auto other = run.Run({"register", "--jpn", "--if-free", "Other", "je.txt"});
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_EQ(ReadDictionaryList(run / "tovix.INI", Direction::Japanese)[0], list[0]);
    ASSERT_EQ(run.Run({"register", "--jpn", "--if-free", "EDICT", "JE.DIC"}).status, 0);
    EXPECT_EQ(ReadDictionaryList(run / "tovix.INI", Direction::Japanese)[0].title, "EDICT");
}

}  // namespace
}  // namespace tovix
