// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Word classes of Japanese inflection, as bits: the classes a dictionary entry
// may be marked with (《一段》, 《五段》, 《形》 ...) and the passing forms a
// chain of inflections goes through (a て form before いる or しまう).

#include <cstdint>

namespace tovix {

using WordClasses = std::uint16_t;

namespace word_class {
inline constexpr WordClasses kIchidan = 1 << 0;    // 一段: 食べる, 見る
inline constexpr WordClasses kGodan = 1 << 1;      // 五段: 書く, 行く
inline constexpr WordClasses kSuru = 1 << 2;       // する, 愛する
inline constexpr WordClasses kKuru = 1 << 3;       // 来る
inline constexpr WordClasses kAdjective = 1 << 4;  // 形: 高い
inline constexpr WordClasses kSuruNoun = 1 << 5;   // a noun that takes する: 勉強
inline constexpr WordClasses kTeForm = 1 << 6;     // passing: the て form before いる, しまう
// The classes a dictionary entry can have; a form of another class is only a
// step of a chain.
inline constexpr WordClasses kDictionary =
    kIchidan | kGodan | kSuru | kKuru | kAdjective | kSuruNoun;
// An entry without part-of-speech marks: any class agrees with it.
inline constexpr WordClasses kAny = kDictionary;
}  // namespace word_class

}  // namespace tovix
