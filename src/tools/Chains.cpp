// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Chains.h"

#include <exception>
#include <filesystem>
#include <string>
#include <utility>

#include "dict/DicFileSet.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "tools/ChainRun.h"
#include "tools/StarDictExport.h"
#include "tools/Steps.h"
#include "tools/TableSteps.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

using Step = ChainRun::Step;

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
    // The sort of a set's entries; gathering duplicates keeps WorkSort,
    // which puts equal headwords next to each other.
    Step sort;
    // The sort and workToPair in one step, which builds the sorted file's
    // global table on the way.
    void (*sortToPairAndTable)(ToolJob& job, SortedTable& table);
};

constexpr DirectionSteps kEngSteps{
    Direction::English, ExmToWorkEng, TovixToExmEng,    TovixToWorkEng, WorkToPairEng,
    SeedNewEng,         MakeTableEng, MakePairTableEng, WorkSort,       WorkSortToPairAndTableEng};
constexpr DirectionSteps kJpnSteps{
    Direction::Japanese, ExmToWorkJpn, TovixToExmJpn,    TovixToWorkJpn, WorkToPairJpn,
    SeedNewJpn,          MakeTableJpn, MakePairTableJpn, WorkSortJpn,    WorkSortToPairAndTableJpn};

const DirectionSteps& StepsOf(Direction direction) {
    return direction == Direction::Japanese ? kJpnSteps : kEngSteps;
}

// Sort "TOVIXTAB.TXT" (or another work file), make the pair file and build
// the set `dicFile` from them: the common end of every command that builds a
// set from unsorted entries. The table step writes the table that the sort
// built as it wrote the sorted file.
ChainRun& SortAndBuildSet(ChainRun& run, const DirectionSteps& steps, const std::string& unsorted,
                          const std::string& dicFile) {
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    SortedTable table(steps.direction);
    run.Run([&](ToolJob& job) { steps.sortToPairAndTable(job, table); }, unsorted, sorted,
            run.Work("TOVIXSEP.TXT"));
    return run.BuildSet(
        steps.direction, [&](ToolJob& job) { MakeTableFrom(job, table); }, sorted, dicFile);
}

// Both inputs of a [TOVIX] join, converted, joined and sorted into
// "TOVIXSRT.TXT".
ChainRun& JoinTovixAndSort(ChainRun& run, ToolJob& job, const DirectionSteps& steps, Step sort) {
    const std::string first = run.Work("TOVIXTA1.TXT");
    const std::string second = run.Work("TOVIXTA2.TXT");
    const std::string joined = run.Work("TOVIXTAB.TXT");
    return run.Run(steps.tovixToWork, job.InName1, first)
        .Run(steps.tovixToWork, job.InName2, second)
        .Run(JoinFiles, first, second, joined)
        .Run(sort, joined, run.Work("TOVIXSRT.TXT"));
}

// Both text inputs of a join, read as CP932 from here on.
ChainRun& ReadsBothTexts(ChainRun& run, ToolJob& job) {
    return run.ReadsText(job.InName1, "TOVIXIN1.TXT").ReadsText(job.InName2, "TOVIXIN2.TXT");
}

// Both inputs of a [PDIC] join, converted, joined and sorted into
// "TOVIXSRT.TXT".
ChainRun& JoinPdicAndSort(ChainRun& run, ToolJob& job) {
    const std::string first = run.Work("TOVIXTA1.TXT");
    const std::string second = run.Work("TOVIXTA2.TXT");
    const std::string joined = run.Work("TOVIXTAB.TXT");
    return ReadsBothTexts(run, job)
        .Run(PdicToWork, job.InName1, first)
        .Run(PdicToWork, job.InName2, second)
        .Run(JoinFiles, first, second, joined)
        .Run(WorkSort, joined, run.Work("TOVIXSRT.TXT"));
}

// The [EXM] text a set is built from: InName1, read as CP932 from here on,
// or for a dictd or StarDict dictionary the work file it is imported into;
// what the import left out or replaced is told before the build goes on.
std::string ExmInput(ChainRun& run, ToolJob& job, Direction direction) {
    DictFormat format{};
    if (!IsDictionaryIndex(job.InName1, format)) {
        run.ReadsText(job.InName1, "TOVIXIN1.TXT");
        return job.InName1;
    }
    const std::string imported = run.Work("TOVIXIMP.TXT");
    DictImportCounts counts;
    run.Run([&](ToolJob& j) { DictToExm(j, format, direction, counts); }, job.InName1, imported);
    const std::string notice = ImportNotice(counts);
    if (!job.Failed && !notice.empty()) {
        job.reporter.Message(MessageKind::Information, FileMessage(job.InName1, notice), kButtonOk);
    }
    return imported;
}

}  // namespace

