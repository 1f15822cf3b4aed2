// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Subcommands.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "cli/CliMessages.h"
#include "cli/EditCommands.h"
#include "cli/SearchCommands.h"
#include "cli/ShowCommand.h"
#include "dict/DicFileSet.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "platform/ProgramDir.h"
#include "tools/Chains.h"
#include "tools/EditBoxCheck.h"
#include "tools/ToolLock.h"
#include "tools/ToolMessages.h"

namespace tovix::cli {
namespace {

namespace fs = std::filesystem;

enum class Format { Exm, Pdic, Tovix };

// The commands of one format: gathering, and joining with or without it.
struct FormatCommands {
    ToolCommandId together;
    ToolCommandId join;
    ToolCommandId joinTogether;
};

constexpr FormatCommands kFormatCommands[] = {
    {ToolCommandId::ExmTogether, ToolCommandId::ExmAndExmToExm,
     ToolCommandId::ExmAndExmToExmTogether},
    {ToolCommandId::PdicTogether, ToolCommandId::PdicAndPdicToPdic,
     ToolCommandId::PdicAndPdicToPdicTogether},
    {ToolCommandId::TovixTogether, ToolCommandId::TovixAndTovixToTovix,
     ToolCommandId::TovixAndTovixToTovixTogether},
};

const FormatCommands& CommandsOf(Format format) {
    return kFormatCommands[static_cast<size_t>(format)];
}

// From --exm, --pdic or --tovix.
std::optional<Format> TakeFormat(Arguments& arguments, bool tovixToo = true) {
    const std::optional<size_t> chosen = tovixToo ? arguments.OneOf({"--exm", "--pdic", "--tovix"})
                                                  : arguments.OneOf({"--exm", "--pdic"});
    if (!chosen) {
        return std::nullopt;
    }
    return static_cast<Format>(*chosen);
}

// --encoding NAME (the text files read) and, where `output`, --output-encoding
// NAME (the [EXM] file written) into the job; false for a name not known.
bool TakeEncodings(Arguments& arguments, ToolJob& job, bool output) {
    if (const std::optional<std::string> name = arguments.Value("--encoding")) {
        const std::optional<TextEncoding> encoding = ParseTextEncoding(*name);
        if (!encoding) {
            return false;
        }
        job.inputEncoding = *encoding;
    }
    if (const std::optional<std::string> name =
            output ? arguments.Value("--output-encoding") : std::nullopt) {
        const std::optional<TextEncoding> encoding = ParseTextEncoding(*name);
        if (encoding != TextEncoding::Cp932 && encoding != TextEncoding::Utf8) {
            return false;
        }
        job.outputEncoding = *encoding;
    }
    return true;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : ", ") + name;
    }
    return out;
}

// Runs a tool command as the viewer does once its window is accepted: the
// window's checks on `edits`, then the chain. `outputs` are the files the
// command writes, named in the closing line.
int RunToolCommand(Context& context, ToolCommandId id, Direction direction,
                   const ToolWindowEdits& edits, const std::vector<std::string>& outputs) {
    const ToolCommand& command = FindToolCommand(id);
    const ToolNameRoles roles = command.Roles(direction);
    // One tool command at a time: a second one waits for the first to end.
    const auto lock = ToolLock::Take(context.job.workDir, context.reporter, ToolLock::Mode::Wait);
    if (!AcceptToolWindow(command.form, edits, context.job, roles)) {
        return kExitFailed;
    }
    const ChainResult result = command.Run(context.job, direction);
    if (!result) {
        return kExitFailed;
    }
    std::cout << cli_text::Done(Joined(outputs));
    if (roles.writesSet) {
        std::cout << cli_text::KeptAtEnd(result.keptAtEnd);
    }
    return kExitOk;
}

// exm-to-tovix, pdic-to-tovix, tovix-to-exm, pdic-to-exm: IN OUT.
int Convert(Arguments& arguments, Context& context) {
    const ToolCommandId id = *context.subcommand.tool;
    const std::optional<Direction> direction = TakeDirection(arguments);
    const bool toExm = id == ToolCommandId::TovixToExm || id == ToolCommandId::PdicToExm;
    const bool encodings = TakeEncodings(arguments, context.job, toExm);
    const auto names = arguments.Names(2, 2);
    if (!direction || !encodings || !names) {
        return UsageError(context);
    }
    return RunToolCommand(context, id, *direction, {.Edit1 = (*names)[0], .Edit2 = (*names)[1]},
                          {(*names)[1]});
}

