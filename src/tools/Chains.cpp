#include "tools/Chains.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "dict/DicFileSet.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "tools/SplitSteps.h"
#include "tools/Steps.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

using Step = void (*)(ToolJob& job);

// The steps that differ between the two directions.
struct DirectionSteps {
    Direction direction;
    Step exmToWork;
    Step tovixToExm;
    Step tovixToWork;
    Step workToPair;
    Step seedNew;
    Step makeTable;
    Step makePairTable;
};

constexpr DirectionSteps kEngSteps{Direction::English, ExmToWorkEng,    TovixToExmEng,
                                   TovixToWorkEng,     WorkToPairEng,   SeedNewEng,
                                   MakeTableEng,       MakePairTableEng};
constexpr DirectionSteps kJpnSteps{Direction::Japanese, ExmToWorkJpn,    TovixToExmJpn,
                                   TovixToWorkJpn,      WorkToPairJpn,   SeedNewJpn,
                                   MakeTableJpn,        MakePairTableJpn};

const DirectionSteps& StepsOf(Direction direction) {
    return direction == Direction::Japanese ? kJpnSteps : kEngSteps;
}

// Runs the steps of one command in order until one fails.
class ChainRun {
  public:
    explicit ChainRun(ToolJob& job) : job_(job), caption_(job.reporter.Caption()) {}

    // Runs `step` (any callable taking the job) with these names.
    template <class StepFunction>
    ChainRun& Run(StepFunction&& step, std::string source, std::string dest = {},
                  std::string extra = {}, std::string datName = {}) {
        if (!ok_) {
            return *this;
        }
        job_.Failed = false;
        job_.Source = std::move(source);
        job_.Dest = std::move(dest);
        job_.Extra = std::move(extra);
        job_.DatName = std::move(datName);
        try {
            step(job_);
        } catch (const CommandRefused&) {
            job_.Failed = true;
        } catch (const std::exception&) {
            // Steps report their own failures; this is a last guard so that an
            // unforeseen error still ends the command cleanly.
            job_.reporter.Message(MessageKind::Warning, PaddedMessage(tool_text::kCreateFailed),
                                  kButtonAbort);
            job_.Failed = true;
        }
        if (job_.Failed) {
            Stop();
        }
        return *this;
    }

    // The table builder and the split step that write the set `dicFile` from
    // the pair file "TOVIXSEP.TXT"; the table is built by `makeTable` from
    // `tableSource`.
    ChainRun& BuildSet(const DirectionSteps& steps, Step makeTable, const std::string& tableSource,
                       const std::string& dicFile) {
        const std::string globalTable = GlobalTableFileName(dicFile).string();
        Run(makeTable, tableSource, globalTable);
        const auto split = [&](ToolJob& job) {
            result_.keptAtEnd = SplitTovix(job, steps.direction);
        };
        return Run(split, Work("TOVIXSEP.TXT"), globalTable, dicFile,
                   TableFileName(dicFile).string());
    }

    std::string Work(const char* name) const { return job_.WorkFile(name).string(); }

    // Moves the staged outputs to their places when every step succeeded.
    ChainResult Finish() {
        if (!ok_) {
            return {};
        }
        try {
            job_.CommitOutputs();
        } catch (const IoError& e) {
            job_.reporter.Message(MessageKind::Warning,
                                  FileMessage(e.path().string(), tool_text::kCannotCreate),
                                  kButtonAbort);
            job_.Failed = true;
            Stop();
            return {};
        }
        job_.reporter.SetCaption(caption_);
        result_.succeeded = true;
        return result_;
    }

  private:
    void Stop() {
        ok_ = false;
        job_.DiscardOutputs();
        job_.reporter.SetCaption(caption_);
    }

    ToolJob& job_;
    std::string caption_;
    bool ok_ = true;
    ChainResult result_;
};

// Sort "TOVIXTAB.TXT" (or another work file) and make the pair file of a set:
// the common middle of every command that builds a set.
ChainRun& SortAndPair(ChainRun& run, const DirectionSteps& steps, const std::string& unsorted) {
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    return run.Run(WorkSort, unsorted, sorted)
        .Run(steps.workToPair, sorted, run.Work("TOVIXSEP.TXT"));
}

