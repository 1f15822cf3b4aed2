// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary tools: every tool command (a chain of steps, as the menus
// run it) and every single step on raw files. The input's first line picks
// one: "c<N>" the N-th tool command, "s<N>" the N-th step (both taken modulo
// their number), "u<N>" or "U<N>" the N-th command on CP932 inputs and on
// their UTF-8 form (with a byte-order mark for "U"); the rest is the first
// input file, and after a "%%" line the second one (a join's second input, a
// step's Dest). Commands whose inputs are dictionary file sets get sets built
// from those texts first.
//
// Promises checked, when the command succeeds: gathering leaves every
// headword once, with every sense of its entries; checking and dividing put
// every entry into one of the two outputs (a divided entry as its numbered
// parts, which join to its translation); a built set converts back to as many
// entries as went in. A UTF-8 input gives what its CP932 form gives, and one
// rewritten in place stays UTF-8.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/KeyAlphabet.h"
#include "platform/Cp932.h"
#include "tools/Chains.h"
#include "tools/Steps.h"
#include "tools/TextEncoding.h"

namespace tovix::fuzz {
namespace {

namespace fs = std::filesystem;

using StepFunction = void (*)(ToolJob&);

constexpr StepFunction kSteps[] = {
    ExmToWorkEng,     ExmToWorkJpn,     PdicToWork,     PdicToExm,     TovixToExmEng,
    TovixToExmJpn,    TovixToWorkEng,   TovixToWorkJpn, WorkToPairEng, WorkToPairJpn,
    WorkToPdic,       PairToExm,        SeedNewEng,     SeedNewJpn,    WorkSort,
    JoinFiles,        MakeTableEng,     MakeTableJpn,   SplitTovixEng, SplitTovixJpn,
    MakePairTableEng, MakePairTableJpn, MakeDatEng,     MakeDatJpn,    GatherPair,
    GatherPairToPdic, CheckExm,         CheckPdic,      DividePdic,    DivideExm,
};

// The senses of a translation: the texts between its commas, taken on
// character boundaries.
std::vector<std::string> Senses(std::string_view text) {
    std::vector<std::string> senses(1);
    for (size_t place = 0; place < text.size();) {
        const size_t start = place;
        NextChar(text, place);
        if (place == start + 1 && text[start] == ',') {
            senses.emplace_back();
        } else {
            senses.back().append(text.substr(start, place - start));
        }
    }
    return senses;
}

// An [EXM] line's headword and translation, split at its first TAB as the
// tools find it: on a character boundary, so that a TAB after a lead byte is
// taken for its trail byte.
std::pair<std::string, std::string> SplitEntry(std::string_view line) {
    const size_t tab = MbFind("\t", line);
    if (tab == std::string_view::npos) {
        return {std::string(line), ""};
    }
    return {std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))};
}

// Whether the text ends in a lead byte without its trail byte: joined to the
// next sense, it takes the comma between them for its trail byte.
bool EndsInLoneLeadByte(std::string_view text) {
    size_t last = 0;
    for (size_t place = 0; place < text.size();) {
        last = place;
        NextChar(text, place);
    }
    return !text.empty() && last + 1 == text.size() && IsLeadByte(text[last]);
}

// [EXM] gathered in place: one line per headword, holding every sense of the
// headword's entries (as characters, unless a translation is cut inside a
// character).
void CheckGathered(const std::vector<std::string>& input, const std::vector<std::string>& output) {
    std::map<std::string, std::set<std::string>> expected;
    std::set<std::string> cut;
    for (const std::string& line : input) {
        auto [head, translation] = SplitEntry(line);
        for (std::string& sense : Senses(translation)) {
            expected[head].insert(std::move(sense));
        }
        if (EndsInLoneLeadByte(translation)) {
            cut.insert(head);
        }
    }
    Check(output.size() == expected.size(), "gathering leaves every headword exactly once");
    for (const std::string& line : output) {
        auto [head, translation] = SplitEntry(line);
        const std::vector<std::string> senses = Senses(translation);
        Check(expected.count(head) == 1 &&
                  (cut.contains(head) ||
                   std::set<std::string>(senses.begin(), senses.end()) == expected[head]),
              "a gathered entry holds every sense of its headword, and only those");
    }
}

