// SPDX-License-Identifier: GPL-3.0-or-later
// dictd and StarDict dictionaries through tovix-tool: import into [EXM],
// export of a set to StarDict, hostile files, and the Debian dictionaries
// and StarDict's own tools where they are installed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "support/DictFixtures.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;
using test::Base64;
using test::BigEndian;
using test::CliRun;
using test::DictdEntry;
using test::MakeStarDict;
using test::Sjis;
using test::StarDictFiles;
using test::WriteBytes;
using test::WriteDictd;
using test::WriteStarDict;

std::string Lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines) {
        out += Sjis(line) + "\r\n";
    }
    return out;
}

std::vector<std::string> SortedLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// What a program prints (sdcv, tabfile).
std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const size_t got = fread(buffer, 1, sizeof buffer, pipe)) {
            out.append(buffer, got);
        }
        pclose(pipe);
    }
    return out;
}

TEST(DictionaryFormatsTest, DictdImportsByteExactFromPlainAndGzipData) {
    const std::vector<DictdEntry> eng = {
        {{"00databaseinfo"}, "00-database-info\nA dictionary for a test.\n"},
        {{"apple", "Apples"}, "Apple\n    n 1: a fruit,\n\tred or green\n\n    n 2: a tree\n"},
        {{"cafe"}, "cafe\n  a coffee house \xE2\x98\x83\n"},
        {{"caf\xC3\xA9"}, "caf\xC3\xA9\n  the same\n"},
    };
    const std::vector<DictdEntry> jpn = {
        {{"いかに", "如何に"},
         " [ichi1]  如何に /ikani/,  [ichi1] いかに /ikˈäni/\n1. how\n2. however\n"},
        {{"如月"}, "如月\nFebruary\n"},
        {{"コーヒー"}, "コーヒー\ncoffee\n"},
        {{"かんすうじゼロ", "漢数字ゼロ"}, "漢数字ゼロ かんすうじゼロ\nkanji zero\n"},
        {{"あい", "愛", "哀"}, "愛 哀 あい\nlove; sorrow\n"},
    };
    const std::string engExm = Lines({
        // The repeated headword goes in any case, the lines join with blanks.
        "apple\tn 1: a fruit, red or green n 2: a tree",
        "Apples\tn 1: a fruit, red or green n 2: a tree",
        "cafe\ta coffee house ?",
    });
    const std::string jpnExm = Lines({
        "いかに[如何に]\t1. how 2. however",
        "こーひー[コーヒー]\tcoffee",
        "かんすうじぜろ[漢数字ゼロ]\tkanji zero",
        "あい[愛]\tlove; sorrow",
        "あい[哀]\tlove; sorrow",
    });
    for (const bool gzip : {false, true}) {
        CliRun run;
        WriteDictd(run, "eng", eng, gzip);
        WriteDictd(run, "jpn", jpn, gzip);
        const auto e = run.Run({"import-dictd", "--eng", "eng.index", "eng.txt"});
        ASSERT_EQ(e.status, 0) << e.err;
        EXPECT_EQ(run.Read("eng.txt"), engExm) << gzip;
        EXPECT_NE(e.out.find("書き出した項目: 3 件"), std::string::npos) << e.out;
        EXPECT_NE(e.out.find("取り込めなかった見出し: 1 件 (例: café (CP932 にない文字 é))"),
                  std::string::npos)
            << e.out;
        EXPECT_NE(e.out.find("置き換えた数: 1 文字 (例: cafe: ☃)"), std::string::npos) << e.out;
        EXPECT_NE(e.out.find("(00database...、取り込まない): 1 件"), std::string::npos) << e.out;
        const auto j = run.Run({"import-dictd", "--jpn", "jpn.index", "jpn.txt"});
        ASSERT_EQ(j.status, 0) << j.err;
        EXPECT_EQ(run.Read("jpn.txt"), jpnExm) << gzip;
        EXPECT_NE(j.out.find("取り込めなかった見出し: 1 件 (例: 如月 (かなの見出しなし))"),
                  std::string::npos)
            << j.out;
        const auto utf8 =
            run.Run({"import-dictd", "--eng", "--output-encoding", "utf-8", "eng.index", "u.txt"});
        ASSERT_EQ(utf8.status, 0) << utf8.err;
        EXPECT_EQ(run.Read("u.txt").substr(0, 6), "apple\t");
    }
}