// Both inputs of a [TOVIX] join, converted, joined and sorted into
// "TOVIXSRT.TXT".
ChainRun& JoinTovixAndSort(ChainRun& run, ToolJob& job, const DirectionSteps& steps) {
    const std::string first = run.Work("TOVIXTA1.TXT");
    const std::string second = run.Work("TOVIXTA2.TXT");
    const std::string joined = run.Work("TOVIXTAB.TXT");
    return run.Run(steps.tovixToWork, job.InName1, first)
        .Run(steps.tovixToWork, job.InName2, second)
        .Run(JoinFiles, first, second, joined)
        .Run(WorkSort, joined, run.Work("TOVIXSRT.TXT"));
}

// Both inputs of a [PDIC] join, converted, joined and sorted into
// "TOVIXSRT.TXT".
ChainRun& JoinPdicAndSort(ChainRun& run, ToolJob& job) {
    const std::string first = run.Work("TOVIXTA1.TXT");
    const std::string second = run.Work("TOVIXTA2.TXT");
    const std::string joined = run.Work("TOVIXTAB.TXT");
    return run.Run(PdicToWork, job.InName1, first)
        .Run(PdicToWork, job.InName2, second)
        .Run(JoinFiles, first, second, joined)
        .Run(WorkSort, joined, run.Work("TOVIXSRT.TXT"));
}

}  // namespace

ChainResult ExmToTovix(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job);
    const std::string converted = run.Work("TOVIXCNV.TXT");
    run.Run(steps.exmToWork, job.InName1, converted);
    return SortAndPair(run, steps, converted)
        .BuildSet(steps, steps.makeTable, run.Work("TOVIXSRT.TXT"), job.OutName1)
        .Finish();
}

ChainResult PdicToTovix(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job);
    const std::string converted = run.Work("TOVIXTAB.TXT");
    run.Run(PdicToWork, job.InName1, converted);
    return SortAndPair(run, steps, converted)
        .BuildSet(steps, steps.makeTable, run.Work("TOVIXSRT.TXT"), job.OutName1)
        .Finish();
}

ChainResult TovixToExm(ToolJob& job, Direction direction) {
    return ChainRun(job).Run(StepsOf(direction).tovixToExm, job.InName1, job.OutName1).Finish();
}

ChainResult PdicToExm(ToolJob& job, Direction direction) {
    // The J-E command keeps the work line form: a blank before the TAB.
    const Step step = direction == Direction::Japanese ? Step{PdicToWork} : Step{tovix::PdicToExm};
    return ChainRun(job).Run(step, job.InName1, job.OutName1).Finish();
}

ChainResult ReMakeTovix(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job);
    const std::string converted = run.Work("TOVIXTAB.TXT");
    run.Run(steps.tovixToWork, job.InName1, converted);
    return SortAndPair(run, steps, converted)
        .BuildSet(steps, steps.makeTable, run.Work("TOVIXSRT.TXT"), job.InName1)
        .Finish();
}

ChainResult NewTovix(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job);
    run.Run(steps.seedNew, job.OutName1);
    return SortAndPair(run, steps, job.OutName1)
        .BuildSet(steps, steps.makeTable, run.Work("TOVIXSRT.TXT"), job.OutName1)
        .Finish();
}

ChainResult ExmTogether(ToolJob& job, Direction /*direction*/) {
    ChainRun run(job);
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    const std::string pairs = run.Work("TOVIXCRR.TXT");
    const std::string gathered = run.Work("TOVIXSEP.TXT");
    return run.Run(WorkSort, job.InName1, sorted)
        .Run(WorkToPairEng, sorted, pairs)
        .Run(GatherPair, pairs, gathered)
        .Run(PairToExm, gathered, job.InName1)
        .Finish();
}

ChainResult PdicTogether(ToolJob& job, Direction /*direction*/) {
    ChainRun run(job);
    const std::string converted = run.Work("TOVIXTAB.TXT");
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    const std::string pairs = run.Work("TOVIXCRR.TXT");
    return run.Run(PdicToWork, job.InName1, converted)
        .Run(WorkSort, converted, sorted)
        .Run(WorkToPairEng, sorted, pairs)
        .Run(GatherPairToPdic, pairs, job.InName1)
        .Finish();
}