ChainResult ExmToTovix(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job, job.OutName1);
    const std::string converted = run.Work("TOVIXCNV.TXT");
    const std::string input = ExmInput(run, job, direction);
    run.Run(steps.exmToWork, input, converted);
    return SortAndBuildSet(run, steps, converted, job.OutName1).Finish();
}

ChainResult PdicToTovix(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job, job.OutName1);
    const std::string converted = run.Work("TOVIXTAB.TXT");
    run.ReadsText(job.InName1, "TOVIXIN1.TXT").Run(PdicToWork, job.InName1, converted);
    return SortAndBuildSet(run, steps, converted, job.OutName1).Finish();
}

ChainResult TovixToExm(ToolJob& job, Direction direction) {
    ChainRun run(job);
    const std::string out = run.TextOutput(job.OutName1);
    return run.Run(StepsOf(direction).tovixToExm, job.InName1, out)
        .EncodeOutput(out, job.OutName1)
        .Finish();
}

ChainResult PdicToExm(ToolJob& job, Direction direction) {
    // The J-E command keeps the work line form: a blank before the TAB.
    const Step step = direction == Direction::Japanese ? Step{PdicToWork} : Step{tovix::PdicToExm};
    ChainRun run(job);
    const std::string out = run.TextOutput(job.OutName1);
    return run.ReadsText(job.InName1, "TOVIXIN1.TXT")
        .Run(step, job.InName1, out)
        .EncodeOutput(out, job.OutName1)
        .Finish();
}

ChainResult ReMakeTovix(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job, job.InName1);
    const std::string converted = run.Work("TOVIXTAB.TXT");
    run.Run(steps.tovixToWork, job.InName1, converted);
    return SortAndBuildSet(run, steps, converted, job.InName1).Finish();
}

ChainResult NewTovix(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job, job.OutName1);
    run.Run(steps.seedNew, job.OutName1);
    return SortAndBuildSet(run, steps, job.OutName1, job.OutName1).Finish();
}

ChainResult ExmTogether(ToolJob& job, Direction /*direction*/) {
    ChainRun run(job);
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    const std::string pairs = run.Work("TOVIXCRR.TXT");
    const std::string gathered = run.Work("TOVIXSEP.TXT");
    run.ReadsText(job.InName1, "TOVIXIN1.TXT", true);
    const std::string out = run.TextOutput(job.InName1);
    return run.Run(WorkSort, job.InName1, sorted)
        .Run(WorkToPairEng, sorted, pairs)
        .Run(GatherPair, pairs, gathered)
        .Run(PairToExm, gathered, out)
        .EncodeOutput(out, job.InName1)
        .Finish();
}

ChainResult PdicTogether(ToolJob& job, Direction /*direction*/) {
    ChainRun run(job);
    const std::string converted = run.Work("TOVIXTAB.TXT");
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    const std::string pairs = run.Work("TOVIXCRR.TXT");
    run.ReadsText(job.InName1, "TOVIXIN1.TXT", true);
    const std::string out = run.TextOutput(job.InName1);
    return run.Run(PdicToWork, job.InName1, converted)
        .Run(WorkSort, converted, sorted)
        .Run(WorkToPairEng, sorted, pairs)
        .Run(GatherPairToPdic, pairs, out)
        .EncodeOutput(out, job.InName1)
        .Finish();
}

ChainResult TovixTogether(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job, job.InName1);
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
        .BuildSet(steps.direction, steps.makePairTable, gathered, job.InName1)
        .Finish();
}

ChainResult ExmAndExmToExm(ToolJob& job, Direction /*direction*/) {
    ChainRun run(job);
    const std::string joined = run.Work("TOVIXTAB.TXT");
    return ReadsBothTexts(run, job)
        .Run(JoinFiles, job.InName1, job.InName2, joined)
        .Run(WorkSort, joined, job.OutName1)
        .Finish();
}