// remake DICT.DIC and new OUT.DIC: one dictionary file set.
int OneSet(Arguments& arguments, Context& context) {
    const std::optional<Direction> direction = TakeDirection(arguments);
    const auto names = arguments.Names(1, 1);
    if (!direction || !names) {
        return UsageError(context);
    }
    return RunToolCommand(context, *context.subcommand.tool, *direction, {.Edit1 = (*names)[0]},
                          {(*names)[0]});
}

int Gather(Arguments& arguments, Context& context) {
    const std::optional<Direction> direction = TakeDirection(arguments);
    const std::optional<Format> format = TakeFormat(arguments);
    const bool encodings = TakeEncodings(arguments, context.job, false);
    const auto names = arguments.Names(1, 1);
    if (!direction || !format || !encodings || !names) {
        return UsageError(context);
    }
    return RunToolCommand(context, CommandsOf(*format).together, *direction, {.Edit1 = (*names)[0]},
                          {(*names)[0]});
}

int Join(Arguments& arguments, Context& context) {
    const std::optional<Direction> direction = TakeDirection(arguments);
    const std::optional<Format> format = TakeFormat(arguments);
    const bool gather = arguments.Flag("--gather");
    const bool encodings = TakeEncodings(arguments, context.job, false);
    const auto names = arguments.Names(3, 3);
    if (!direction || !format || !encodings || !names) {
        return UsageError(context);
    }
    const FormatCommands& commands = CommandsOf(*format);
    return RunToolCommand(context, gather ? commands.joinTogether : commands.join, *direction,
                          {.Edit1 = (*names)[0], .Edit2 = (*names)[1], .Edit3 = (*names)[2]},
                          {(*names)[2]});
}

// check and divide: IN OUT-IN-RANGE OUT-OUT-OF-RANGE with the two limits,
// preset as in the check window.
int LengthCommand(Arguments& arguments, Context& context, ToolCommandId id) {
    const ToolCommand& command = FindToolCommand(id);
    const std::optional<std::string> head = arguments.Value("--head");
    const std::optional<std::string> trans = arguments.Value("--trans");
    const bool encodings = TakeEncodings(arguments, context.job, false);
    const auto names = arguments.Names(3, 3);
    if (!encodings || !names) {
        return UsageError(context);
    }
    return RunToolCommand(
        context, id, Direction::English,
        {(*names)[0], (*names)[1], (*names)[2], head.value_or(std::string(command.headLimit)),
         trans.value_or(std::string(command.transLimit))},
        {(*names)[1], (*names)[2]});
}

int Check(Arguments& arguments, Context& context) {
    const std::optional<Format> format = TakeFormat(arguments, false);
    if (!format) {
        return UsageError(context);
    }
    return LengthCommand(
        arguments, context,
        *format == Format::Exm ? ToolCommandId::ExmDicCheck : ToolCommandId::PdicDicCheck);
}

int Divide(Arguments& arguments, Context& context) {
    if (!arguments.Flag("--pdic")) {
        return UsageError(context);
    }
    return LengthCommand(arguments, context, ToolCommandId::PdicDicDivide);
}

int ImportEdictCommand(Arguments& arguments, Context& context) {
    const std::optional<Direction> direction = TakeDirection(arguments);
    const bool encodings = TakeEncodings(arguments, context.job, false);
    const auto names = arguments.Names(2, 2);
    if (!direction || !encodings || !names) {
        return UsageError(context);
    }
    const ToolWindowEdits edits{.Edit1 = (*names)[0], .Edit2 = (*names)[1]};
    const auto lock = ToolLock::Take(context.job.workDir, context.reporter, ToolLock::Mode::Wait);
    if (!AcceptToolWindow(ToolForm::OneInOneOut, edits, context.job)) {
        return kExitFailed;
    }
    EdictImportCounts counts;
    if (!ImportEdict(context.job, *direction, counts)) {
        return kExitFailed;
    }
    std::cout << cli_text::Done((*names)[1])
              << cli_text::EdictImported(counts.written, counts.skipped, counts.malformed);
    for (const EdictSkip& skip : counts.skips) {
        std::cout << cli_text::EdictSkippedWord(skip.line, skip.word);
    }
    return kExitOk;
}

// import-dictd and import-stardict: INDEX OUT, the dictionary's ".index" or
// ".ifo" into [EXM].
int ImportDictionaryCommand(Arguments& arguments, Context& context) {
    const std::optional<Direction> direction = TakeDirection(arguments);
    const bool encodings = TakeEncodings(arguments, context.job, true);
    const auto names = arguments.Names(2, 2);
    if (!direction || !encodings || !names) {
        return UsageError(context);
    }
    const DictFormat format =
        context.subcommand.name == "import-dictd" ? DictFormat::Dictd : DictFormat::StarDict;
    const ToolWindowEdits edits{.Edit1 = (*names)[0], .Edit2 = (*names)[1]};
    const auto lock = ToolLock::Take(context.job.workDir, context.reporter, ToolLock::Mode::Wait);
    if (!AcceptToolWindow(ToolForm::OneInOneOut, edits, context.job)) {
        return kExitFailed;
    }
    DictImportCounts counts;
    if (!ImportDictionaryToExm(context.job, format, *direction, counts)) {
        return kExitFailed;
    }
    std::cout << cli_text::Done((*names)[1]) << cli_text::DictionaryImported(counts);
    return kExitOk;
}

