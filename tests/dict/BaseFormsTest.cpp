// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/BaseForms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "dict/DicFileSet.h"
#include "dict/FileStamp.h"
#include "dict/HeadwordIndex.h"
#include "dict/KeyAlphabet.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/PartCacheView.h"
#include "platform/BackgroundThread.h"
#include "platform/FaultInjection.h"
#include "platform/IoError.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

std::string S(const std::string& utf8) {
    return Utf8ToCp932(utf8);
}

class BaseFixture {
  public:
    BaseFixture(Direction direction, const std::vector<std::string>& entries)
        : dicFile(test::BuildDictionary(dir, direction, entries)) {
        state.direction = direction;
        state.dicFile = dicFile;
        state.table = TDicTable::LoadFromFile(TableFileName(dicFile), direction);
        state.findBaseForms = true;
        view.LoadFromFile(dicFile);
    }

    // The first base form and its rule names, "" when there is none.
    std::string FirstBase(const std::string& utf8) {
        const std::vector<BaseForm> bases = FindBaseForms(state, S(utf8));
        return bases.empty() ? "" : Cp932ToUtf8(bases[0].word + "|" + bases[0].names);
    }

    std::string Top() const { return Cp932ToUtf8(view.ViewLine(view.TopLine())); }

    test::TempDir dir;
    std::filesystem::path dicFile;
    SearchState state;
    LineStoreView view;
    test::RecordingReporter reporter;
};

const std::vector<std::string> kJapanese = {
    "たべる[食べる]\t(P) 《一段・他》to eat",
    "いく[行く]\t《五段・自》to go",
    "べんきょう[勉強]\t《名・する》study",
    "みる[見る]\t《一段・他》to see",
    "たかい[高い]\t《形》high",
    "たつ[竜]\t《名》dragon",
    "あう[会う]\tto meet",
    "きのう[昨日]\t《名》yesterday",
    "えいが[映画]\t《名》film",
    "たべもの[食べ物]\t《名》food",
};

// A base form counts when it is a headword (reading or written form) whose
// marks agree with the class the rules give; unmarked entries take any.
TEST(BaseFormsTest, JapaneseBasesMustBeHeadwordsOfAgreeingClass) {
    BaseFixture f(Direction::Japanese, kJapanese);
    const std::pair<const char*, const char*> cases[] = {
        {"食べた", "食べる|過去"},
        {"たべました", "たべる|丁寧・過去"},
        {"タベタ", "たべる|過去"},
        {"行った", "行く|過去"},
        {"勉強した", "勉強|過去"},
        {"べんきょうします", "べんきょう|丁寧"},
        {"見させられた", "見る|使役・受身・過去"},
        {"高かった", "高い|過去"},
        {"会った", "会う|過去"},
        {"たった", ""},  // たつ is a noun only
        {"食べる", ""},
        {"", ""},
    };
    for (const auto& [typed, base] : cases) {
        EXPECT_EQ(f.FirstBase(typed), base) << typed;
    }
}

// A read that fails while base forms are looked for costs that search only:
// the next one reads the part again and finds the base.
TEST(BaseFormsTest, FailedReadHidesNoBaseFromTheNextSearch) {
    for (long nth = 1;; ++nth) {
        BaseFixture f(Direction::Japanese, kJapanese);
        InjectFault(FaultOperation::Read, nth, FaultAction::Fail);
        try {
            f.FirstBase("食べた");
        } catch (const IoError&) {
        }
        const bool fired = FaultCount(FaultOperation::Read) >= nth;
        ClearFaults();
        EXPECT_EQ(f.FirstBase("食べた"), "食べる|過去") << "read " << nth;
        if (!fired) {
            break;
        }
    }
}

// The words of a part are read again once the set has been replaced (its
// table with it).
TEST(BaseFormsTest, ReplacedSetGivesItsOwnBases) {
    BaseFixture f(Direction::Japanese, kJapanese);
    f.state.tableStamp = StampOf(TableFileName(f.dicFile));
    EXPECT_EQ(f.FirstBase("食べた"), "食べる|過去");
    test::BuildDictionary(f.dir, Direction::Japanese, {"たべる[食べる]\t《名》a made-up noun"});
    f.state.tableStamp = StampOf(TableFileName(f.dicFile));
    EXPECT_EQ(f.FirstBase("食べた"), "");
}