ChainResult TovixTogether(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job);
    const std::string converted = run.Work("TOVIXTAB.TXT");
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    const std::string pairs = run.Work("TOVIXCRR.TXT");
    const std::string gathered = run.Work("TOVIXSEP.TXT");
    // The table is built from the gathered pair file, the file that is split,
    // so that its line numbers are those of the parts.
    return run.Run(steps.tovixToWork, job.InName1, converted)
        .Run(WorkSort, converted, sorted)
        .Run(WorkToPairEng, sorted, pairs)
        .Run(GatherPair, pairs, gathered)
        .BuildSet(steps, steps.makePairTable, gathered, job.InName1)
        .Finish();
}

ChainResult ExmAndExmToExm(ToolJob& job, Direction /*direction*/) {
    ChainRun run(job);
    const std::string joined = run.Work("TOVIXTAB.TXT");
    return run.Run(JoinFiles, job.InName1, job.InName2, joined)
        .Run(WorkSort, joined, job.OutName1)
        .Finish();
}

ChainResult ExmAndExmToExmTogether(ToolJob& job, Direction /*direction*/) {
    ChainRun run(job);
    const std::string joined = run.Work("TOVIXTAB.TXT");
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    const std::string pairs = run.Work("TOVIXDUP.TXT");
    const std::string gathered = run.Work("TOVIXSEP.TXT");
    return run.Run(JoinFiles, job.InName1, job.InName2, joined)
        .Run(WorkSort, joined, sorted)
        .Run(WorkToPairEng, sorted, pairs)
        .Run(GatherPair, pairs, gathered)
        .Run(PairToExm, gathered, job.OutName1)
        .Finish();
}

ChainResult PdicAndPdicToPdic(ToolJob& job, Direction /*direction*/) {
    ChainRun run(job);
    return JoinPdicAndSort(run, job)
        .Run(WorkToPdic, run.Work("TOVIXSRT.TXT"), job.OutName1)
        .Finish();
}

ChainResult PdicAndPdicToPdicTogether(ToolJob& job, Direction direction) {
    ChainRun run(job);
    const std::string pairs = run.Work("TOVIXDUP.TXT");
    return JoinPdicAndSort(run, job)
        .Run(StepsOf(direction).workToPair, run.Work("TOVIXSRT.TXT"), pairs)
        .Run(GatherPairToPdic, pairs, job.OutName1)
        .Finish();
}

ChainResult TovixAndTovixToTovix(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job);
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    return JoinTovixAndSort(run, job, steps)
        .Run(steps.workToPair, sorted, run.Work("TOVIXSEP.TXT"))
        .BuildSet(steps, steps.makeTable, sorted, job.OutName1)
        .Finish();
}

ChainResult TovixAndTovixToTovixTogether(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job);
    const std::string pairs = run.Work("TOVIXDUP.TXT");
    const std::string gathered = run.Work("TOVIXSEP.TXT");
    // As in TovixTogether, the table comes from the gathered pair file.
    return JoinTovixAndSort(run, job, steps)
        .Run(steps.workToPair, run.Work("TOVIXSRT.TXT"), pairs)
        .Run(GatherPair, pairs, gathered)
        .BuildSet(steps, steps.makePairTable, gathered, job.OutName1)
        .Finish();
}

ChainResult ExmDicCheck(ToolJob& job) {
    return ChainRun(job).Run(CheckExm, job.InName1, job.OutName1, job.OutName2).Finish();
}

ChainResult PdicDicCheck(ToolJob& job) {
    return ChainRun(job).Run(CheckPdic, job.InName1, job.OutName1, job.OutName2).Finish();
}

ChainResult ExmDicDivide(ToolJob& job) {
    return ChainRun(job).Run(DivideExm, job.InName1, job.OutName1, job.OutName2).Finish();
}

ChainResult PdicDicDivide(ToolJob& job) {
    return ChainRun(job).Run(DividePdic, job.InName1, job.OutName1, job.OutName2).Finish();
}

