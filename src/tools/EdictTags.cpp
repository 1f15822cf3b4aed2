// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/EdictTags.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tovix {
namespace {

// Usage, spelling and field tags of EDICT.
bool IsOtherTag(std::string_view tag) {
    static constexpr std::string_view kTags[] = {
        "P",        "abbr",    "arch",    "ateji",        "char",    "chn",     "col",
        "company",  "creat",   "dated",   "dei",          "derog",   "doc",     "eK",
        "ek",       "euph",    "ev",      "fam",          "fem",     "fict",    "form",
        "gikun",    "given",   "group",   "hist",         "hon",     "hum",     "iK",
        "id",       "ik",      "io",      "joc",          "leg",     "litf",    "m-sl",
        "male",     "male-sl", "myth",    "net-sl",       "oK",      "obj",     "obs",
        "obsc",     "ok",      "on-mim",  "organization", "oth",     "person",  "place",
        "poet",     "pol",     "product", "proverb",      "quote",   "rK",      "rare",
        "relig",    "sK",      "sens",    "serv",         "ship",    "sk",      "sl",
        "station",  "surname", "uK",      "uk",           "unclass", "vulg",    "work",
        "X",        "yoji",    "agric",   "anat",         "archeol", "archit",  "art",
        "astron",   "audvid",  "aviat",   "baseb",        "biochem", "biol",    "bot",
        "boxing",   "Buddh",   "bus",     "cards",        "chem",    "chmyth",  "Christn",
        "civeng",   "cloth",   "comp",    "cryst",        "dent",    "ecol",    "econ",
        "elec",     "electr",  "embryo",  "engr",         "ent",     "figskt",  "film",
        "finc",     "fish",    "food",    "gardn",        "genet",   "geogr",   "geol",
        "geom",     "go",      "golf",    "gramm",        "grmyth",  "hanaf",   "horse",
        "internet", "jpmyth",  "kabuki",  "law",          "ling",    "logic",   "MA",
        "mahj",     "manga",   "math",    "mech",         "med",     "met",     "mil",
        "min",      "mining",  "motor",   "music",        "noh",     "ornith",  "paleo",
        "pathol",   "pharm",   "phil",    "photo",        "physics", "physiol", "politics",
        "print",    "prowres", "psy",     "psyanal",      "psych",   "rail",    "rommyth",
        "Shinto",   "shogi",   "ski",     "sports",       "stat",    "stockm",  "sumo",
        "surg",     "telec",   "tradem",  "tv",           "vet",     "vidg",    "zool"};
    return std::find(std::begin(kTags), std::end(kTags), tag) != std::end(kTags);
}

// Dialect tags: "ksb:", "thb:" ...
bool IsDialectTag(std::string_view tag) {
    return tag.size() >= 2 && tag.back() == ':' &&
           std::all_of(tag.begin(), tag.end() - 1, [](char c) { return c >= 'a' && c <= 'z'; });
}

// Labels of the parts of speech; a tag that begins with a key ending in "*"
// takes its label.
constexpr std::pair<std::string_view, std::u16string_view> kLabels[] = {
    {"n", u"名"},          {"n-adv", u"副名"},  {"n-t", u"時名"},  {"n-pref", u"接頭名"},
    {"n-suf", u"接尾名"},  {"n-pr", u"固名"},   {"pn", u"代"},     {"v1*", u"一段"},
    {"v5*", u"五段"},      {"v2*", u"二段"},    {"v4*", u"四段"},  {"vk", u"カ変"},
    {"vs-c", u"す"},       {"vs*", u"する"},    {"vz", u"ずる"},   {"vn", u"ナ変"},
    {"vr", u"ラ変"},       {"vi", u"自"},       {"vt", u"他"},     {"v-unspec", u"動"},
    {"adj-i*", u"形"},     {"adj-na", u"形動"}, {"adj-no", u"ノ"}, {"adj-pn", u"連体"},
    {"adj-t", u"タル"},    {"adj-f", u"連体"},  {"adj-ku", u"ク"}, {"adj-shiku", u"シク"},
    {"adj-nari", u"ナリ"}, {"adv-to", u"ト副"}, {"adv", u"副"},    {"aux-v", u"助動"},
    {"aux-adj", u"補形"},  {"aux", u"助動"},    {"conj", u"接続"}, {"cop*", u"繋"},
    {"ctr", u"助数"},      {"exp", u"句"},      {"int", u"感"},    {"num", u"数"},
    {"pref", u"接頭"},     {"prt", u"助"},      {"suf", u"接尾"},
};

std::u16string LabelOf(std::string_view tag) {
    for (const auto& [key, label] : kLabels) {
        if (key.ends_with('*') ? tag.starts_with(key.substr(0, key.size() - 1)) : tag == key) {
            return std::u16string(label);
        }
    }
    return std::u16string(tag.begin(), tag.end());
}

}  // namespace

bool IsVerbTag(std::string_view tag) {
    static constexpr std::string_view kVerbs[] = {"vi", "vk",   "vn",   "vr",   "vs",      "vt",
                                                  "vz", "vs-c", "vs-i", "vs-s", "v-unspec"};
    if (tag.size() >= 2 && tag[0] == 'v' && tag[1] >= '0' && tag[1] <= '9') {
        return true;  // v1, v5k, v2a-s ...
    }
    return std::find(std::begin(kVerbs), std::end(kVerbs), tag) != std::end(kVerbs);
}

bool IsPartOfSpeechTag(std::string_view tag) {
    static constexpr std::string_view kOthers[] = {
        "adv", "adv-to", "aux", "aux-adj", "aux-v", "conj", "cop", "cop-da", "ctr",
        "exp", "int",    "n",   "num",     "pn",    "pref", "prt", "suf",    "unc"};
    return tag.starts_with("adj-") || tag.starts_with("n-") || IsVerbTag(tag) ||
           std::find(std::begin(kOthers), std::end(kOthers), tag) != std::end(kOthers);
}

bool IsSenseNumber(std::string_view tag) {
    return !tag.empty() &&
           std::all_of(tag.begin(), tag.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::vector<std::string>> TagsOf(std::u16string_view group) {
    std::vector<std::string> tags(1);
    for (char16_t c : group) {
        if (c == u',') {
            tags.emplace_back();
        } else if (c > 0x7F) {
            return std::nullopt;
        } else {
            tags.back() += static_cast<char>(c);
        }
    }
    for (const std::string& tag : tags) {
        if (!IsPartOfSpeechTag(tag) && !IsOtherTag(tag) && !IsSenseNumber(tag) &&
            !IsDialectTag(tag)) {
            return std::nullopt;
        }
    }
    return tags;
}

std::u16string PartOfSpeechLabel(const std::vector<std::string>& tags) {
    std::u16string label;
    for (const std::string& tag : tags) {
        if (!IsPartOfSpeechTag(tag) || tag == "unc") {
            continue;
        }
        const std::u16string one = LabelOf(tag);
        if (label.find(one) == std::u16string::npos) {
            label += (label.empty() ? u"" : u"・") + one;
        }
    }
    return label;
}

}  // namespace tovix