std::vector<std::pair<std::string, std::string>> Pairs(const std::vector<std::string>& lines) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (size_t i = 0; i < lines.size(); i += 2) {
        pairs.emplace_back(lines[i], i + 1 < lines.size() ? lines[i + 1] : "");
    }
    return pairs;
}

// [PDIC] divided: each entry stands unchanged in one of the outputs, or as
// its numbered parts ("h  *1" ...) in the in-range file, in input order.
void CheckDivided(const std::vector<std::string>& input, const std::vector<std::string>& inRange,
                  const std::vector<std::string>& outOfRange) {
    const auto in = Pairs(inRange);
    const auto out = Pairs(outOfRange);
    size_t i = 0;
    size_t o = 0;
    for (const auto& entry : Pairs(input)) {
        if (o < out.size() && out[o] == entry) {
            ++o;
        } else if (i < in.size() && in[i] == entry) {
            ++i;
        } else {
            std::string joined;
            int part = 1;
            while (i < in.size() && in[i].first == entry.first + "  *" + std::to_string(part)) {
                joined += in[i++].second;
                ++part;
            }
            Check(part > 1 && joined == entry.second, "a divided entry joins to its translation");
        }
    }
    Check(i == in.size() && o == out.size(), "division writes only the input's entries");
}

struct Files {
    fs::path first;
    fs::path second;
    fs::path out1;
    fs::path out2;
};

std::vector<std::string> Lines(const fs::path& file) {
    return SplitLines(ReadFile(file));
}

// The lines of a user's text file as the tools read it: CP932, or converted
// from UTF-8 when it looks like UTF-8.
std::vector<std::string> TextLines(const fs::path& file) {
    if (!LooksLikeUtf8(ScanFileForUtf8(file))) {
        return Lines(file);
    }
    const fs::path decoded = ScratchDir() / "DECODED.TXT";
    Utf8FileToCp932(file, decoded);
    return Lines(decoded);
}

// Builds a set from [EXM] text; false when the tools refuse the text.
bool BuildSet(const fs::path& exm, const fs::path& dicFile, Direction direction,
              TextEncoding encoding = TextEncoding::Auto) {
    QuietReporter reporter;
    ToolJob job(reporter, ScratchDir());
    job.inputEncoding = encoding;
    job.InName1 = exm.string();
    job.OutName1 = dicFile.string();
    return static_cast<bool>(ExmToTovix(job, direction));
}

// The headword lines of [PDIC] text or of a set's part files.
std::vector<std::string> PdicHeadwords(const std::vector<std::string>& lines) {
    std::vector<std::string> heads;
    for (size_t i = 0; i < lines.size(); i += 2) {
        heads.push_back(lines[i]);
    }
    return heads;
}

std::vector<std::string> SetHeadwords(const fs::path& dicFile, Direction direction) {
    std::vector<std::string> heads;
    for (int part = 1; part <= AlphabetSize(direction); ++part) {
        for (std::string& head : PdicHeadwords(Lines(PartFileName(dicFile, part)))) {
            heads.push_back(std::move(head));
        }
    }
    return heads;
}

void CheckOnce(std::vector<std::string> heads) {
    std::sort(heads.begin(), heads.end());
    Check(std::adjacent_find(heads.begin(), heads.end()) == heads.end(),
          "gathering leaves every headword exactly once");
}

