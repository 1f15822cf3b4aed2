// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ShowCommand.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "cli/CliMessages.h"
#include "cli/SearchCommands.h"
#include "dict/BaseForms.h"
#include "dict/DicFileSet.h"
#include "dict/DictMessages.h"
#include "dict/OpenDictionary.h"
#include "dict/PartCacheView.h"
#include "dict/ShowEntries.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/ProgramDir.h"
#include "tools/EditBoxCheck.h"

namespace tovix::cli {
namespace {

constexpr long long kDefaultMax = 10;

void PrintEntries(const std::vector<ShownEntry>& entries, std::string& out) {
    for (const ShownEntry& entry : entries) {
        out += Cp932ToUtf8(entry.headword) + '\t' + Cp932ToUtf8(entry.translation) + '\n';
    }
}

void PrintPlain(const std::string& word, const ShownWord& shown, std::string& out) {
    out += cli_text::ShowHeading(word);
    if (!shown.found && shown.bases.empty()) {
        out += cli_text::kShowNotFound;
        return;
    }
    PrintEntries(shown.entries, out);
    for (const ShownBase& base : shown.bases) {
        out += cli_text::ShowBaseHeading(Cp932ToUtf8(base.word), Cp932ToUtf8(base.names));
        PrintEntries(base.entries, out);
    }
}

std::string JsonEntries(const std::vector<ShownEntry>& entries) {
    std::string out = "[";
    for (size_t i = 0; i < entries.size(); ++i) {
        out += (i == 0 ? "{\"headword\":" : ",{\"headword\":") +
               JsonString(Cp932ToUtf8(entries[i].headword)) +
               ",\"translation\":" + JsonString(Cp932ToUtf8(entries[i].translation)) + "}";
    }
    return out + "]";
}

std::string JsonBases(const std::vector<ShownBase>& bases) {
    std::string out = "[";
    for (size_t i = 0; i < bases.size(); ++i) {
        out += (i == 0 ? "{\"word\":" : ",{\"word\":") + JsonString(Cp932ToUtf8(bases[i].word)) +
               ",\"reasons\":[";
        for (size_t r = 0; r < bases[i].reasons.size(); ++r) {
            out += (r == 0 ? "" : ",") + JsonString(bases[i].reasons[r]);
        }
        out += "],\"entries\":" + JsonEntries(bases[i].entries) + "}";
    }
    return out + "]";
}

void PrintJson(const std::string& word, const ShownWord& shown, std::string& out) {
    out += "{\"word\":" + JsonString(word) + ",\"found\":" + (shown.found ? "true" : "false") +
           ",\"entries\":" + JsonEntries(shown.entries) + ",\"bases\":" + JsonBases(shown.bases) +
           "}\n";
}

// The n of the romaji conversion as the viewer takes it: --ime-n, or the
// option in the settings file.
bool ImeStyleN(bool flag) {
    if (flag) {
        return true;
    }
    try {
        return ReadIniFileValue(SettingsFilePath()).imeStyleN;
    } catch (const IoError&) {
        return false;
    }
}

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

int ShowCommand(Arguments& arguments, Context& context) {
    const std::optional<size_t> direction = arguments.OneOf({"--eng", "--jpn"});
    const std::optional<std::string> maxText = arguments.Value("--max");
    const bool json = arguments.Flag("--json");
    const bool imeStyleN = arguments.Flag("--ime-n");
    const auto names = arguments.Names(2, SIZE_MAX);
    const std::optional<long long> max =
        maxText ? ParseInteger(*maxText) : std::optional<long long>(kDefaultMax);
    if (!direction || !names || !max || *max < 1) {
        return UsageError(context);
    }
    SearchState state;
    state.direction = *direction == 0 ? Direction::English : Direction::Japanese;
    state.dicFile = (*names)[0];
    state.imeStyleN = ImeStyleN(imeStyleN);
    state.findBaseForms = true;
    ViewerReporter reporter(context.reporter);
    OpenedDictionary opened = OpenDictionary(state.dicFile, state.direction);
    if (!opened.Opened()) {
        reporter.Message(MessageKind::Warning, opened.message, kButtonOk);
        return kExitFailed;
    }
    state.table = std::move(opened.table);
    PartCacheView view;
    state.headwords->SetLoadedLines(
        [&view](const std::filesystem::path& file, const FileStamp& stamp) {
            return view.Loaded(file, stamp);
        });
    bool allFound = true;
    bool writtenFormsMissing = false;
    std::string out;
    for (size_t i = 1; i < names->size(); ++i) {
        const std::string& word = (*names)[i];
        const ShownWord shown =
            ShowWord(state, view, reporter, Keystrokes(word), static_cast<size_t>(*max));
        allFound = allFound && (shown.found || !shown.bases.empty());
        writtenFormsMissing = writtenFormsMissing || shown.writtenFormsMissing;
        (json ? PrintJson : PrintPlain)(word, shown, out);
    }
    std::cout << out << std::flush;
    if (state.direction == Direction::English && EnglishIrregularFormsMissing()) {
        context.reporter.Note(std::string(cli_text::kIrregularFormsMissing));
    }
    if (writtenFormsMissing) {
        context.reporter.Note(WrittenFormFileName(state.dicFile).string() + ": " +
                              std::string(dict_text::kWrittenFormsMissing));
    }
    return allFound && reporter.Messages() == 0 ? kExitOk : kExitFailed;
}

}  // namespace tovix::cli
