// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/Romaji.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "platform/Cp932.h"

namespace tovix {
namespace {

// Base syllables: each key of a row maps to the kana in the same place of the
// row's kana list. Written as typed on a keyboard, with the irregular ones
// kept as users know them (la gives the full-size あ, lya the small ゃ, yi
// gives い, wu gives う; there is no single n, ん is nn).
struct RomajiRow {
    const char* keys;
    const char* kana;
};

constexpr RomajiRow kBaseRows[] = {
    {"-", "ー"},
    {"a i u e o", "あ い う え お"},
    {"la li lu le lo", "あ い う え お"},
    {"ka ki ku ke ko kya kyi kyu kye kyo", "か き く け こ きゃ きぃ きゅ きぇ きょ"},
    {"sa si su se so shi", "さ し す せ そ し"},
    {"sya syi syu sye syo sha shu she sho", "しゃ しぃ しゅ しぇ しょ しゃ しゅ しぇ しょ"},
    {"ta ti tu te to chi tsu lsu", "た ち つ て と ち つ っ"},
    {"tya tyi tyu tye tyo", "ちゃ ちぃ ちゅ ちぇ ちょ"},
    {"cya cyi cyu cye cyo cha chu che cho", "ちゃ ちぃ ちゅ ちぇ ちょ ちゃ ちゅ ちぇ ちょ"},
    {"tha thi thu the tho", "てゃ てぃ てゅ てぇ てょ"},
    {"na ni nu ne no nya nyi nyu nye nyo", "な に ぬ ね の にゃ にぃ にゅ にぇ にょ"},
    {"ha hi hu he ho fu", "は ひ ふ へ ほ ふ"},
    {"hya hyi hyu hye hyo", "ひゃ ひぃ ひゅ ひぇ ひょ"},
    {"fa fi fe fo fya fyi fyu fye fyo", "ふぁ ふぃ ふぇ ふぉ ふゃ ふぃ ふゅ ふぇ ふょ"},
    {"ma mi mu me mo mya myi myu mye myo", "ま み む め も みゃ みぃ みゅ みぇ みょ"},
    {"ya yi yu ye yo", "や い ゆ いぇ よ"},
    {"lya lyi lyu lye lyo", "ゃ ぃ ゅ ぇ ょ"},
    {"ra ri ru re ro rya ryi ryu rye ryo", "ら り る れ ろ りゃ りぃ りゅ りぇ りょ"},
    {"wa wi wu we wo", "わ うぃ う うぇ を"},
    {"nn", "ん"},
    {"ga gi gu ge go gya gyi gyu gye gyo", "が ぎ ぐ げ ご ぎゃ ぎぃ ぎゅ ぎぇ ぎょ"},
    {"za zi zu ze zo", "ざ じ ず ぜ ぞ"},
    {"ji jya jyi jyu jye jyo", "じ じゃ じぃ じゅ じぇ じょ"},
    {"zya zyi zyu zye zyo ja ju je jo", "じゃ じぃ じゅ じぇ じょ じゃ じゅ じぇ じょ"},
    {"da di du de do dya dyi dyu dye dyo", "だ ぢ づ で ど ぢゃ ぢぃ ぢゅ ぢぇ ぢょ"},
    {"dha dhi dhu dhe dho", "でゃ でぃ でゅ でぇ でょ"},
    {"ba bi bu be bo bya byi byu bye byo", "ば び ぶ べ ぼ びゃ びぃ びゅ びぇ びょ"},
    {"pa pi pu pe po pya pyi pyu pye pyo", "ぱ ぴ ぷ ぺ ぽ ぴゃ ぴぃ ぴゅ ぴぇ ぴょ"},
};

// Base keys that are not doubled: a doubled l before su would read as the
// small っ twice, and nn already is the doubled n.
constexpr std::string_view kNotDoubled[] = {"lsu", "nn"};

std::vector<std::string> Words(const char* list) {
    std::istringstream in(list);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

bool IsDoubled(std::string_view key) {
    const char first = key.front();
    if (first < 'a' || first > 'z' ||
        std::string_view("aiueo").find(first) != std::string_view::npos) {
        return false;
    }
    return std::find(std::begin(kNotDoubled), std::end(kNotDoubled), key) == std::end(kNotDoubled);
}

std::vector<RomajiPair> BuildTable() {
    std::vector<RomajiPair> table;
    const std::string& smallTsu = TOVIX_CP932("っ");
    for (const RomajiRow& row : kBaseRows) {
        const std::vector<std::string> keys = Words(row.keys);
        const std::vector<std::string> kana = Words(row.kana);
        if (keys.size() != kana.size()) {
            throw std::logic_error(std::string("romaji row out of step: ") + row.keys);
        }
        for (size_t i = 0; i < keys.size(); ++i) {
            const std::string cp932 = Utf8ToCp932(kana[i]);
            table.push_back({keys[i], cp932});
            if (IsDoubled(keys[i])) {
                table.push_back({keys[i].front() + keys[i], smallTsu + cp932});
            }
        }
    }
    std::sort(table.begin(), table.end(),
              [](const RomajiPair& a, const RomajiPair& b) { return a.key < b.key; });
    return table;
}

}  // namespace

const std::vector<RomajiPair>& RomajiTable() {
    static const std::vector<RomajiPair> table = BuildTable();
    return table;
}

std::string_view RomajiToKana(std::string_view text) {
    const std::vector<RomajiPair>& table = RomajiTable();
    auto it = std::lower_bound(
        table.begin(), table.end(), text,
        [](const RomajiPair& pair, std::string_view key) { return pair.key < key; });
    if (it == table.end() || it->key != text) {
        return {};
    }
    return it->kana;
}

}  // namespace tovix

namespace tovix {
namespace {

bool IsVowel(char c) {
    return std::string_view("aiueo").find(c) != std::string_view::npos;
}

// The rest of a tail after its n: converted as a whole, or kept as typed.
std::string RestOfTail(std::string_view rest) {
    const std::string_view kana = RomajiToKana(rest);
    return kana.empty() ? ImeStyleN(rest).value_or(std::string(rest)) : std::string(kana);
}

}  // namespace

bool BeginsRomajiKey(std::string_view text) {
    const std::vector<RomajiPair>& table = RomajiTable();
    auto it = std::upper_bound(
        table.begin(), table.end(), text,
        [](std::string_view key, const RomajiPair& pair) { return key < pair.key; });
    return it != table.end() && it->key.starts_with(text);
}

std::optional<std::string> ImeStyleN(std::string_view tail) {
    if (tail.size() < 2 || tail[0] != 'n') {
        return std::nullopt;
    }
    const std::string& n = TOVIX_CP932("ん");
    const char next = tail[1];
    if (next == 'n') {
        if (tail.size() == 2) {
            return std::nullopt;
        }
        const bool syllable = IsVowel(tail[2]) || tail[2] == 'y';
        return n + RestOfTail(tail.substr(syllable ? 1 : 2));
    }
    if (next == '\'') {
        return n + RestOfTail(tail.substr(2));
    }
    if (IsVowel(next) || next == 'y' || (next != '-' && (next < 'a' || next > 'z'))) {
        return std::nullopt;
    }
    return n + RestOfTail(tail.substr(1));
}

}  // namespace tovix