// What a command that succeeded promises of its outputs.
void CheckOutcome(ToolCommandId id, Direction direction, const Files& files,
                  const std::vector<std::string>& input) {
    using enum ToolCommandId;
    std::vector<std::string> both = input;
    for (std::string& line : TextLines(files.second)) {
        both.push_back(std::move(line));
    }
    if (id == ExmAndExmToExmTogether) {
        CheckGathered(both, Lines(files.out1));
    } else if (id == ExmTogether) {
        CheckGathered(input, TextLines(files.first));
    } else if (id == PdicAndPdicToPdicTogether) {
        CheckOnce(PdicHeadwords(Lines(files.out1)));
    } else if (id == PdicTogether) {
        CheckOnce(PdicHeadwords(TextLines(files.first)));
    } else if (id == TovixAndTovixToTovixTogether) {
        CheckOnce(SetHeadwords(files.out1, direction));
    } else if (id == TovixTogether) {
        CheckOnce(SetHeadwords(ScratchDir() / "A.DIC", direction));
    } else if (id == ExmDicCheck) {
        Check(Lines(files.out1).size() + Lines(files.out2).size() == input.size(),
              "checking puts every line into one of the two files");
    } else if (id == PdicDicCheck) {
        Check(Lines(files.out1).size() + Lines(files.out2).size() == Pairs(input).size() * 2,
              "checking puts every entry into one of the two files");
    } else if (id == PdicDicDivide) {
        CheckDivided(input, Lines(files.out1), Lines(files.out2));
    } else if (id == ExmToTovix) {
        QuietReporter back;
        ToolJob exm(back, ScratchDir());
        exm.InName1 = files.out1.string();
        exm.OutName1 = (ScratchDir() / "BACK.TXT").string();
        Check(static_cast<bool>(tovix::TovixToExm(exm, direction)), "a built set converts back");
        Check(Lines(ScratchDir() / "BACK.TXT").size() == input.size(),
              "a built set converts back to as many entries as went in");
    }
}

// A command as the fuzz input chooses it: E-J rows, J-E rows, then the
// length commands, in table order.
struct Choice {
    const ToolCommand& command;
    Direction direction;
};

std::vector<Choice> Choices() {
    std::vector<Choice> choices;
    for (const Direction direction : {Direction::English, Direction::Japanese}) {
        for (const ToolCommand& command : ToolCommands()) {
            if (command.directions == ToolDirections::Each) {
                choices.push_back({command, direction});
            }
        }
    }
    for (const ToolCommand& command : ToolCommands()) {
        if (command.directions == ToolDirections::None) {
            choices.push_back({command, Direction::English});
        }
    }
    return choices;
}

// Runs the command on the files, its text inputs read in `encoding`; whether
// it succeeded.
bool Run(const Choice& choice, const Files& files, TextEncoding encoding) {
    const ToolCommand& command = choice.command;
    const Direction direction = choice.direction;
    QuietReporter reporter(MessageResult::No);
    ToolJob job(reporter, ScratchDir());
    job.inputEncoding = encoding;
    job.InName1 = files.first.string();
    job.InName2 = files.second.string();
    job.OutName1 = files.out1.string();
    job.OutName2 = files.out2.string();
    job.HeadLimit = std::string(command.headLimit.empty() ? "256" : command.headLimit);
    job.TransLimit = std::string(command.transLimit.empty() ? "512" : command.transLimit);
    if (command.Roles(direction).readsSets) {
        const fs::path firstSet = ScratchDir() / "A.DIC";
        const fs::path secondSet = ScratchDir() / "B.DIC";
        if (!BuildSet(files.first, firstSet, direction, encoding) ||
            !BuildSet(files.second, secondSet, direction, encoding)) {
            return false;
        }
        job.InName1 = firstSet.string();
        job.InName2 = secondSet.string();
    }
    return static_cast<bool>(command.Run(job, direction));
}

void RunCommand(const Choice& choice, const Files& files) {
    const std::vector<std::string> input = TextLines(files.first);
    if (Run(choice, files, TextEncoding::Auto)) {
        CheckOutcome(choice.command.id, choice.direction, files, input);
    }
}

// A text's lines ended by CR LF, in CP932 and in UTF-8; nothing when a line
// has no exact UTF-8 form (bytes that are no CP932 character).
std::optional<std::pair<std::string, std::string>> BothForms(std::string_view text) {
    std::pair<std::string, std::string> forms;
    for (const std::string& line : SplitLines(text)) {
        const std::string utf8 = Cp932ToUtf8(line);
        size_t replaced = 0;
        if (Utf8LineToCp932(utf8, replaced) != line || replaced != 0) {
            return std::nullopt;
        }
        forms.first += line + "\r\n";
        forms.second += utf8 + "\r\n";
    }
    return forms;
}