ChainResult ImportEdict(ToolJob& job, Direction direction, EdictImportCounts& counts) {
    const auto import = [&](ToolJob& j) { EdictToExm(j, direction, counts); };
    return ChainRun(job).Run(import, job.InName1, job.OutName1).Finish();
}

namespace {

template <ChainResult (*Chain)(ToolJob&, Direction)>
ChainResult Eng(ToolJob& job) {
    return Chain(job, Direction::English);
}

template <ChainResult (*Chain)(ToolJob&, Direction)>
ChainResult Jpn(ToolJob& job) {
    return Chain(job, Direction::Japanese);
}

using enum ToolWindow;

constexpr ToolCommand kCommands[] = {
    {"MenuEngExmToTovixClick", TForm22, "英和辞書作成 (タブ区切り [EXM] を変換)", "", "",
     Eng<ExmToTovix>},
    {"MenuEngPdicToTovixClick", TForm22, "英和辞書作成 (改行区切り [PDIC] を変換)", "", "",
     Eng<PdicToTovix>},
    {"MenuEngTovixToExmClick", TForm22,
     "英和辞書変換 (改行区切り [TOVIX] を タブ区切り [EXM] に変換)", "", "", Eng<TovixToExm>},
    {"MenuEngPdicToExmClick", TForm22,
     "英和辞書変換 (改行区切り [PDIC] を タブ区切り [EXM] に変換)", "", "", Eng<PdicToExm>},
    {"MenuEngReMakeTovixClick", TForm23, "英和辞書再作成", "", "", Eng<ReMakeTovix>},
    {"MenuEngNewTovixClick", TForm25, "英和辞書 [Tovix] の新規作成", "", "", Eng<NewTovix>},
    {"MenuEngExmTogetherClick", TForm23, "英和辞書整形 (タブ区切り [EXM] の重複を許可しない)", "",
     "", Eng<ExmTogether>},
    {"MenuEngPdicTogetherClick", TForm23, "英和辞書整形 (改行区切り [PDIC] の重複を許可しない)", "",
     "", Eng<PdicTogether>},
    {"MenuEngTovixTogetherClick", TForm23, "英和辞書整形 (改行区切り [TOVIX] の重複を許可しない)",
     "", "", Eng<TovixTogether>},
    {"MenuEngExmAndExmToExmClick", TForm24,
     "英和辞書結合 (タブ区切り [EXM] の見出しの重複はそのまま)", "", "", Eng<ExmAndExmToExm>},
    {"MenuEngExmAndExmToExmTogetherClick", TForm24,
     "英和辞書結合 (タブ区切り [EXM] の見出しの重複をまとめる)", "", "",
     Eng<ExmAndExmToExmTogether>},
    {"MenuEngPdicAndPdicToPdicClick", TForm24,
     "英和辞書結合 (改行区切り [PDIC] の見出しの重複はそのまま)", "", "", Eng<PdicAndPdicToPdic>},
    {"MenuEngPdicAndPdicToPdicTogetherClick", TForm24,
     "英和辞書結合 (改行区切り [PDIC] の見出しの重複はまとめる)", "", "",
     Eng<PdicAndPdicToPdicTogether>},
    {"MenuEngTovixAndTovixToTovixClick", TForm24,
     "英和辞書結合 (改行区切り [TOVIX] の見出しの重複はそのまま)", "", "",
     Eng<TovixAndTovixToTovix>},
    {"MenuEngTovixAndTovixToTovixTogetherClick", TForm24,
     "英和辞書結合 (改行区切り [TOVIX] の見出しの重複はまとめる)", "", "",
     Eng<TovixAndTovixToTovixTogether>},

    {"MenuJpnExmToTovixClick", TForm22, "和英辞書作成 (タブ区切り [EXM] を変換)", "", "",
     Jpn<ExmToTovix>},
    {"MenuJpnPdicToTovixClick", TForm22, "和英辞書作成 (改行区切り [PDIC] を変換)", "", "",
     Jpn<PdicToTovix>},
    {"MenuJpnTovixToExmClick", TForm22,
     "和英辞書変換 (改行区切り [TOVIX] を タブ区切り [EXM] に変換)", "", "", Jpn<TovixToExm>},
    {"MenuJpnPdicToExmClick", TForm22,
     "和英辞書変換 (改行区切り [PDIC] を タブ区切り [EXM] に変換)", "", "", Jpn<PdicToExm>},
    {"MenuJpnReMakeTovixClick", TForm23, "和英辞書再作成", "", "", Jpn<ReMakeTovix>},
    {"MenuJpnNewTovixClick", TForm25, "和英辞書 [Tovix] の新規作成", "", "", Jpn<NewTovix>},
    {"MenuJpnExmTogetherClick", TForm23, "和英辞書整形 (タブ区切り [EXM] の重複を許可しない)", "",
     "", Jpn<ExmTogether>},
    {"MenuJpnPdicTogetherClick", TForm23, "和英辞書整形 (改行区切り [PDIC] の重複を許可しない)", "",
     "", Jpn<PdicTogether>},
    {"MenuJpnTovixTogetherClick", TForm23, "和英辞書整形 (改行区切り [TOVIX] の重複を許可しない)",
     "", "", Jpn<TovixTogether>},
    {"MenuJpnExmAndExmToExmClick", TForm24,
     "和英辞書結合 (タブ区切り [EXM] の見出しの重複はそのまま)", "", "", Jpn<ExmAndExmToExm>},
    {"MenuJpnExmAndExmToExmTogetherClick", TForm24,
     "和英辞書結合 (タブ区切り [EXM] の見出しの重複をまとめる)", "", "",
     Jpn<ExmAndExmToExmTogether>},
    {"MenuJpnPdicAndPdicToPdicClick", TForm24,
     "和英辞書結合 (改行区切り [PDIC] の見出しの重複はそのまま)", "", "", Jpn<PdicAndPdicToPdic>},
    {"MenuJpnPdicAndPdicToPdicTogetherClick", TForm24,
     "和英辞書結合 (改行区切り [PDIC] の見出しの重複はまとめる)", "", "",
     Jpn<PdicAndPdicToPdicTogether>},
    {"MenuJpnTovixAndTovixToTovixClick", TForm24,
     "和英辞書結合 (改行区切り [TOVIX] の見出しの重複はそのまま)", "", "",
     Jpn<TovixAndTovixToTovix>},
    {"MenuJpnTovixAndTovixToTovixTogetherClick", TForm24,
     "和英辞書結合 (改行区切り [TOVIX] の見出しの重複はまとめる)", "", "",
     Jpn<TovixAndTovixToTovixTogether>},

    {"MenuExmDicCheckClick", TForm26, "辞書検査(タブ区切り [EXM] の辞書の検査)", "60", "360",
     ExmDicCheck},
    {"MenuPdicDicCheckClick", TForm26, "辞書検査(改行区切り [PDIC] の辞書の検査)", "256", "512",
     PdicDicCheck},
    {"MenuExmDicDivideClick", TForm26, "辞書検査(タブ区切り [EXM] の辞書の検査)", "60", "360",
     ExmDicDivide},
    {"MenuPdicDicDivideClick", TForm26, "辞書検査(改行区切り [PDIC] の辞書の検査)", "256", "512",
     PdicDicDivide},
};

// The items of the 作成(&M) menu run commands of the 変換(&T) menu.
constexpr std::pair<std::string_view, std::string_view> kMakeMenuItems[] = {
    {"MenuMake01Click", "MenuEngExmTogetherClick"}, {"MenuMake02Click", "MenuEngExmToTovixClick"},
    {"MenuMake03Click", "MenuJpnExmTogetherClick"}, {"MenuMake04Click", "MenuJpnExmToTovixClick"},
    {"MenuMake05Click", "MenuEngTovixToExmClick"},  {"MenuMake06Click", "MenuJpnTovixToExmClick"},
};

}  // namespace

std::span<const ToolCommand> ToolCommands() {
    return kCommands;
}

const ToolCommand* FindToolCommand(std::string_view handler) {
    for (const auto& [item, target] : kMakeMenuItems) {
        if (handler == item) {
            handler = target;
        }
    }
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const ToolCommand& c) { return c.handler == handler; });
    return found == std::end(kCommands) ? nullptr : found;
}

}  // namespace tovix