ChainResult ExmAndExmToExmTogether(ToolJob& job, Direction /*direction*/) {
    ChainRun run(job);
    const std::string joined = run.Work("TOVIXTAB.TXT");
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    const std::string pairs = run.Work("TOVIXDUP.TXT");
    const std::string gathered = run.Work("TOVIXSEP.TXT");
    return ReadsBothTexts(run, job)
        .Run(JoinFiles, job.InName1, job.InName2, joined)
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
    ChainRun run(job, job.OutName1);
    const std::string sorted = run.Work("TOVIXSRT.TXT");
    return JoinTovixAndSort(run, job, steps, steps.sort)
        .Run(steps.workToPair, sorted, run.Work("TOVIXSEP.TXT"))
        .BuildSet(steps.direction, steps.makeTable, sorted, job.OutName1)
        .Finish();
}

ChainResult TovixAndTovixToTovixTogether(ToolJob& job, Direction direction) {
    const DirectionSteps& steps = StepsOf(direction);
    ChainRun run(job, job.OutName1);
    const std::string pairs = run.Work("TOVIXDUP.TXT");
    const std::string gathered = run.Work("TOVIXSEP.TXT");
    // As in TovixTogether, the table comes from the gathered pair file.
    return JoinTovixAndSort(run, job, steps, WorkSort)
        .Run(steps.workToPair, run.Work("TOVIXSRT.TXT"), pairs)
        .Run(GatherPair, pairs, gathered)
        .BuildSet(steps.direction, steps.makePairTable, gathered, job.OutName1)
        .Finish();
}

ChainResult ExmDicCheck(ToolJob& job) {
    ChainRun run(job);
    return run.ReadsText(job.InName1, "TOVIXIN1.TXT")
        .Run(CheckExm, job.InName1, job.OutName1, job.OutName2)
        .Finish();
}

ChainResult PdicDicCheck(ToolJob& job) {
    ChainRun run(job);
    return run.ReadsText(job.InName1, "TOVIXIN1.TXT")
        .Run(CheckPdic, job.InName1, job.OutName1, job.OutName2)
        .Finish();
}

ChainResult ExmDicDivide(ToolJob& job) {
    ChainRun run(job);
    return run.ReadsText(job.InName1, "TOVIXIN1.TXT")
        .Run(DivideExm, job.InName1, job.OutName1, job.OutName2)
        .Finish();
}

ChainResult PdicDicDivide(ToolJob& job) {
    ChainRun run(job);
    return run.ReadsText(job.InName1, "TOVIXIN1.TXT")
        .Run(DividePdic, job.InName1, job.OutName1, job.OutName2)
        .Finish();
}

ChainResult ImportEdict(ToolJob& job, Direction direction, EdictImportCounts& counts) {
    const auto import = [&](ToolJob& j) { EdictToExm(j, direction, counts); };
    return ChainRun(job).Run(import, job.InName1, job.OutName1).Finish();
}

ChainResult ImportDictionaryToExm(ToolJob& job, DictFormat format, Direction direction,
                                  DictImportCounts& counts) {
    const auto import = [&](ToolJob& j) { DictToExm(j, format, direction, counts); };
    ChainRun run(job);
    const std::string out = run.TextOutput(job.OutName1);
    return run.Run(import, job.InName1, out).EncodeOutput(out, job.OutName1).Finish();
}

ChainResult TovixToStarDict(ToolJob& job, Direction direction) {
    ChainRun run(job);
    const std::string exm = run.Work("TOVIXCNV.TXT");
    const std::string name = std::filesystem::path(job.InName1).stem().string();
    const auto write = [&](ToolJob& j) { ExmToStarDict(j, direction); };
    return run.Run(StepsOf(direction).tovixToExm, job.InName1, exm)
        .Run(write, exm, job.OutName1, name)
        .Finish();
}