// The files in the scratch directory but the inputs and the work files.
std::map<std::string, std::string> Outputs(const Files& files) {
    std::map<std::string, std::string> outputs;
    for (const fs::directory_entry& entry : fs::directory_iterator(ScratchDir())) {
        const fs::path& path = entry.path();
        const std::string name = path.filename().string();
        if (entry.is_regular_file() && path != files.first && path != files.second &&
            !name.starts_with("TOVIX")) {
            outputs[name] = ReadFile(path);
        }
    }
    return outputs;
}

void ClearScratch() {
    for (const fs::directory_entry& entry : fs::directory_iterator(ScratchDir())) {
        fs::remove_all(entry.path());
    }
}

// The command run on the CP932 form of the inputs and on their UTF-8 form
// (behind a byte-order mark when `bom`) gives the same result.
void RunBothEncodings(const Choice& command, const Files& files, std::string_view first,
                      std::string_view second, bool bom) {
    const auto firstForms = BothForms(first);
    const auto secondForms = BothForms(second);
    if (!firstForms || !secondForms) {
        return;
    }
    const std::string mark = bom ? "\xEF\xBB\xBF" : "";
    ClearScratch();
    WriteFile(files.first, firstForms->first);
    WriteFile(files.second, secondForms->first);
    const bool cp932Done = Run(command, files, TextEncoding::Cp932);
    const std::map<std::string, std::string> cp932Outputs = Outputs(files);
    const std::string cp932Input = ReadFile(files.first);

    ClearScratch();
    WriteFile(files.first, mark + firstForms->second);
    WriteFile(files.second, mark + secondForms->second);
    const bool utf8Done = Run(command, files, TextEncoding::Auto);
    if (utf8Done != cp932Done) {
        std::fprintf(stderr, "%s: %s in CP932, %s in UTF-8\n",
                     command.command.Caption(command.direction).c_str(),
                     cp932Done ? "done" : "failed", utf8Done ? "done" : "failed");
    }
    Check(utf8Done == cp932Done, "a UTF-8 input succeeds or fails as its CP932 form does");
    Check(Outputs(files) == cp932Outputs, "a UTF-8 input gives the outputs of its CP932 form");
    std::string utf8Input = ReadFile(files.first);
    if (utf8Input.starts_with(mark)) {
        utf8Input.erase(0, mark.size());
    }
    Check(utf8Input == BothForms(cp932Input).value_or(std::pair<std::string, std::string>()).second,
          "a UTF-8 input rewritten in place stays UTF-8");
}

void RunStep(StepFunction step, const Files& files) {
    QuietReporter reporter(MessageResult::No);
    ToolJob job(reporter, ScratchDir());
    job.Source = files.first.string();
    job.Dest = files.second.string();
    job.Extra = files.out1.string();
    job.DatName = files.out2.string();
    job.HeadLimit = "16";
    job.TransLimit = "24";
    step(job);
    job.DiscardOutputs();
}

}  // namespace
}  // namespace tovix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const auto [choice, input] = SplitChoice(data, size);
    const std::vector<std::string_view> parts = Parts(input);
    const std::string_view text = parts[0];
    const std::string_view second = parts.size() > 1 ? parts[1] : std::string_view();

    const fs::path dir = ScratchDir();
    const Files files{dir / "IN1.TXT", dir / "IN2.TXT", dir / "OUT1.TXT", dir / "OUT2.TXT"};
    for (const fs::path& old : {files.out1, files.out2}) {
        fs::remove(old);
    }
    WriteFile(files.first, text);
    WriteFile(files.second, second);

    size_t number = 0;
    for (char c : choice.substr(std::min<size_t>(1, choice.size()))) {
        if (c >= '0' && c <= '9') {
            number = number * 10 + static_cast<size_t>(c - '0');
            number %= 1000;
        }
    }
    static const std::vector<Choice> commands = Choices();
    const char mode = choice.empty() ? 'c' : choice[0];
    if (mode == 's') {
        RunStep(kSteps[number % std::size(kSteps)], files);
    } else if (mode == 'u' || mode == 'U') {
        RunBothEncodings(commands[number % commands.size()], files, text, second, mode == 'U');
    } else {
        RunCommand(commands[number % commands.size()], files);
    }
    return 0;
}