// register [--slot N] [--settings FILE] [--if-free] TITLE FILE [SHORTCUT]: one
// slot of a dictionary list in the settings file. With --if-free a slot that
// holds another dictionary is left as the user set it.
int Register(Arguments& arguments, Context& context) {
    const std::optional<Direction> direction = TakeDirection(arguments);
    const std::optional<long long> slot = ParseInteger(arguments.Value("--slot").value_or("1"));
    const std::optional<std::string> settingsFile = arguments.Value("--settings");
    const bool ifFree = arguments.Flag("--if-free");
    const auto names = arguments.Names(2, 3);
    if (!direction || !names || !slot || *slot < 1 || *slot > kDictionarySlots) {
        return UsageError(context);
    }
    std::error_code error;
    const fs::path dictionary = fs::absolute((*names)[1], error);
    if (error || !fs::is_regular_file(dictionary, error)) {
        context.reporter.Message(MessageKind::Warning,
                                 FileMessage((*names)[1], tool_text::kFileMissing), kButtonAbort);
        return kExitFailed;
    }
    const fs::path settings = settingsFile ? fs::path(*settingsFile) : SettingsFilePath();
    // An empty shortcut label is stored as one blank, as the list window does.
    const std::string shortCut = names->size() > 2 ? (*names)[2] : "";
    const DictionarySlot entry{Utf8ToCp932((*names)[0]), Utf8ToCp932(dictionary.string()),
                               Utf8ToCp932(shortCut.empty() ? " " : shortCut)};
    const DictionarySlot current =
        ReadDictionaryList(settings, *direction)[static_cast<size_t>(*slot - 1)];
    if (ifFree && !current.title.empty() && current.fileName != entry.fileName) {
        std::cout << cli_text::SlotTaken(settings.string(), *direction, *slot,
                                         Cp932ToUtf8(current.title));
        return kExitOk;
    }
    try {
        WriteDictionarySlot(settings, *direction, static_cast<int>(*slot), entry);
    } catch (const IoError&) {
        context.reporter.Message(MessageKind::Warning,
                                 FileMessage(settings.string(), tool_text::kCannotCreate),
                                 kButtonAbort);
        return kExitFailed;
    }
    std::cout << cli_text::Registered(settings.string(), *direction, *slot, (*names)[0],
                                      dictionary.string());
    return kExitOk;
}

