// SPDX-License-Identifier: GPL-3.0-or-later
#include "Conjugator.h"

namespace tovix::bench {
namespace {

// The godan row of a final kana: its a, i, e, o kana and the past and て
// endings.
struct Row {
    char16_t u, a, i, e, o;
    const char16_t* ta;
    const char16_t* te;
};

constexpr Row kRows[] = {
    {u'う', u'わ', u'い', u'え', u'お', u"った", u"って"},
    {u'く', u'か', u'き', u'け', u'こ', u"いた", u"いて"},
    {u'ぐ', u'が', u'ぎ', u'げ', u'ご', u"いだ", u"いで"},
    {u'す', u'さ', u'し', u'せ', u'そ', u"した", u"して"},
    {u'つ', u'た', u'ち', u'て', u'と', u"った", u"って"},
    {u'ぬ', u'な', u'に', u'ね', u'の', u"んだ", u"んで"},
    {u'ぶ', u'ば', u'び', u'べ', u'ぼ', u"んだ", u"んで"},
    {u'む', u'ま', u'み', u'め', u'も', u"んだ", u"んで"},
    {u'る', u'ら', u'り', u'れ', u'ろ', u"った", u"って"},
};

const Row* RowOf(char16_t last) {
    for (const Row& row : kRows) {
        if (row.u == last) {
            return &row;
        }
    }
    return nullptr;
}

bool IsIku(const std::u16string& word) {
    return word == u"いく" || word == u"ゆく" || word.ends_with(u"行く") || word.ends_with(u"逝く");
}

std::vector<std::u16string> Ichidan(const std::u16string& stem) {
    std::vector<std::u16string> forms;
    for (const char16_t* ending :
         {u"た",     u"ます",   u"ました", u"ません",   u"ない",       u"なかった",   u"て",
          u"ている", u"ていた", u"られる", u"させる",   u"させられた", u"よう",       u"ろ",
          u"れば",   u"たら",   u"たい",   u"たくない", u"ず",         u"てしまった", u"ちゃう"}) {
        forms.push_back(stem + ending);
    }
    return forms;
}

std::vector<std::u16string> Godan(const std::u16string& word) {
    const Row* row = RowOf(word.back());
    if (row == nullptr) {
        return {};
    }
    const std::u16string stem = word.substr(0, word.size() - 1);
    const std::u16string ta = IsIku(word) ? u"った" : row->ta;
    const std::u16string te = IsIku(word) ? u"って" : row->te;
    const std::u16string a = stem + row->a;
    const std::u16string i = stem + row->i;
    const std::u16string e = stem + row->e;
    return {stem + ta,
            stem + te,
            stem + te + u"いる",
            stem + ta + u"ら",
            a + u"ない",
            a + u"なかった",
            i + u"ます",
            i + u"ました",
            i + u"ません",
            i + u"たい",
            e + u"る",
            a + u"れる",
            a + u"せる",
            a + u"せられた",
            stem + row->o + u"う",
            e,
            e + u"ば",
            a + u"ず"};
}

std::vector<std::u16string> Suru(const std::u16string& stem) {
    std::vector<std::u16string> forms;
    for (const char16_t* ending :
         {u"した", u"します", u"しました", u"しない", u"しなかった", u"して", u"している",
          u"される", u"させる", u"しよう", u"しろ", u"すれば", u"したら", u"したい", u"せず"}) {
        forms.push_back(stem + ending);
    }
    return forms;
}

std::vector<std::u16string> Kuru(const std::u16string& word) {
    const bool kanji = word.ends_with(u"来る");
    if (!kanji && !word.ends_with(u"くる")) {
        return {};
    }
    const std::u16string stem = word.substr(0, word.size() - 2);
    const std::u16string ki = kanji ? u"来" : u"き";
    const std::u16string ko = kanji ? u"来" : u"こ";
    const std::u16string ku = kanji ? u"来" : u"く";
    return {stem + ki + u"た",   stem + ki + u"ます",   stem + ki + u"ました", stem + ko + u"ない",
            stem + ki + u"て",   stem + ko + u"られる", stem + ko + u"させる", stem + ko + u"よう",
            stem + ku + u"れば", stem + ki + u"たら",   stem + ki + u"たい"};
}

std::vector<std::u16string> Adjective(const std::u16string& stem) {
    std::vector<std::u16string> forms;
    for (const char16_t* ending :
         {u"かった", u"くない", u"くなかった", u"くて", u"く", u"ければ", u"さ", u"かったら"}) {
        forms.push_back(stem + ending);
    }
    return forms;
}

bool IsVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// Consonant, vowel, consonant at the end of a short word: the last letter is
// doubled before -ed, -ing, -er (stop, stopped).
bool Doubles(const std::string& w) {
    const size_t n = w.size();
    return n >= 3 && n <= 4 && !IsVowel(w[n - 1]) && IsVowel(w[n - 2]) && !IsVowel(w[n - 3]) &&
           w[n - 1] != 'w' && w[n - 1] != 'x' && w[n - 1] != 'y';
}

}  // namespace

const char* ClassName(VerbClass c) {
    switch (c) {
        case VerbClass::Ichidan:
            return "ichidan";
        case VerbClass::Godan:
            return "godan";
        case VerbClass::Suru:
            return "suru";
        case VerbClass::SuruNoun:
            return "suru-noun";
        case VerbClass::Kuru:
            return "kuru";
        case VerbClass::Adjective:
            return "adjective";
    }
    return "";
}

std::vector<std::u16string> Conjugate(const std::u16string& word, VerbClass c) {
    const std::u16string stem = word.empty() ? u"" : word.substr(0, word.size() - 1);
    switch (c) {
        case VerbClass::Ichidan:
            return word.ends_with(u"る") && word.size() > 1 ? Ichidan(stem)
                                                            : std::vector<std::u16string>{};
        case VerbClass::Godan:
            return word.size() > 1 ? Godan(word) : std::vector<std::u16string>{};
        case VerbClass::Suru:
            return word.ends_with(u"する") ? Suru(word.substr(0, word.size() - 2))
                                           : std::vector<std::u16string>{};
        case VerbClass::SuruNoun:
            return word.empty() ? std::vector<std::u16string>{} : Suru(word);
        case VerbClass::Kuru:
            return Kuru(word);
        case VerbClass::Adjective:
            return word.ends_with(u"い") && word.size() > 1 ? Adjective(stem)
                                                            : std::vector<std::u16string>{};
    }
    return {};
}

std::vector<std::string> InflectEnglish(const std::string& w, bool adjective) {
    std::vector<std::string> forms;
    const char last = w.back();
    const bool consonantY = last == 'y' && w.size() > 1 && !IsVowel(w[w.size() - 2]);
    const std::string yStem = w.substr(0, w.size() - 1) + "i";
    if (consonantY) {
        forms.push_back(yStem + "es");
    } else if (w.ends_with("s") || w.ends_with("x") || w.ends_with("z") || w.ends_with("ch") ||
               w.ends_with("sh")) {
        forms.push_back(w + "es");
    } else {
        forms.push_back(w + "s");
    }
    const std::string doubled = Doubles(w) ? w + last : w;
    const std::string eStem = last == 'e' ? w.substr(0, w.size() - 1) : doubled;
    forms.push_back(consonantY ? yStem + "ed" : eStem + "ed");
    forms.push_back((w.ends_with("ie") ? w.substr(0, w.size() - 2) + "y" : eStem) + "ing");
    if (adjective) {
        forms.push_back(consonantY ? yStem + "er" : eStem + "er");
        forms.push_back(consonantY ? yStem + "est" : eStem + "est");
    }
    return forms;
}

}  // namespace tovix::bench
