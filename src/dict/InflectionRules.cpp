// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/InflectionRules.h"

#include <vector>

#include "platform/Cp932.h"

namespace tovix {
namespace {

using namespace word_class;

// A row of the table, in UTF-8. In a godan row ({u} in `base`) the marks
// {a} {i} {u} {e} {o} stand for the kana of that vowel on the verb's row
// (書か 書き 書く 書け 書こ), {ta} and {te} for its past and て endings (書いた,
// 書いて); the row is spelled out once for each of the nine godan rows.
struct Row {
    const char* inflected;
    const char* base;
    WordClasses required;
    WordClasses result;
    const char* name;
    const char* reason;
};

constexpr WordClasses kFinal = 0;  // only the text as typed ends so

// clang-format off
constexpr Row kRows[] = {
    // Past.
    {"た", "る", kFinal, kIchidan, "過去", "past"},
    // 行く (also written 逝く, 往く, read ゆく) before the other godan rows:
    // 行った is 行く before 行う.
    {"行った", "行く", kFinal, kGodan, "過去", "past"},
    {"いった", "いく", kFinal, kGodan, "過去", "past"},
    {"逝った", "逝く", kFinal, kGodan, "過去", "past"},
    {"往った", "往く", kFinal, kGodan, "過去", "past"},
    {"ゆった", "ゆく", kFinal, kGodan, "過去", "past"},
    {"{ta}", "{u}", kFinal, kGodan, "過去", "past"},
    {"した", "する", kFinal, kSuru, "過去", "past"},
    {"きた", "くる", kFinal, kKuru, "過去", "past"},
    {"来た", "来る", kFinal, kKuru, "過去", "past"},
    {"かった", "い", kFinal, kAdjective, "過去", "past"},
    // Conditional in たら.
    {"たら", "る", kFinal, kIchidan, "仮定（たら）", "conditional"},
    {"行ったら", "行く", kFinal, kGodan, "仮定（たら）", "conditional"},
    {"いったら", "いく", kFinal, kGodan, "仮定（たら）", "conditional"},
    {"逝ったら", "逝く", kFinal, kGodan, "仮定（たら）", "conditional"},
    {"往ったら", "往く", kFinal, kGodan, "仮定（たら）", "conditional"},
    {"ゆったら", "ゆく", kFinal, kGodan, "仮定（たら）", "conditional"},
    {"{ta}ら", "{u}", kFinal, kGodan, "仮定（たら）", "conditional"},
    {"したら", "する", kFinal, kSuru, "仮定（たら）", "conditional"},
    {"きたら", "くる", kFinal, kKuru, "仮定（たら）", "conditional"},
    {"来たら", "来る", kFinal, kKuru, "仮定（たら）", "conditional"},
    {"かったら", "い", kFinal, kAdjective, "仮定（たら）", "conditional"},
    // The て form, also as the first half of ている and てしまう.
    {"て", "る", kTeForm, kIchidan, "て形", "te-form"},
    {"行って", "行く", kTeForm, kGodan, "て形", "te-form"},
    {"いって", "いく", kTeForm, kGodan, "て形", "te-form"},
    {"逝って", "逝く", kTeForm, kGodan, "て形", "te-form"},
    {"往って", "往く", kTeForm, kGodan, "て形", "te-form"},
    {"ゆって", "ゆく", kTeForm, kGodan, "て形", "te-form"},
    {"{te}", "{u}", kTeForm, kGodan, "て形", "te-form"},
    {"して", "する", kTeForm, kSuru, "て形", "te-form"},
    {"きて", "くる", kTeForm, kKuru, "て形", "te-form"},
    {"来て", "来る", kTeForm, kKuru, "て形", "te-form"},
    {"くて", "い", kTeForm, kAdjective, "て形", "te-form"},
    {"ている", "て", kIchidan, kTeForm, "進行", "progressive"},
    {"でいる", "で", kIchidan, kTeForm, "進行", "progressive"},
    {"てる", "て", kIchidan, kTeForm, "進行", "progressive"},
    {"でる", "で", kIchidan, kTeForm, "進行", "progressive"},
    {"てしまう", "て", kGodan, kTeForm, "完了", "completed"},
    {"でしまう", "で", kGodan, kTeForm, "完了", "completed"},
    {"ちゃう", "て", kGodan, kTeForm, "完了", "completed"},
    {"じゃう", "で", kGodan, kTeForm, "完了", "completed"},
    // Polite.
    {"ます", "る", kFinal, kIchidan, "丁寧", "polite"},
    {"{i}ます", "{u}", kFinal, kGodan, "丁寧", "polite"},
    {"します", "する", kFinal, kSuru, "丁寧", "polite"},
    {"きます", "くる", kFinal, kKuru, "丁寧", "polite"},
    {"来ます", "来る", kFinal, kKuru, "丁寧", "polite"},
    {"ました", "る", kFinal, kIchidan, "丁寧・過去", "polite past"},
    {"{i}ました", "{u}", kFinal, kGodan, "丁寧・過去", "polite past"},
    {"しました", "する", kFinal, kSuru, "丁寧・過去", "polite past"},
    {"きました", "くる", kFinal, kKuru, "丁寧・過去", "polite past"},
    {"来ました", "来る", kFinal, kKuru, "丁寧・過去", "polite past"},
    {"ません", "る", kFinal, kIchidan, "丁寧・否定", "polite negative"},
    {"{i}ません", "{u}", kFinal, kGodan, "丁寧・否定", "polite negative"},
    {"しません", "する", kFinal, kSuru, "丁寧・否定", "polite negative"},
    {"きません", "くる", kFinal, kKuru, "丁寧・否定", "polite negative"},
    {"来ません", "来る", kFinal, kKuru, "丁寧・否定", "polite negative"},
    {"ませんでした", "る", kFinal, kIchidan, "丁寧・否定・過去", "polite negative past"},
    {"{i}ませんでした", "{u}", kFinal, kGodan, "丁寧・否定・過去", "polite negative past"},
    {"しませんでした", "する", kFinal, kSuru, "丁寧・否定・過去", "polite negative past"},
    {"きませんでした", "くる", kFinal, kKuru, "丁寧・否定・過去", "polite negative past"},
    {"来ませんでした", "来る", kFinal, kKuru, "丁寧・否定・過去", "polite negative past"},
    {"ましょう", "る", kFinal, kIchidan, "丁寧・意志", "polite volitional"},
    {"{i}ましょう", "{u}", kFinal, kGodan, "丁寧・意志", "polite volitional"},
    {"しましょう", "する", kFinal, kSuru, "丁寧・意志", "polite volitional"},
    {"きましょう", "くる", kFinal, kKuru, "丁寧・意志", "polite volitional"},
    {"来ましょう", "来る", kFinal, kKuru, "丁寧・意志", "polite volitional"},
    // Negative: ない is an adjective (食べなかった, 食べなくて).
    {"ない", "る", kAdjective, kIchidan, "否定", "negative"},
    {"{a}ない", "{u}", kAdjective, kGodan, "否定", "negative"},
    {"しない", "する", kAdjective, kSuru, "否定", "negative"},
    {"こない", "くる", kAdjective, kKuru, "否定", "negative"},
    {"来ない", "来る", kAdjective, kKuru, "否定", "negative"},
    {"ず", "る", kFinal, kIchidan, "否定（ず）", "negative"},
    {"{a}ず", "{u}", kFinal, kGodan, "否定（ず）", "negative"},
    {"せず", "する", kFinal, kSuru, "否定（ず）", "negative"},
    {"こず", "くる", kFinal, kKuru, "否定（ず）", "negative"},
    {"来ず", "来る", kFinal, kKuru, "否定（ず）", "negative"},
    {"ぬ", "る", kFinal, kIchidan, "否定（ぬ）", "negative"},
    {"{a}ぬ", "{u}", kFinal, kGodan, "否定（ぬ）", "negative"},
    {"せぬ", "する", kFinal, kSuru, "否定（ぬ）", "negative"},
    {"こぬ", "くる", kFinal, kKuru, "否定（ぬ）", "negative"},
    {"来ぬ", "来る", kFinal, kKuru, "否定（ぬ）", "negative"},
    // Desire: たい is an adjective (食べたくない, 食べたかった).
    {"たい", "る", kAdjective, kIchidan, "願望", "want"},
    {"{i}たい", "{u}", kAdjective, kGodan, "願望", "want"},
    {"したい", "する", kAdjective, kSuru, "願望", "want"},
    {"きたい", "くる", kAdjective, kKuru, "願望", "want"},
    {"来たい", "来る", kAdjective, kKuru, "願望", "want"},
    // Conditional in ば.
    {"れば", "る", kFinal, kIchidan, "仮定", "conditional"},
    {"{e}ば", "{u}", kFinal, kGodan, "仮定", "conditional"},
    {"すれば", "する", kFinal, kSuru, "仮定", "conditional"},
    {"くれば", "くる", kFinal, kKuru, "仮定", "conditional"},
    {"来れば", "来る", kFinal, kKuru, "仮定", "conditional"},
    {"ければ", "い", kFinal, kAdjective, "仮定", "conditional"},
    // Volitional.
    {"よう", "る", kFinal, kIchidan, "意志", "volitional"},
    {"{o}う", "{u}", kFinal, kGodan, "意志", "volitional"},
    {"しよう", "する", kFinal, kSuru, "意志", "volitional"},
    {"こよう", "くる", kFinal, kKuru, "意志", "volitional"},
    {"来よう", "来る", kFinal, kKuru, "意志", "volitional"},
    // Imperative.
    {"ろ", "る", kFinal, kIchidan, "命令", "imperative"},
    {"よ", "る", kFinal, kIchidan, "命令", "imperative"},
    {"{e}", "{u}", kFinal, kGodan, "命令", "imperative"},
    {"しろ", "する", kFinal, kSuru, "命令", "imperative"},
    {"せよ", "する", kFinal, kSuru, "命令", "imperative"},
    {"こい", "くる", kFinal, kKuru, "命令", "imperative"},
    {"来い", "来る", kFinal, kKuru, "命令", "imperative"},
    // Potential, passive, causative: each gives an ichidan verb again.
    {"られる", "る", kIchidan, kIchidan, "受身", "passive or potential"},
    {"れる", "る", kIchidan, kIchidan, "可能", "potential"},
    {"{e}る", "{u}", kIchidan, kGodan, "可能", "potential"},
    {"{a}れる", "{u}", kIchidan, kGodan, "受身", "passive"},
    {"される", "する", kIchidan, kSuru, "受身", "passive"},
    {"できる", "する", kIchidan, kSuru, "可能", "potential"},
    {"こられる", "くる", kIchidan, kKuru, "受身・可能", "passive or potential"},
    {"来られる", "来る", kIchidan, kKuru, "受身・可能", "passive or potential"},
    {"これる", "くる", kIchidan, kKuru, "可能", "potential"},
    {"来れる", "来る", kIchidan, kKuru, "可能", "potential"},
    {"させる", "る", kIchidan, kIchidan, "使役", "causative"},
    {"{a}せる", "{u}", kIchidan, kGodan, "使役", "causative"},
    {"させる", "する", kIchidan, kSuru, "使役", "causative"},
    {"こさせる", "くる", kIchidan, kKuru, "使役", "causative"},
    {"来させる", "来る", kIchidan, kKuru, "使役", "causative"},
    {"{a}される", "{u}", kIchidan, kGodan, "使役受身", "causative passive"},
    // Adjectives.
    {"くない", "い", kAdjective, kAdjective, "否定", "negative"},
    {"く", "い", kFinal, kAdjective, "連用", "adverbial"},
    {"さ", "い", kFinal, kAdjective, "名詞化", "noun"},
    // A noun that takes する: 勉強する is 勉強.
    {"する", "", kSuru, kSuruNoun, "", ""},
};
// clang-format on

// The nine godan rows: the verb's ending and its kana of each mark.
struct GodanRow {
    const char* u;
    const char* a;
    const char* i;
    const char* e;
    const char* o;
    const char* ta;
    const char* te;
};

constexpr GodanRow kGodanRows[] = {
    {"う", "わ", "い", "え", "お", "った", "って"}, {"く", "か", "き", "け", "こ", "いた", "いて"},
    {"ぐ", "が", "ぎ", "げ", "ご", "いだ", "いで"}, {"す", "さ", "し", "せ", "そ", "した", "して"},
    {"つ", "た", "ち", "て", "と", "った", "って"}, {"ぬ", "な", "に", "ね", "の", "んだ", "んで"},
    {"ぶ", "ば", "び", "べ", "ぼ", "んだ", "んで"}, {"む", "ま", "み", "め", "も", "んだ", "んで"},
    {"る", "ら", "り", "れ", "ろ", "った", "って"},
};

std::string Fill(std::string text, const GodanRow& row) {
    const std::pair<std::string_view, const char*> marks[] = {
        {"{ta}", row.ta}, {"{te}", row.te}, {"{u}", row.u}, {"{a}", row.a},
        {"{i}", row.i},   {"{e}", row.e},   {"{o}", row.o}};
    for (const auto& [mark, kana] : marks) {
        for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
            text.replace(at, mark.size(), kana);
        }
    }
    return text;
}

void Add(std::vector<InflectionRule>& rules, const Row& row, const std::string& inflected,
         const std::string& base) {
    rules.push_back({Utf8ToCp932(inflected), Utf8ToCp932(base), row.required, row.result,
                     Utf8ToCp932(row.name), row.reason});
}

std::vector<InflectionRule> MakeRules() {
    std::vector<InflectionRule> rules;
    for (const Row& row : kRows) {
        if (std::string_view(row.base).find("{u}") == std::string_view::npos) {
            Add(rules, row, row.inflected, row.base);
            continue;
        }
        for (const GodanRow& godan : kGodanRows) {
            Add(rules, row, Fill(row.inflected, godan), Fill(row.base, godan));
        }
    }
    return rules;
}

}  // namespace

std::span<const InflectionRule> InflectionRules() {
    static const std::vector<InflectionRule> rules = MakeRules();
    return rules;
}

}  // namespace tovix
