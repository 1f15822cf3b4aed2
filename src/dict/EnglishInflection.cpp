// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/EnglishInflection.h"

#include <algorithm>

#include "components/LightStrings.h"
#include "components/MbString.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"

namespace tovix {
namespace {

// clang-format off
constexpr EnglishRule kRules[] = {
    {"ies", "y", false, "複数・三単現", "plural or third person"},
    {"men", "man", false, "複数", "plural"},
    {"ves", "f", false, "複数", "plural"},
    {"ves", "fe", false, "複数", "plural"},
    {"es", "", false, "複数・三単現", "plural or third person"},
    {"s", "", false, "複数・三単現", "plural or third person"},
    {"ied", "y", false, "過去", "past"},
    {"ed", "", true, "過去", "past"},
    {"ed", "", false, "過去", "past"},
    {"ed", "e", false, "過去", "past"},
    {"ying", "ie", false, "現在分詞", "present participle"},
    {"ing", "", true, "現在分詞", "present participle"},
    {"ing", "", false, "現在分詞", "present participle"},
    {"ing", "e", false, "現在分詞", "present participle"},
    {"ier", "y", false, "比較級", "comparative"},
    {"er", "", true, "比較級", "comparative"},
    {"er", "", false, "比較級", "comparative"},
    {"er", "e", false, "比較級", "comparative"},
    {"iest", "y", false, "最上級", "superlative"},
    {"est", "", true, "最上級", "superlative"},
    {"est", "", false, "最上級", "superlative"},
    {"est", "e", false, "最上級", "superlative"},
};
// clang-format on

// What each list says of its forms, in the order they are read.
struct ExceptionList {
    const char* file;
    const char* name;  // UTF-8
    std::string_view reason;
};
constexpr ExceptionList kLists[] = {
    {"noun.exc", "複数", "plural"},
    {"verb.exc", "不規則変化", "irregular verb"},
    {"adj.exc", "比較級・最上級", "comparative or superlative"},
    {"adv.exc", "比較級・最上級", "comparative or superlative"},
};

constexpr size_t kMinBase = 2;

bool IsVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// The stem with a doubled last consonant made single (stopp -> stop); nothing
// when it does not end so.
std::optional<std::string> Undoubled(std::string_view stem) {
    if (stem.size() < 3 || stem.back() != stem[stem.size() - 2] || IsVowel(stem.back()) ||
        stem.back() < 'a' || stem.back() > 'z') {
        return std::nullopt;
    }
    return std::string(stem.substr(0, stem.size() - 1));
}

// Whether a rule or list forms comparatives or superlatives.
bool IsComparison(std::string_view reason) {
    return reason.starts_with("comparative") || reason == "superlative";
}

std::string WithBlanks(std::string text) {
    std::replace(text.begin(), text.end(), '_', ' ');
    return text;
}

void AddOnce(std::vector<EnglishBase>& bases, EnglishBase base) {
    if (base.word.size() < kMinBase) {
        return;
    }
    if (std::none_of(bases.begin(), bases.end(),
                     [&](const EnglishBase& b) { return b.word == base.word; })) {
        bases.push_back(std::move(base));
    }
}

// The CP932 text of a name of the tables above, converted once.
const std::string& Cp932Name(const char* utf8) {
    static const std::unordered_map<const char*, std::string> names = [] {
        std::unordered_map<const char*, std::string> all;
        for (const EnglishRule& rule : kRules) {
            all.emplace(rule.name, Utf8ToCp932(rule.name));
        }
        for (const ExceptionList& list : kLists) {
            all.emplace(list.name, Utf8ToCp932(list.name));
        }
        return all;
    }();
    return names.at(utf8);
}

}  // namespace

std::span<const EnglishRule> EnglishRules() {
    return kRules;
}

std::optional<EnglishExceptions> EnglishExceptions::Load(const std::filesystem::path& folder) {
    EnglishExceptions exceptions;
    bool any = false;
    for (size_t list = 0; list < std::size(kLists); ++list) {
        // A list is read whole before any of it is used: one that cannot be
        // read to its end is left out, never taken in part.
        TLightStrings lines;
        try {
            lines.LoadFromFile(folder / kLists[list].file);
        } catch (const IoError&) {
            continue;
        }
        any = true;
        for (int n = 0; n < lines.Count(); ++n) {
            exceptions.AddLine(lines.View(n), list);
        }
    }
    return any ? std::optional(std::move(exceptions)) : std::nullopt;
}

void EnglishExceptions::AddLine(std::string_view line, size_t list) {
    // The words are separated by the blanks of the C locale, as a stream
    // reads words.
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    std::optional<std::string> form;
    for (size_t start = line.find_first_not_of(kBlanks); start != std::string_view::npos;) {
        const size_t end = std::min(line.find_first_of(kBlanks, start), line.size());
        std::string word = WithBlanks(std::string(line.substr(start, end - start)));
        if (form) {
            forms_.emplace(*form, Base{std::move(word), list});
        } else {
            form = std::move(word);
        }
        start = line.find_first_not_of(kBlanks, end);
    }
}

std::vector<EnglishBase> EnglishExceptions::Find(std::string_view word) const {
    std::vector<EnglishBase> bases;
    const auto [first, last] = forms_.equal_range(std::string(word));
    for (auto it = first; it != last; ++it) {
        const ExceptionList& list = kLists[it->second.list];
        bases.push_back({it->second.word, Cp932Name(list.name), list.reason});
    }
    return bases;
}

const EnglishExceptions* InstalledEnglishExceptions() {
    static const std::optional<EnglishExceptions> installed =
        EnglishExceptions::Load("/usr/share/wordnet");
    return installed ? &*installed : nullptr;
}

std::vector<EnglishBase> EnglishBases(std::string_view word, const EnglishExceptions* exceptions) {
    const std::string lower = MbLowerCase(word);
    const std::vector<EnglishBase> irregular =
        exceptions != nullptr ? exceptions->Find(lower) : std::vector<EnglishBase>();
    // A form the lists give as an irregular comparison takes no regular
    // comparison rule: better is good's and well's, never bet's.
    const bool irregularComparison =
        std::any_of(irregular.begin(), irregular.end(),
                    [](const EnglishBase& b) { return IsComparison(b.reason); });
    std::vector<EnglishBase> bases;
    for (const EnglishRule& rule : kRules) {
        if (!lower.ends_with(rule.inflected) ||
            (irregularComparison && IsComparison(rule.reason))) {
            continue;
        }
        const std::string_view stem =
            std::string_view(lower).substr(0, lower.size() - rule.inflected.size());
        std::optional<std::string> base = std::string(stem);
        if (rule.undouble) {
            base = Undoubled(stem);
        }
        if (base && *base != lower) {
            AddOnce(bases, {*base + std::string(rule.base), Cp932Name(rule.name), rule.reason});
        }
    }
    // The lists also hold forms that the rules explain (stopped): these keep
    // the rule's name.
    for (const EnglishBase& base : irregular) {
        AddOnce(bases, base);
    }
    return bases;
}

}  // namespace tovix