constexpr Subcommand kSubcommands[] = {
    {"exm-to-tovix", "--eng|--jpn [--encoding E] IN OUT.DIC",
     "タブ区切り [EXM] から改行区切り [TOVIX] の辞書を作成", ToolCommandId::ExmToTovix, Convert},
    {"pdic-to-tovix", "--eng|--jpn [--encoding E] IN OUT.DIC",
     "改行区切り [PDIC] から改行区切り [TOVIX] の辞書を作成", ToolCommandId::PdicToTovix, Convert},
    {"tovix-to-exm", "--eng|--jpn [--output-encoding E] IN.DIC OUT",
     "改行区切り [TOVIX] の辞書をタブ区切り [EXM] に変換", ToolCommandId::TovixToExm, Convert},
    {"pdic-to-exm", "--eng|--jpn [--encoding E] [--output-encoding E] IN OUT",
     "改行区切り [PDIC] をタブ区切り [EXM] に変換", ToolCommandId::PdicToExm, Convert},
    {"remake", "--eng|--jpn DICT.DIC", "改行区切り [TOVIX] の辞書を作り直す",
     ToolCommandId::ReMakeTovix, OneSet},
    {"new", "--eng|--jpn OUT.DIC", "改行区切り [TOVIX] の辞書を新規作成 (頭文字ごとに見出し 1 つ)",
     ToolCommandId::NewTovix, OneSet},
    {"gather",
     "--eng|--jpn --exm|--pdic|--tovix [--encoding E] FILE",
     "見出しの重複をまとめる (FILE を書き換える)",
     {},
     Gather},
    {"join",
     "--eng|--jpn --exm|--pdic|--tovix [--gather] [--encoding E] IN1 IN2 OUT",
     "二つの辞書を結合 (--gather で見出しの重複をまとめる)",
     {},
     Join},
    {"check",
     "--exm|--pdic [--head N] [--trans N] [--encoding E] IN OUT-IN-RANGE OUT-OUT-OF-RANGE",
     "見出しと訳語の長さ (バイト数) を検査して二つのファイルに分ける",
     {},
     Check},
    {"divide",
     "--pdic [--head N] [--trans N] [--encoding E] IN OUT-IN-RANGE OUT-OUT-OF-RANGE",
     "長すぎる訳語を番号付きの項目に分割",
     {},
     Divide},
    {"import-edict",
     "--eng|--jpn [--encoding E] EDICT OUT",
     "EDICT (EUC-JP または UTF-8) を英和または和英のタブ区切り [EXM] に変換",
     {},
     ImportEdictCommand},
    {"import-dictd",
     "--eng|--jpn [--output-encoding E] DICT.index OUT",
     "dictd 辞書 (.index と .dict または .dict.dz) をタブ区切り [EXM] に変換",
     {},
     ImportDictionaryCommand},
    {"import-stardict",
     "--eng|--jpn [--output-encoding E] DICT.ifo OUT",
     "StarDict 辞書 (.ifo .idx .dict または .dict.dz、.syn) をタブ区切り [EXM] に変換",
     {},
     ImportDictionaryCommand},
    {"tovix-to-stardict", "--eng|--jpn IN.DIC OUT.ifo",
     "改行区切り [TOVIX] の辞書を StarDict 形式 (UTF-8、.dict.dz) に変換",
     ToolCommandId::TovixToStarDict, Convert},
    {"register",
     "--eng|--jpn [--slot N] [--settings FILE] [--if-free] TITLE FILE [SHORTCUT]",
     "設定ファイルの辞書一覧の N 番 (既定 1) に辞書を登録 (--if-free: 別の辞書があれば登録しない)",
     {},
     Register},
    {"add",
     "--eng|--jpn DICT.DIC HEADWORD [WRITTEN] TRANSLATION",
     "辞書に項目を登録 (和英は HEADWORD によみ、WRITTEN に [漢字])",
     {},
     AddCommand},
    {"change",
     "--eng|--jpn [--line N] DICT.DIC HEADWORD [WRITTEN] TRANSLATION",
     "HEADWORD を入力して先頭に出る項目 (--line: 分割ファイルの N 行目の項目) の訳語を変更",
     {},
     ChangeCommand},
    {"delete",
     "--eng|--jpn [--line N] DICT.DIC HEADWORD",
     "HEADWORD を入力して先頭に出る項目 (--line: 分割ファイルの N 行目の項目) を削除",
     {},
     DeleteCommand},
    {"lookup",
     "--eng|--jpn [--paste] [--ime-n] DICT.DIC WORD...",
     "検索欄に WORD を 1 文字ずつ入力したときの検索結果を表示 (--paste: まとめて貼り付け、"
     "--ime-n: 子音の前の n を IME と同じく「ん」に)",
     {},
     LookupCommand},
    {"find",
     "[--case] [--up] [--all] DICT.DIC TEXT",
     "辞書全体から TEXT を検索 (--case: 大文字と小文字を区別、--up: 末尾から上へ、"
     "--all: 見つかる項目をすべて)",
     {},
     FindCommand},
    {"show",
     "--eng|--jpn [--max N] [--json] [--ime-n] DICT.DIC WORD...",
     "WORD を入力したときに表示の先頭に並ぶ項目の見出しと訳語を表示し、活用形なら原形とその項目も"
     "表示 (--max: 最大件数、既定 10、--json: 1 語 1 行の JSON、--ime-n: 子音の前の n を"
     "「ん」に。設定ファイルの ImeStyleN も従う)",
     {},
     ShowCommand},
};

}  // namespace

std::optional<Direction> TakeDirection(Arguments& arguments) {
    const std::optional<size_t> chosen = arguments.OneOf({"--eng", "--jpn"});
    if (!chosen) {
        return std::nullopt;
    }
    return *chosen == 0 ? Direction::English : Direction::Japanese;
}

std::span<const Subcommand> Subcommands() {
    return kSubcommands;
}

const Subcommand* FindSubcommand(std::string_view name) {
    const auto found = std::find_if(std::begin(kSubcommands), std::end(kSubcommands),
                                    [&](const Subcommand& s) { return s.name == name; });
    return found == std::end(kSubcommands) ? nullptr : found;
}

int UsageError(Context& context) {
    context.reporter.Note(std::string(cli_text::kBadArguments));
    std::cerr << cli_text::Usage(context.subcommand.name, context.subcommand.usage);
    return kExitUsage;
}

}  // namespace tovix::cli