TEST(DictionaryFormatsTest, StarDictImportKeepsTheTextFieldsOfEveryType) {
    using namespace std::string_literals;
    CliRun run;
    // Typed fields: text, phonetic in IPA (no CP932 form: dropped), HTML, a
    // picture (left out, counted); XDXF with its key; 64-bit offsets and a
    // synonym.
    WriteStarDict(run, "typed",
                  MakeStarDict({{"apple",
                                 "ma fruit\n\0t\xCB\x88\xC3\xA6pl\0h<b>red</b><br>&amp; "
                                 "green&#x21;\0W"s +
                                     BigEndian(3, 4) + "PNG"},
                                {"pear", "x<k>pear</k>\n<def>a fruit &lt;sweet&gt;</def>\0"s}},
                               "", true, {{"Pyrus", 1}}));
    // sametypesequence "tm": a phonetic with a CP932 form is kept.
    WriteStarDict(
        run, "same",
        MakeStarDict({{"kiwi", "ki:wi\0a bird\nor a fruit"s}}, "sametypesequence=tm\n", false));
    const auto typed = run.Run({"import-stardict", "--eng", "typed.ifo", "typed.txt"});
    ASSERT_EQ(typed.status, 0) << typed.err;
    EXPECT_EQ(run.Read("typed.txt"), Lines({"apple\ta fruit red & green!", "pear\ta fruit <sweet>",
                                            "Pyrus\ta fruit <sweet>"}));
    EXPECT_NE(typed.out.find("文字以外のデータ (取り込まない): 1 件"), std::string::npos)
        << typed.out;
    const auto same = run.Run({"import-stardict", "--eng", "same.ifo", "same.txt"});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(run.Read("same.txt"), Lines({"kiwi\t[ki:wi] a bird or a fruit"}));
}

// A ".idx.gz" is read in place of the ".idx" (which a reader then ignores).
TEST(DictionaryFormatsTest, ACompressedStarDictIndexImportsAsThePlainOne) {
    using namespace std::string_literals;
    const StarDictFiles files = MakeStarDict({{"apple", "a fruit"s}, {"bank", "a river side"s}},
                                             "sametypesequence=m\n", false, {{"banks", 1}});
    CliRun run;
    WriteStarDict(run, "plain", files);
    WriteStarDict(run, "packed", files);
    WriteBytes(run / "packed.idx.gz", test::Gzip(files.idx));
    WriteBytes(run / "packed.idx", "");
    ASSERT_EQ(run.Run({"import-stardict", "--eng", "plain.ifo", "plain.txt"}).status, 0);
    const auto packed = run.Run({"import-stardict", "--eng", "packed.ifo", "packed.txt"});
    ASSERT_EQ(packed.status, 0) << packed.err;
    EXPECT_EQ(run.Read("packed.txt"), run.Read("plain.txt"));
    EXPECT_NE(run.Read("packed.txt").find("banks\ta river side"), std::string::npos);
}