namespace {

// The length commands have no direction.
template <ChainResult (*Chain)(ToolJob&)>
ChainResult Undirected(ToolJob& job, Direction /*direction*/) {
    return Chain(job);
}

using enum ToolCommandId;
using enum ToolForm;

constexpr ToolCommand Both(ToolCommandId id, ToolForm form, std::string_view caption,
                           ChainResult (*chain)(ToolJob&, Direction),
                           ToolSets sets = ToolSets::None) {
    return {id, ToolDirections::Each, form, caption, "", "", chain, sets};
}

constexpr ToolCommand Length(ToolCommandId id, std::string_view caption, std::string_view headLimit,
                             std::string_view transLimit,
                             ChainResult (*chain)(ToolJob&, Direction)) {
    return {id, ToolDirections::None, LengthCheck, caption, headLimit, transLimit, chain};
}

constexpr ToolCommand kCommands[] = {
    Both(ExmToTovix, OneInOneOut, "辞書作成 (タブ区切り [EXM] を変換)", tovix::ExmToTovix,
         ToolSets::Writes),
    Both(PdicToTovix, OneInOneOut, "辞書作成 (改行区切り [PDIC] を変換)", tovix::PdicToTovix,
         ToolSets::Writes),
    Both(TovixToExm, OneInOneOut, "辞書変換 (改行区切り [TOVIX] を タブ区切り [EXM] に変換)",
         tovix::TovixToExm, ToolSets::Reads),
    Both(PdicToExm, OneInOneOut, "辞書変換 (改行区切り [PDIC] を タブ区切り [EXM] に変換)",
         tovix::PdicToExm),
    Both(ReMakeTovix, InPlace, "辞書再作成", tovix::ReMakeTovix, ToolSets::ReadsAndWrites),
    Both(NewTovix, NewFile, "辞書 [Tovix] の新規作成", tovix::NewTovix, ToolSets::Writes),
    Both(ExmTogether, InPlace, "辞書整形 (タブ区切り [EXM] の重複を許可しない)",
         tovix::ExmTogether),
    Both(PdicTogether, InPlace, "辞書整形 (改行区切り [PDIC] の重複を許可しない)",
         tovix::PdicTogether),
    Both(TovixTogether, InPlace, "辞書整形 (改行区切り [TOVIX] の重複を許可しない)",
         tovix::TovixTogether, ToolSets::ReadsAndWrites),
    Both(ExmAndExmToExm, TwoInOneOut, "辞書結合 (タブ区切り [EXM] の見出しの重複はそのまま)",
         tovix::ExmAndExmToExm),
    Both(ExmAndExmToExmTogether, TwoInOneOut,
         "辞書結合 (タブ区切り [EXM] の見出しの重複をまとめる)", tovix::ExmAndExmToExmTogether),
    Both(PdicAndPdicToPdic, TwoInOneOut, "辞書結合 (改行区切り [PDIC] の見出しの重複はそのまま)",
         tovix::PdicAndPdicToPdic),
    Both(PdicAndPdicToPdicTogether, TwoInOneOut,
         "辞書結合 (改行区切り [PDIC] の見出しの重複はまとめる)", tovix::PdicAndPdicToPdicTogether),
    Both(TovixAndTovixToTovix, TwoInOneOut,
         "辞書結合 (改行区切り [TOVIX] の見出しの重複はそのまま)", tovix::TovixAndTovixToTovix,
         ToolSets::ReadsAndWrites),
    Both(TovixAndTovixToTovixTogether, TwoInOneOut,
         "辞書結合 (改行区切り [TOVIX] の見出しの重複はまとめる)",
         tovix::TovixAndTovixToTovixTogether, ToolSets::ReadsAndWrites),
    Length(ExmDicCheck, "辞書検査(タブ区切り [EXM] の辞書の検査)", "60", "360",
           Undirected<tovix::ExmDicCheck>),
    Length(PdicDicCheck, "辞書検査(改行区切り [PDIC] の辞書の検査)", "256", "512",
           Undirected<tovix::PdicDicCheck>),
    Length(ExmDicDivide, "辞書検査(タブ区切り [EXM] の辞書の検査)", "60", "360",
           Undirected<tovix::ExmDicDivide>),
    Length(PdicDicDivide, "辞書検査(改行区切り [PDIC] の辞書の検査)", "256", "512",
           Undirected<tovix::PdicDicDivide>),
    Both(TovixToStarDict, OneInOneOut, "辞書変換 (改行区切り [TOVIX] を StarDict 形式に変換)",
         tovix::TovixToStarDict, ToolSets::Reads),
};

constexpr bool InIdOrder() {
    for (size_t n = 0; n < std::size(kCommands); ++n) {
        if (static_cast<size_t>(kCommands[n].id) != n) {
            return false;
        }
    }
    return true;
}
static_assert(InIdOrder(), "the command table is indexed by ToolCommandId");

}  // namespace

std::string ToolCommand::Caption(Direction direction) const {
    if (directions == ToolDirections::None) {
        return std::string(caption);
    }
    return (direction == Direction::Japanese ? "和英" : "英和") + std::string(caption);
}

ToolNameRoles ToolCommand::Roles(Direction direction) const {
    return {sets == ToolSets::Reads || sets == ToolSets::ReadsAndWrites,
            sets == ToolSets::Writes || sets == ToolSets::ReadsAndWrites, direction};
}

std::span<const ToolCommand> ToolCommands() {
    return kCommands;
}

const ToolCommand& FindToolCommand(ToolCommandId id) {
    return kCommands[static_cast<size_t>(id)];
}

}  // namespace tovix
