// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a dictionary-like CP932 text of about the given size, the layout of a
// part file: per entry an English-looking headword line ending with one blank,
// then a TAB-led Japanese translation line (kana, kanji, commas), every line
// ended by CR LF. The same arguments always give the same bytes.
//
//   GenerateDictionaryText OUTPUT SIZE_IN_BYTES

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "platform/Cp932.h"

namespace {

const char* const kSyllables[] = {
    "a",  "ab", "ac",  "ad",  "al", "an",   "ap",  "ar",  "at", "ba", "be", "bi", "bo", "ca",
    "ce", "ch", "co",  "con", "de", "di",   "dis", "e",   "en", "er", "ex", "fi", "fo", "ga",
    "ge", "in", "ing", "ion", "is", "la",   "le",  "li",  "lo", "ma", "me", "mi", "mo", "na",
    "ne", "no", "o",   "or",  "pa", "pe",   "pre", "pro", "ra", "re", "ri", "ro", "sa", "se",
    "si", "st", "ta",  "te",  "ti", "tion", "to",  "tr",  "u",  "un", "ve", "vi", "wa", "y"};

// Japanese words in UTF-8; several hold characters whose second byte in CP932
// is "\" (0x5C) or "[" (0x5B): ソ, 表, 能, 十, 構, 予, ー.
const char* const kWords[] = {
    "放棄する", "見捨てる", "あきらめる", "表示",       "能力",           "ソフトウェア", "予定",
    "構造",     "十分な",   "申し込む",   "データ",     "コンピューター", "辞書",         "翻訳",
    "意味",     "言葉",     "説明する",   "〜に関する", "重要な",         "見本",         "問題",
    "答える",   "ゆっくり", "すばやく",   "美しい",     "考え",           "行動",         "経験",
    "状態",     "関係",     "記録する",   "変化",       "増加する",       "減少",         "方法",
};

const char* const kMarkers[] = {"", "", "", "【名】", "【動】", "【形】", "《米》"};

class Generator {
  public:
    explicit Generator(std::uint32_t seed) : random_(seed) {
        for (const char* word : kWords) {
            words_.push_back(tovix::Utf8ToCp932(word));
        }
        for (const char* marker : kMarkers) {
            markers_.push_back(tovix::Utf8ToCp932(marker));
        }
        comma_ = tovix::Utf8ToCp932("，");
    }

    std::string Entry() {
        std::string entry = Headword() + " \r\n\t" + Translation() + "\r\n";
        return entry;
    }

  private:
    size_t Pick(size_t n) { return random_() % n; }

    std::string Word() {
        std::string word;
        const size_t syllables = 1 + Pick(4);
        for (size_t i = 0; i < syllables; ++i) {
            word += kSyllables[Pick(std::size(kSyllables))];
        }
        return word;
    }

    std::string Headword() {
        std::string headword = Word();
        if (Pick(8) == 0) {
            headword[0] = static_cast<char>(headword[0] - 'a' + 'A');
        }
        if (Pick(5) == 0) {
            headword += Pick(3) == 0 ? "-" : " ";
            headword += Word();
        }
        return headword;
    }

    std::string Translation() {
        std::string text = markers_[Pick(markers_.size())];
        const size_t terms = 4 + Pick(5);
        for (size_t i = 0; i < terms; ++i) {
            if (i > 0) {
                text += Pick(2) == 0 ? comma_ : ",";
            }
            text += words_[Pick(words_.size())];
        }
        if (Pick(4) == 0) {
            text += " / " + Word() + " " + Word();  // an example phrase
        }
        return text;
    }

    std::mt19937 random_;
    std::vector<std::string> words_;
    std::vector<std::string> markers_;
    std::string comma_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: GenerateDictionaryText OUTPUT SIZE_IN_BYTES\n";
        return 2;
    }
    const unsigned long long size = std::strtoull(argv[2], nullptr, 10);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    if (!out) {
        std::cerr << argv[1] << ": cannot create\n";
        return 1;
    }
    Generator generator(20240101);
    unsigned long long written = 0;
    for (;;) {
        const std::string entry = generator.Entry();
        if (written + entry.size() > size) {
            break;
        }
        out.write(entry.data(), static_cast<std::streamsize>(entry.size()));
        written += entry.size();
    }
    out.close();
    if (!out) {
        std::cerr << argv[1] << ": write failed\n";
        return 1;
    }
    return 0;
}