TEST(DictionaryFormatsTest, HostileFilesAreRefusedNamingTheFileAndWriteNothing) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        void (*make)(const CliRun& run);
        const char* command;
        const char* input;
        const char* namedFile;
        const char* message;
    };
    const auto goodStarDict = [] {
        return MakeStarDict({{"a", "m1"s}, {"b", "m2"s}}, "sametypesequence=m\n", false);
    };
    static const auto good = goodStarDict();
    const Case cases[] = {
        {"offset beyond the data",
         [](const CliRun& r) {
             WriteBytes(r / "d.index", "apple\tBAA\tB\n");
             WriteBytes(r / "d.dict", "apple\nfruit\n");
         },
         "import-dictd", "d.index", "d.dict", "データファイルの外"},
        {"4 GB size",
         [](const CliRun& r) {
             WriteBytes(r / "d.index", "apple\tA\tEAAAAA\n");
             WriteBytes(r / "d.dict", "apple\nfruit\n");
         },
         "import-dictd", "d.index", "d.dict", "大きすぎる項目"},
        {"not a number",
         [](const CliRun& r) {
             WriteBytes(r / "d.index", "apple\tA\n");
             WriteBytes(r / "d.dict", "apple\n");
         },
         "import-dictd", "d.index", "d.index", "索引の行の形式"},
        {"truncated gzip",
         [](const CliRun& r) {
             std::string text;
             for (int i = 0; i < 5000; ++i) {
                 text += "word" + std::to_string(i) + "\n";
             }
             const std::string packed = test::Gzip(text);
             WriteBytes(r / "d.index", "word4999\t" + Base64(text.size() - 9) + "\tJ\n");
             WriteBytes(r / "d.dict.dz", packed.substr(0, packed.size() / 2));
         },
         "import-dictd", "d.index", "d.dict.dz", "途中で切れて"},
        {"corrupt gzip",
         [](const CliRun& r) {
             std::string packed = test::Gzip("apple\nfruit\n");
             packed[packed.size() - 6] ^= 0x55;  // the CRC
             WriteBytes(r / "d.index", "apple\tA\tM\n");
             WriteBytes(r / "d.dict.dz", packed);
         },
         "import-dictd", "d.index", "d.dict.dz", "圧縮データが壊れて"},
        {".idx ends mid-record",
         [](const CliRun& r) {
             StarDictFiles f = good;
             f.idx.resize(f.idx.size() - 3);
             const size_t at = f.ifo.find("idxfilesize=");
             f.ifo = f.ifo.substr(0, at) + "idxfilesize=" + std::to_string(f.idx.size()) +
                     f.ifo.substr(f.ifo.find('\n', at));
             WriteStarDict(r, "s", f);
         },
         "import-stardict", "s.ifo", "s.idx", "項目の途中で終わって"},
        {"lying wordcount",
         [](const CliRun& r) {
             StarDictFiles f = good;
             f.ifo.replace(f.ifo.find("wordcount=2"), 11, "wordcount=3");
             WriteStarDict(r, "s", f);
         },
         "import-stardict", "s.ifo", "s.idx", "wordcount"},
        {"synonym of no entry",
         [](const CliRun& r) {
             StarDictFiles f =
                 MakeStarDict({{"a", "m1"s}}, "sametypesequence=m\n", false, {{"x", 7}});
             WriteStarDict(r, "s", f);
         },
         "import-stardict", "s.ifo", "s.syn", "同義語"},
        {".idx.gz cut short",
         [](const CliRun& r) {
             WriteStarDict(r, "s", good);
             const std::string packed = test::Gzip(good.idx);
             WriteBytes(r / "s.idx.gz", packed.substr(0, packed.size() - 9));
         },
         "import-stardict", "s.ifo", "s.idx.gz", "途中で切れて"},
        {".idx.gz not gzip",
         [](const CliRun& r) {
             WriteStarDict(r, "s", good);
             WriteBytes(r / "s.idx.gz", good.idx);
         },
         "import-stardict", "s.ifo", "s.idx.gz", "圧縮データが壊れて"},
        {".idx.gz shorter than idxfilesize",
         [](const CliRun& r) {
             WriteStarDict(r, "s", good);
             WriteBytes(r / "s.idx.gz", test::Gzip(good.idx.substr(0, good.idx.size() - 1)));
         },
         "import-stardict", "s.ifo", "s.idx.gz", "idxfilesize"},
        {".idx.gz longer than idxfilesize",
         [](const CliRun& r) {
             WriteStarDict(r, "s", good);
             WriteBytes(r / "s.idx.gz", test::Gzip(good.idx + "c"s + '\0' + good.idx.substr(2, 8)));
         },
         "import-stardict", "s.ifo", "s.idx.gz", "idxfilesize"},
        {".idx.gz of 4 GB stated",
         [](const CliRun& r) {
             StarDictFiles f = good;
             const size_t at = f.ifo.find("idxfilesize=");
             f.ifo.replace(at, f.ifo.find('\n', at) - at, "idxfilesize=4294967296");
             WriteStarDict(r, "s", f);
             WriteBytes(r / "s.idx.gz", test::Gzip(good.idx));
         },
         "import-stardict", "s.ifo", "s.idx.gz", "idxfilesize"},
        {"StarDict offset beyond the data",
         [](const CliRun& r) {
             StarDictFiles f = good;
             f.dict.resize(2);
             WriteStarDict(r, "s", f);
         },
         "import-stardict", "s.ifo", "s.dict", "データファイルの外"},
    };
    for (const Case& c : cases) {
        CliRun run;
        c.make(run);
        const auto result = run.Run({c.command, "--eng", c.input, "out.txt"});
        EXPECT_EQ(result.status, 1) << c.what;
        EXPECT_NE(result.err.find(std::string(c.namedFile) + " の"), std::string::npos)
            << c.what << ": " << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << ": " << result.err;
        EXPECT_FALSE(fs::exists(run / "out.txt")) << c.what;
        // The build from the same input stops before writing a set.
        const auto build = run.Run({"exm-to-tovix", "--eng", c.input, "OUT.DIC"});
        EXPECT_EQ(build.status, 1) << c.what;
        EXPECT_FALSE(fs::exists(run / "OUT.DIC")) << c.what;
    }
}

// The words of a ".idx" in their order.
std::vector<std::string> IdxWords(const std::string& idx) {
    std::vector<std::string> words;
    for (size_t at = 0; at < idx.size();) {
        const size_t nul = idx.find('\0', at);
        words.push_back(idx.substr(at, nul - at));
        at = nul + 9;
    }
    return words;
}

