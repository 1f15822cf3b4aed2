// SPDX-License-Identifier: GPL-3.0-or-later
// The written-form file reader and its search. The input is the file (".KJI");
// its lines are also taken as headword lines of a part file. A file that
// loads has entries of a written form, a reading and a part of 1 .. 45; what
// the search finds for a text begins with that text (hiragana and katakana as
// one), for every beginning of every written form and of every line, sorted
// file or not. A headword line's forms, written as a file line, read back
// the same.

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "dict/KanaText.h"
#include "dict/WrittenForms.h"
#include "platform/IoError.h"

namespace tovix::fuzz {
namespace {

bool BeginsWith(std::string_view written, std::string_view text) {
    return written.starts_with(text) || KataToHira(written).starts_with(KataToHira(text));
}

// Every beginning of `text` that ends on a character boundary.
template <class Visit>
void ForEachBeginning(std::string_view text, Visit visit) {
    for (size_t end = 1; end <= text.size() && end <= 64; ++end) {
        visit(text.substr(0, end));
    }
}

void CheckFind(WrittenFormIndex& index, std::string_view text) {
    if (const std::optional<WrittenFormEntry> found = index.Find(text)) {
        Check(BeginsWith(found->forms.written, text), "a found written form begins with the text");
    }
}

void CheckHeadwordForms(std::string_view line) {
    const std::optional<HeadwordForms> forms = KanjiHeadwordForms(line);
    if (!forms) {
        return;
    }
    Check(!forms->reading.empty() && HoldsKanji(forms->written), "forms have a reading and kanji");
    const std::filesystem::path file = ScratchDir() / "ONE.KJI";
    WriteFile(file, WrittenFormLine(*forms, 45) + "\r\n");
    try {
        WrittenFormIndex one = WrittenFormIndex::LoadFromFile(file);
        Check(one.Count() == 1 && one.Entry(0).forms.written == forms->written &&
                  one.Entry(0).forms.reading == forms->reading && one.Entry(0).part == 45,
              "a headword's line reads back the same");
        Check(IsHeadwordOf(std::string(forms->reading) + " [" + std::string(forms->written) + "]",
                           one.Entry(0).forms),
              "the line's entry is the headword's");
    } catch (const WrittenFormsDamaged&) {
        // Forms whose written form holds a line end or whose reading holds a
        // TAB make no line of their own; the builder never meets them in a
        // part file's headword.
        Check(forms->written.find_first_of("\r\n") != std::string_view::npos ||
                  forms->reading.find_first_of("\t\r\n") != std::string_view::npos,
              "only forms with line ends or TABs make no line");
    }
}

}  // namespace
}  // namespace tovix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path file = ScratchDir() / "T.KJI";
    WriteFile(file, text);
    for (const std::string& line : SplitLines(text)) {
        CheckHeadwordForms(line);
    }
    std::optional<WrittenFormIndex> index;
    try {
        index = WrittenFormIndex::LoadFromFile(file);
    } catch (const WrittenFormsDamaged&) {
        return 0;
    } catch (const IoError&) {
        return 0;
    }
    for (int i = 0; i < index->Count(); ++i) {
        const WrittenFormEntry& entry = index->Entry(i);
        Check(!entry.forms.written.empty() && !entry.forms.reading.empty(), "entries have forms");
        Check(entry.part >= 1 && entry.part <= 45, "entries have a part of the alphabet");
        ForEachBeginning(entry.forms.written, [&](std::string_view t) { CheckFind(*index, t); });
    }
    for (const std::string& line : SplitLines(text)) {
        ForEachBeginning(line, [&](std::string_view t) { CheckFind(*index, t); });
    }
    return 0;
}