// Waits until the headword index has no part on a thread; false after 10 s.
bool IndexingEnds(HeadwordIndex& index) {
    for (int i = 0; i < 1000 && index.Building(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        index.CollectReady();
    }
    return !index.Building();
}

// With parts indexed on threads, a lookup does not wait for its part: it
// answers without the base and says so; asked again once the part is
// indexed, it finds the base and goes there. A replaced set is indexed again
// the same way.
TEST(BaseFormsTest, BackgroundIndexingAnswersLaterWithoutWaiting) {
    BaseFixture f(Direction::Japanese, kJapanese);
    f.state.tableStamp = StampOf(TableFileName(f.dicFile));
    f.state.headwords->SetBackground(std::make_shared<BackgroundThread>());
    LookupOutcome outcome = Lookup(f.state, f.view, f.reporter, S("食べた"));
    EXPECT_TRUE(outcome.basesPending);
    EXPECT_TRUE(outcome.bases.empty());
    EXPECT_FALSE(outcome.movedToBase);
    ASSERT_TRUE(IndexingEnds(*f.state.headwords));
    outcome = Lookup(f.state, f.view, f.reporter, S("食べた"));
    EXPECT_FALSE(outcome.basesPending);
    EXPECT_TRUE(outcome.movedToBase);
    EXPECT_EQ(f.Top(), "たべる [食べる]");

    test::BuildDictionary(f.dir, Direction::Japanese, {"たべる[食べる]\t《名》a made-up noun"});
    f.state.tableStamp = StampOf(TableFileName(f.dicFile));
    EXPECT_EQ(f.FirstBase("食べた"), "");
    EXPECT_TRUE(f.state.headwords->TakePending());
    ASSERT_TRUE(IndexingEnds(*f.state.headwords));
    EXPECT_EQ(f.FirstBase("食べた"), "");
    EXPECT_FALSE(f.state.headwords->TakePending());
    EXPECT_EQ(f.FirstBase("見た"), "");
}

// Another dictionary opened while a part of the first waits to be indexed:
// the first set's index goes without waiting for its work, and the next
// index, on the same background thread, answers from its own set.
TEST(BaseFormsTest, SwitchingDictionariesWhileIndexingWaitsForNothing) {
    auto thread = std::make_shared<BackgroundThread>();
    // A job that keeps the thread busy until released.
    std::promise<void> release;
    thread->Post(std::stop_source(),
                 [busy = release.get_future().share()](std::stop_token) { busy.wait(); });
    {
        BaseFixture first(Direction::Japanese, kJapanese);
        first.state.headwords->SetBackground(thread);
        EXPECT_TRUE(Lookup(first.state, first.view, first.reporter, S("食べた")).basesPending);
        auto going = std::async(std::launch::async, [&first] { first.state.headwords.reset(); });
        EXPECT_EQ(going.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        release.set_value();
    }
    BaseFixture next(Direction::Japanese, {"たべる[食べる]\t《名》a made-up noun",
                                           "たてる[立てる]\t《一段・他》to stand"});
    next.state.headwords->SetBackground(thread);
    EXPECT_EQ(next.FirstBase("食べた"), "");
    ASSERT_TRUE(IndexingEnds(*next.state.headwords));
    EXPECT_EQ(next.FirstBase("食べた"), "");
    EXPECT_EQ(next.FirstBase("立てた"), "立てる|過去");
}

TEST(BaseFormsTest, LookupGoesToTheBaseOnlyWhenNothingBeginsWithTheText) {
    BaseFixture f(Direction::Japanese, kJapanese);
    LookupOutcome outcome = Lookup(f.state, f.view, f.reporter, S("食べた"));
    EXPECT_FALSE(outcome.matched);
    EXPECT_TRUE(outcome.movedToBase);
    EXPECT_EQ(f.Top(), "たべる [食べる]");
    EXPECT_EQ(Cp932ToUtf8(BaseFormLine(S("食べた"), outcome.bases)), "食べた → 食べる（過去）");

    // 食べ begins 食べる: the view stays there, the base is only offered.
    outcome = Lookup(f.state, f.view, f.reporter, S("たべもの"));
    EXPECT_TRUE(outcome.matched);
    EXPECT_FALSE(outcome.movedToBase);

    f.state.findBaseForms = false;
    outcome = Lookup(f.state, f.view, f.reporter, S("行った"));
    EXPECT_FALSE(outcome.movedToBase);
    EXPECT_TRUE(outcome.bases.empty());
}

TEST(BaseFormsTest, PastedPhraseShowsItsLongestLeadingWord) {
    BaseFixture f(Direction::Japanese, kJapanese);
    const std::pair<const char*, const char*> cases[] = {
        {"昨日映画を見ました", "昨日"},
        {"見てしまいましたよね", "見てしまいました"},
        {"映画を", "映画"},
    };
    for (const auto& [phrase, part] : cases) {
        const LookupOutcome outcome = Lookup(f.state, f.view, f.reporter, S(phrase), true);
        EXPECT_TRUE(outcome.movedToBase) << phrase;
        EXPECT_EQ(outcome.leadingPart, S(part).size()) << phrase;
    }
    EXPECT_EQ(f.Top(), "えいが [映画]");
    // Typed character by character, a miss stays a miss.
    EXPECT_EQ(Lookup(f.state, f.view, f.reporter, S("昨日映画を見ました")).leadingPart, 0u);
}

TEST(BaseFormsTest, EnglishBasesAndPhrases) {
    BaseFixture f(Direction::English, {"walk\t歩く", "study\t勉強する", "stop\t止める", "go\t行く",
                                       "went\tいらした", "mouse\tネズミ"});
    EXPECT_EQ(f.FirstBase("walked"), "walk|過去");
    EXPECT_EQ(f.FirstBase("Studies"), "study|複数・三単現");
    EXPECT_EQ(f.FirstBase("stopped"), "stop|過去");
    EXPECT_EQ(f.FirstBase("walkers"), "");
    if (!EnglishIrregularFormsMissing()) {
        const LookupOutcome outcome = Lookup(f.state, f.view, f.reporter, "went");
        EXPECT_TRUE(outcome.matched);
        ASSERT_FALSE(outcome.bases.empty());
        EXPECT_EQ(outcome.bases[0].word, "go");
        EXPECT_EQ(f.FirstBase("mice").substr(0, 6), "mouse|");
    }
    const LookupOutcome phrase = Lookup(f.state, f.view, f.reporter, "walked home", true);
    EXPECT_EQ(phrase.leadingPart, 6u);
    EXPECT_EQ(f.Top(), "walk ");
}

// The index takes a part's lines from the command line's view, which keeps
// the parts it read, only while the file is the one read: after the set is
// replaced it reads the new file.
TEST(BaseFormsTest, IndexTakesTheViewsLinesOfTheFileAsItIsOnly) {
    test::TempDir dir;
    const std::filesystem::path dicFile =
        test::BuildDictionary(dir, Direction::English, {"apple\tりんご", "go\t行く"});
    SearchState state;
    state.direction = Direction::English;
    state.dicFile = dicFile;
    state.findBaseForms = true;
    state.table = TDicTable::LoadFromFile(TableFileName(dicFile), Direction::English);
    state.tableStamp = StampOf(TableFileName(dicFile));
    PartCacheView view;
    state.headwords->SetLoadedLines(
        [&view](const std::filesystem::path& file, const FileStamp& stamp) {
            return view.Loaded(file, stamp);
        });
    test::RecordingReporter reporter;
    const std::filesystem::path part = PartFileName(dicFile, PartNumber(Direction::English, "a"));
    EXPECT_EQ(Lookup(state, view, reporter, "apples").bases.at(0).word, "apple");
    EXPECT_NE(view.Loaded(part, StampOf(part)), nullptr);

    test::BuildDictionary(dir, Direction::English, {"apply\t適用する", "go\t行く"});
    state.tableStamp = StampOf(TableFileName(dicFile));
    EXPECT_EQ(view.Loaded(part, StampOf(part)), nullptr);
    EXPECT_TRUE(FindBaseForms(state, "apples").empty());
    ASSERT_EQ(FindBaseForms(state, "applies").size(), 1u);
    EXPECT_EQ(FindBaseForms(state, "applies")[0].word, "apply");
    EXPECT_TRUE(reporter.messages.empty());
}

// Every headword of a part of thousands of entries is found with the
// classes of its entries, whatever its case, trailing blanks, katakana or
// written form; texts that are no headword are not.
TEST(BaseFormsTest, HeadwordIndexFindsEveryHeadwordOfALargePart) {
    using namespace word_class;
    constexpr int kWords = 3000;
    const char* kana[] = {"か", "キ", "く", "ケ", "こ", "さ", "シ", "す", "セ", "そ"};
    std::vector<std::string> english;
    std::vector<std::string> japanese;
    for (int n = 0; n < kWords; ++n) {
        const std::string number = std::to_string(n);
        english.push_back((n % 3 == 0 ? "Wa" : "wa") + number + "\tことば");
        std::string reading = "た";
        for (const char c : number) {
            reading += kana[c - '0'];
        }
        japanese.push_back(reading + "[多" + number + "]\t" +
                           (n % 2 == 0 ? "《五段・自》to go" : "to be"));
    }
    BaseFixture e(Direction::English, english);
    BaseFixture j(Direction::Japanese, japanese);
    const WrittenFormIndex* written = j.state.writtenForms->Get(WrittenFormFileName(j.dicFile));
    ASSERT_NE(written, nullptr);
    for (int n = 0; n < kWords; ++n) {
        const std::string number = std::to_string(n);
        EXPECT_EQ(e.state.headwords->Find(e.dicFile, Direction::English, nullptr, "wa" + number),
                  std::optional<WordClasses>(kAny))
            << n;
        EXPECT_FALSE(e.state.headwords->Find(e.dicFile, Direction::English, nullptr,
                                             "wa" + number + "0" + "x"))
            << n;
        std::string reading = "た";
        for (const char c : number) {
            reading += kana[c - '0'];
        }
        const WordClasses classes = n % 2 == 0 ? kGodan : kAny;
        EXPECT_EQ(j.state.headwords->Find(j.dicFile, Direction::Japanese, written, S(reading)),
                  std::optional<WordClasses>(classes))
            << n;
        EXPECT_EQ(
            j.state.headwords->Find(j.dicFile, Direction::Japanese, written, S("多" + number)),
            std::optional<WordClasses>(classes))
            << n;
        EXPECT_FALSE(j.state.headwords->Find(j.dicFile, Direction::Japanese, written,
                                             S("多" + number + "多")))
            << n;
    }
}

}  // namespace
}  // namespace tovix
