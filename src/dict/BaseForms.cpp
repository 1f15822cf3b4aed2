// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/BaseForms.h"

#include <algorithm>

#include "dict/Deinflect.h"
#include "dict/DicFileSet.h"
#include "dict/EnglishInflection.h"
#include "dict/KanaText.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

void AddOnce(std::vector<BaseForm>& bases, BaseForm base) {
    if (std::none_of(bases.begin(), bases.end(),
                     [&](const BaseForm& b) { return b.word == base.word; })) {
        bases.push_back(std::move(base));
    }
}

std::vector<BaseForm> JapaneseBases(SearchState& state, std::string_view text) {
    // The rules add only kana: a base holds a kanji only when the text does.
    const WrittenFormIndex* writtenForms =
        HoldsKanji(text) ? state.writtenForms->Get(WrittenFormFileName(state.dicFile)) : nullptr;
    const std::string typed = KataToHira(text);
    std::vector<BaseForm> bases;
    for (const Deinflection& d : Deinflect(text)) {
        if (d.word == typed) {
            continue;
        }
        const std::optional<WordClasses> classes =
            state.headwords->Find(state.dicFile, state.direction, writtenForms, d.word);
        if (classes && (*classes & d.classes) != 0) {
            AddOnce(bases, {d.word, RuleNames(d.rules), RuleReasons(d.rules)});
        }
    }
    return bases;
}

std::vector<BaseForm> EnglishBaseForms(SearchState& state, std::string_view text) {
    std::vector<BaseForm> bases;
    for (const EnglishBase& base : EnglishBases(text, InstalledEnglishExceptions())) {
        if (state.headwords->Find(state.dicFile, state.direction, nullptr, base.word)) {
            AddOnce(bases, {base.word, base.name, {std::string(base.reason)}});
        }
    }
    return bases;
}

}  // namespace

std::vector<BaseForm> FindBaseForms(SearchState& state, std::string_view text) {
    if (text.empty() || state.dicFile.empty() || state.direction == Direction::None) {
        return {};
    }
    state.headwords->NewSearch(state.tableStamp);
    return state.direction == Direction::English ? EnglishBaseForms(state, text)
                                                 : JapaneseBases(state, text);
}

std::string BaseFormLine(std::string_view text, const std::vector<BaseForm>& bases) {
    std::string line(text);
    for (size_t i = 0; i < bases.size(); ++i) {
        line += i == 0 ? TOVIX_CP932(" → ") : TOVIX_CP932("、");
        line += bases[i].word;
        if (!bases[i].names.empty()) {
            line += TOVIX_CP932("（") + bases[i].names + TOVIX_CP932("）");
        }
    }
    return line;
}

bool EnglishIrregularFormsMissing() {
    return InstalledEnglishExceptions() == nullptr;
}

}  // namespace tovix
