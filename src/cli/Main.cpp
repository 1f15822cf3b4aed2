// tovix-tool: the dictionary tools of the viewer's menus on the command line.

#include <cstddef>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Subcommands.h"
#include "cli/TerminalReporter.h"
#include "platform/ProgramDir.h"
#include "tools/Chains.h"

namespace tovix::cli {
namespace {

void PrintHelp() {
    std::cout << "使い方: tovix-tool [--yes] サブコマンド [オプション] ファイル...\n\n"
                 "辞書ツール。--eng は英和辞書、--jpn は和英辞書。\n"
                 "[EXM] は 1 行 1 項目 (見出し TAB 訳語)、[PDIC] は見出しの行と訳語の行、\n"
                 "[TOVIX] は辞書ファイル (.DIC など) と分割ファイル .001 以降と .DAT の組。\n\n";
    for (const Subcommand& s : Subcommands()) {
        std::cout << "  " << s.name << " " << s.usage << "\n      " << s.summary << "\n";
    }
    std::cout
        << "\n"
           "  check と divide の N は 1 から 1024 までのバイト数 (全角文字は 2)。\n"
           "  既定は [EXM] が見出し 60・訳語 360、[PDIC] が見出し 256・訳語 512。\n"
           "  lookup は WORD ごとに、辞書を開いた直後の状態から検索し、タブ区切りの 1 行を出す:\n"
           "    検索欄の文字列、分割ファイル番号、先頭行の番号 (0 から)、最後の検索で\n"
           "    一致すれば 1 (表示が動かなければ 0)、先頭行の内容。\n"
           "  find は分割ファイル 1 の先頭から下へ (--up では最後の分割ファイルの末尾から上へ)\n"
           "    探し、見つかった分割ファイル番号とタブと行番号 (0 から) の行、続けてその項目の\n"
           "    見出しの行と訳語の行を出す。見つからなければその旨を出して終了ステータス 1。\n\n"
           "オプション:\n"
           "  --yes, -y   上書きの確認と分割の確認に「はい」と答える。付けないときは、標準入力が\n"
           "              端末なら端末で尋ね、そうでなければ確認の文を出して中止する。\n"
           "  --help, -h  この説明を表示する。\n"
           "  --          以降の引数をすべてファイル名とする。\n\n"
           "メッセージと進み具合は標準エラー出力に出る (UTF-8)。作業ファイル (TOVIXSRT.TXT など)\n"
           "はプログラムのディレクトリに置かれる: "
        << ProgramDir().string()
        << "\n"
           "終了ステータス: 0 成功、1 失敗または中止、2 引数の誤り。\n";
}

int Run(int argc, char** argv) {
    std::vector<std::string> tokens(argv + 1, argv + argc);
    // --yes and --help may stand anywhere before "--".
    const auto given = [&](std::string_view longName, std::string_view shortName) {
        bool found = false;
        for (size_t i = 0; i < tokens.size() && tokens[i] != "--";) {
            if (tokens[i] == longName || tokens[i] == shortName) {
                tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i));
                found = true;
            } else {
                ++i;
            }
        }
        return found;
    };
    const bool help = given("--help", "-h");
    const bool yes = given("--yes", "-y");
    if (help) {
        PrintHelp();
        return kExitOk;
    }
    if (tokens.empty()) {
        std::cerr << "tovix-tool: サブコマンドを指定してください。tovix-tool --help "
                     "で一覧を表示します。\n";
        return kExitUsage;
    }
    const Subcommand* subcommand = FindSubcommand(tokens.front());
    if (subcommand == nullptr) {
        std::cerr << "tovix-tool: '" << tokens.front()
                  << "' というサブコマンドはありません。tovix-tool --help で一覧を表示します。\n";
        return kExitUsage;
    }
    Arguments arguments(std::vector<std::string>(tokens.begin() + 1, tokens.end()));
    TerminalReporter reporter(yes);
    ToolJob job(reporter, ProgramDir());
    Context context{reporter, job, *subcommand};
    try {
        return subcommand->run(arguments, context);
    } catch (const CommandRefused&) {
        return kExitFailed;
    } catch (const std::exception& e) {
        reporter.Note(std::string("処理を続けられませんでした: ") + e.what());
        return kExitFailed;
    }
}

}  // namespace
}  // namespace tovix::cli

int main(int argc, char** argv) {
    return tovix::cli::Run(argc, argv);
}