TEST(DictionaryFormatsTest, ExportedStarDictImportsBackToTheSameEntriesAndSdcvReadsIt) {
    struct Case {
        const char* direction;
        const char* exm;
        std::vector<std::string> idxOrder;
        const char* word;
        const char* translation;
    };
    const Case cases[] = {
        {"--eng",
         "b\tbee\napple\tりんご\nA\tthe letter\na\tan article\nB\tthe letter b\n",
         {"A", "a", "apple", "B", "b"},
         "apple",
         "りんご"},
        {"--jpn",
         "いかに[如何に]\thow\nあい[アイ]\teye\nあい[愛]\tlove\nかな[かな]\tkana\n",
         {"あい", "あい", "いかに", "かな"},
         "如何に",
         "how"},
    };
    for (const Case& c : cases) {
        CliRun run;
        run.Write("in.txt", c.exm);
        ASSERT_EQ(run.Run({"exm-to-tovix", c.direction, "in.txt", "D.DIC"}).status, 0);
        const auto exported = run.Run({"tovix-to-stardict", c.direction, "D.DIC", "d.ifo"});
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_EQ(IdxWords(test::ReadBytes(run / "d.idx")), c.idxOrder) << c.direction;
        ASSERT_EQ(run.Run({"tovix-to-exm", c.direction, "D.DIC", "back.txt"}).status, 0);
        const auto imported = run.Run({"import-stardict", c.direction, "d.ifo", "again.txt"});
        ASSERT_EQ(imported.status, 0) << imported.err;
        EXPECT_EQ(SortedLines(run.Read("again.txt")), SortedLines(run.Read("back.txt")))
            << c.direction;
        if (!test::HaveProgram("sdcv")) {
            continue;
        }
        fs::create_directory(run / "sd");
        for (const char* file : {"d.ifo", "d.idx", "d.syn", "d.dict", "d.dict.dz"}) {
            if (fs::exists(run / file)) {
                fs::copy_file(run / file, run / "sd" / file);
            }
        }
        const std::string shown =
            Output("sdcv -n --data-dir " + (run / "sd").string() + " " + c.word + " 2>/dev/null");
        EXPECT_NE(shown.find(c.translation), std::string::npos) << c.direction << ": " << shown;
    }
}

TEST(DictionaryFormatsTest, TabfileOutputImportsBackToTheSameEntries) {
    const char* tabfile = "/usr/lib/stardict-tools/tabfile";
    if (!fs::exists(tabfile)) {
        GTEST_SKIP() << "stardict-tools is not installed";
    }
    CliRun run;
    const std::string exm = "apple\tりんご\nbank\t銀行,土手\nzebra\tしまうま\nApple\t会社名\n";
    WriteBytes(run / "tab.txt", exm);
    Output("cd " + run.operator/("").string() + " && " + tabfile + " tab.txt >/dev/null 2>&1");
    const auto imported = run.Run({"import-stardict", "--eng", "tab.ifo", "back.txt"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    std::string expected;
    for (char c : exm) {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(SortedLines(run.Read("back.txt")), SortedLines(Sjis(expected)));
}

// The Debian dictionaries, imported and built into sets as a user would.
TEST(DictionaryFormatsTest, DebianDictdDictionariesImportIntoSetsThatFindTheirWords) {
    struct Case {
        const char* index;
        const char* direction;
        const char* typed;
        const char* found;  // a headword line shown for it
    };
    const Case cases[] = {
        {"/usr/share/dictd/freedict-jpn-eng.index", "--jpn", "いかに", "いかに [如何に]\t"},
        {"/usr/share/dictd/wn.index", "--eng", "dictionary", "dictionary\t"},
    };
    for (const Case& c : cases) {
        if (!fs::exists(c.index)) {
            std::printf("%s is not installed: skipped\n", c.index);
            continue;
        }
        CliRun run;
        const auto imported = run.Run({"import-dictd", c.direction, c.index, "in.txt"});
        ASSERT_EQ(imported.status, 0) << imported.err;
        ASSERT_EQ(run.Run({"exm-to-tovix", c.direction, "in.txt", "D.DIC"}).status, 0);
        const auto shown = run.Run({"show", c.direction, "--max", "3", "D.DIC", c.typed});
        EXPECT_EQ(shown.status, 0) << shown.out;
        EXPECT_NE(shown.out.find(std::string("\n") + c.found), std::string::npos) << shown.out;
    }
}

}  // namespace
}  // namespace tovix
