// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Collation.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/Cp932.h"

namespace tovix {
namespace {

// Hyphens (ASCII and U+2010) and apostrophes (ASCII and U+2019) do not count
// at all. The text handed to ICU carries U+0001 in their place, a control
// character that the Japanese collation ignores completely. Replacing them
// rather than dropping them keeps a sign between its neighbours, so that it
// still separates them as an ignored letter does: a kana iteration or
// prolonged-sound mark after a hyphen is not read in the context of the kana
// before the hyphen.
constexpr char16_t kIgnored = 0x0001;

char16_t CollationUnit(char16_t c) {
    return c == u'-' || c == u'\'' || c == u'\u2010' || c == u'\u2019' ? kIgnored : c;
}

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

// ICU's Japanese collation comes prebuilt with its data, so opening it is
// quick (building the same rules from text would take a fifth of a second).
CollatorPtr OpenDictionaryCollator() {
    UErrorCode err = U_ZERO_ERROR;
    CollatorPtr collator(ucol_open("ja", &err));
    if (U_FAILURE(err)) {
        throw std::runtime_error("Japanese collation unavailable");
    }
    ucol_setStrength(collator.get(), UCOL_SECONDARY);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &err);
    ucol_setAttribute(collator.get(), UCOL_CASE_LEVEL, UCOL_OFF, &err);
    if (U_FAILURE(err)) {
        throw std::runtime_error("dictionary collation set-up failed");
    }
    return collator;
}

CollatorPtr CloneDictionaryCollator(UCollationStrength strength) {
    static const CollatorPtr prototype = OpenDictionaryCollator();
    UErrorCode err = U_ZERO_ERROR;
    CollatorPtr clone(ucol_clone(prototype.get(), &err));
    if (U_FAILURE(err)) {
        throw std::runtime_error("dictionary collation clone failed");
    }
    ucol_setStrength(clone.get(), strength);
    return clone;
}

// CP932 decoding for the collation: tables filled once from Cp932ToUtf16, so
// that they give exactly its text, with the ignored signs already replaced.
// They skip the converter's work for every line; a line with a byte sequence
// they lack (broken or unmapped) is decoded by Cp932ToUtf16 itself.
class CollationDecoder {
  public:
    CollationDecoder() {
        single_.fill(kNone);
        pair_.assign(kLeads * 256, kNone);
        for (int byte = 0; byte < 256; ++byte) {
            const std::string text(1, static_cast<char>(byte));
            single_[static_cast<size_t>(byte)] = OneUnit(text);
            if (single_[static_cast<size_t>(byte)] != kNone || !IsLeadByte(text[0])) {
                continue;
            }
            // CP932 trail bytes lie in 0x40..0xFC; anything else goes the
            // slow way.
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const std::string pair = text + static_cast<char>(trail);
                pair_[PairIndex(text[0], pair[1])] = OneUnit(pair);
            }
        }
    }

    // The unit of a single-byte character, or kNone.
    char16_t SingleUnit(unsigned char byte) const { return single_[byte]; }

    // The unit of a double-byte character (a lead byte, then a trail byte in
    // 0x40..0xFC), or kNone.
    char16_t PairUnit(char lead, char trail) const { return pair_[PairIndex(lead, trail)]; }

    // Decodes `line` into `out` for the collation, up to its first TAB when
    // `headwordOnly`.
    void Decode(std::string_view line, bool headwordOnly, std::u16string& out) const {
        if (!DecodeByTable(line, headwordOnly, out)) {
            DecodeByConverter(line, headwordOnly, out);
        }
    }

    static constexpr char16_t kNone = 0xFFFF;

    static constexpr size_t kLeads = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);

    // 0 .. kLeads - 1 for a CP932 lead byte.
    static size_t LeadIndex(char lead) {
        const auto l = static_cast<unsigned char>(lead);
        return l <= 0x9F ? l - 0x81 : l - 0xE0 + (0x9F - 0x81 + 1);
    }

    static size_t PairIndex(char lead, char trail) {
        return LeadIndex(lead) * 256 + static_cast<unsigned char>(trail);
    }

  private:
    // The unit one character decodes to, or kNone for a sequence that is not
    // exactly one mapped character.
    static char16_t OneUnit(const std::string& bytes) {
        const std::u16string text = Cp932ToUtf16(bytes);
        if (text.size() != 1 || text[0] == u'\uFFFD' || text[0] == kNone) {
            return kNone;
        }
        return CollationUnit(text[0]);
    }

    bool DecodeByTable(std::string_view line, bool headwordOnly, std::u16string& out) const {
        out.resize(line.size());
        size_t length = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            char16_t unit = single_[static_cast<unsigned char>(line[i])];
            if (unit == kNone) {
                if (!IsLeadByte(line[i]) || i + 1 == line.size()) {
                    return false;
                }
                unit = pair_[PairIndex(line[i], line[i + 1])];
                if (unit == kNone) {
                    return false;
                }
                ++i;
            }
            if (unit == u'\t' && headwordOnly) {
                break;
            }
            out[length++] = unit;
        }
        out.resize(length);
        return true;
    }

    static void DecodeByConverter(std::string_view line, bool headwordOnly, std::u16string& out) {
        out = Cp932ToUtf16(line);
        if (headwordOnly) {
            out.resize(std::min(out.find(u'\t'), out.size()));
        }
        for (char16_t& unit : out) {
            unit = CollationUnit(unit);
        }
    }

    std::array<char16_t, 256> single_;
    std::vector<char16_t> pair_;
};

const CollationDecoder& Decoder() {
    static const CollationDecoder decoder;
    return decoder;
}

// Appends the key of `text` under `c`: ICU's key, which ends with its only
// zero byte.
void AppendIcuKey(const UCollator* c, std::u16string_view text, std::vector<uint8_t>& buffer,
                  std::string& out) {
    if (buffer.size() < 256) {
        buffer.resize(256);
    }
    const auto* units = reinterpret_cast<const UChar*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t needed =
        ucol_getSortKey(c, units, length, buffer.data(), static_cast<int32_t>(buffer.size()));
    if (needed > static_cast<int32_t>(buffer.size())) {
        buffer.resize(static_cast<size_t>(needed));
        needed = ucol_getSortKey(c, units, length, buffer.data(), needed);
    }
    out.append(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(needed));
}

// First-level keys of headwords made of ASCII and double-byte characters
// (kana, kanji, full-width letters and signs), written from a table instead
// of by ICU, byte for byte as ICU writes them. A character without context
// has the same weight whatever its neighbours; its entry holds the bytes of
// that weight as ICU writes it alone (none for an ignored character). A weight
// whose lead byte is compressible and the same as the lead byte of the run of
// weights before it goes without its lead byte; a run of compressible weights
// ends with a byte that keeps the order (low when the next weight is smaller
// than the run's first, high when it is larger). What one character writes
// thus depends only on the last character with a weight before it.
//
// ICU reads some characters in the context of the one before (the long vowel
// mark and the iteration marks after a kana sort as that kana's vowel or the
// kana itself). The long vowel mark writes, after each character, the weight
// ICU's key of the two shows (itself or a vowel); the iteration marks have no
// usable entry, and a headword holding one gets ICU's own key. The ASCII entries are checked
// against ICU's keys of every pair of ASCII characters when the table is built, and the whole table
// stays unused if any of them differs. The entries of the double-byte characters of one lead byte
// are made the first time a headword holds one of them, each checked against ICU's keys of the
// character twice and beside a hiragana, a katakana and a letter on either side.
class FirstLevelTable {
  public:
    enum class Outcome { Whole, Enough, Unhandled };
    // Where a key ends: at the first TAB (a headword's key) or at the end.
    enum class Span { Headword, WholeText };

    explicit FirstLevelTable(const CollationDecoder& decoder)
        : decoder_(decoder), pairs_(CollationDecoder::kLeads * 256) {
        const CollatorPtr firstLevel = CloneDictionaryCollator(UCOL_PRIMARY);
        std::vector<uint8_t> buffer;
        for (size_t i = 0; i < longVowels_.size(); ++i) {
            longVowels_[i] = MakeEntry(firstLevel.get(), kLongVowelWeights[i], buffer);
        }
        start_.longVowelAfter = LongVowelAfter(firstLevel.get(), {}, start_, buffer);
        for (size_t byte = 0; byte < singles_.size(); ++byte) {
            const char16_t unit = decoder.SingleUnit(static_cast<unsigned char>(byte));
            if (unit != CollationDecoder::kNone) {
                singles_[byte] = MakeEntry(firstLevel.get(), unit, buffer);
                singles_[byte].longVowelAfter = LongVowelAfter(
                    firstLevel.get(), std::u16string(1, unit), singles_[byte], buffer);
            }
        }
        enabled_ = true;
        for (size_t a = 0; a < singles_.size() && enabled_; ++a) {
            for (size_t b = 0; b < singles_.size() && enabled_; ++b) {
                const bool agrees = PairAgrees(firstLevel.get(), UnitOf(a), singles_[a], UnitOf(b),
                                               singles_[b], buffer);
                if (a == '\t' || b == '\t') {
                    tabAgrees_ = tabAgrees_ && agrees;
                } else {
                    enabled_ = agrees;
                }
            }
        }
    }

    // Appends the key of the line's headword (or of the whole line) while its
    // characters have usable entries. Stops at the end after the closing zero
    // byte (Whole), once `key` holds `limit` bytes that no later character
    // can change (Enough), or at a character without a usable entry
    // (Unhandled; what was appended is then unfinished). A long vowel mark
    // writes what the character before it gives it.
    Outcome Append(std::string_view line, size_t limit, Span span, std::string& key) const {
        if (!enabled_) {
            return Outcome::Unhandled;
        }
        std::uint32_t runStart = 0;
        const Entry* previous = &start_;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\t' && (span == Span::Headword || !tabAgrees_)) {
                if (span == Span::Headword) {
                    break;
                }
                return Outcome::Unhandled;
            }
            const Entry* entry = EntryAt(line, i);
            if (entry == nullptr) {
                return Outcome::Unhandled;
            }
            const Entry* weight = entry;
            if (entry->longVowel) {
                if (previous->longVowelAfter == kUnknown) {
                    return Outcome::Unhandled;
                }
                weight = &longVowels_[previous->longVowelAfter];
            }
            if (!weight->usable) {
                return Outcome::Unhandled;
            }
            // A character's bytes are final only once the next one is known
            // to have an entry too.
            if (key.size() >= limit) {
                return Outcome::Enough;
            }
            AppendWeight(*weight, runStart, key);
            previous = entry;
        }
        key.push_back('\0');
        return Outcome::Whole;
    }

  private:
    char16_t UnitOf(size_t byte) const {
        return decoder_.SingleUnit(static_cast<unsigned char>(byte));
    }

    static constexpr std::uint8_t kUnknown = 0xFF;

    struct Entry {
        // Big-endian: lead byte first; zero for a character without weight.
        std::uint32_t weight = 0;
        bool compressible = false;
        bool usable = false;
        // The long vowel mark itself, whose weight depends on the character
        // before it.
        bool longVowel = false;
        // The entry in longVowels_ of a long vowel mark right after this
        // character, or kUnknown.
        std::uint8_t longVowelAfter = kUnknown;
    };

    static constexpr char16_t kLongVowelMark = u'\u30FC';
    // What a long vowel mark may sort as: itself (after a character that is
    // not a kana), or a vowel (after a kana).
    static constexpr std::array<char16_t, 6> kLongVowelWeights = {
        kLongVowelMark, u'\u3042', u'\u3044', u'\u3046', u'\u3048', u'\u304A'};

    static constexpr char kLowRunEnd = 0x03;
    static constexpr char kHighRunEnd = static_cast<char>(0xFF);
    static constexpr std::uint32_t kLowestLeadToEndLow = 0x03;

    // The entry of the character at `i` (moved on to a double-byte
    // character's trail byte); nothing for a byte that starts no character
    // the table holds.
    const Entry* EntryAt(std::string_view line, size_t& i) const {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte < singles_.size()) {
            return &singles_[byte];
        }
        if (!IsLeadByte(line[i]) || i + 1 == line.size()) {
            return nullptr;
        }
        const char lead = line[i];
        std::call_once(rowsMade_[CollationDecoder::LeadIndex(lead)], [&] { MakeRow(lead); });
        ++i;
        return &pairs_[CollationDecoder::PairIndex(lead, line[i])];
    }

    // The entries of every double-byte character with this lead byte.
    void MakeRow(char lead) const {
        const CollatorPtr firstLevel = CloneDictionaryCollator(UCOL_PRIMARY);
        std::vector<uint8_t> buffer;
        const UCollator* c = firstLevel.get();
        const std::array<std::pair<char16_t, Entry>, 3> neighbours = {{
            {u'\u304B', MakeEntry(c, u'\u304B', buffer)},  // hiragana ka
            {u'\u30AB', MakeEntry(c, u'\u30AB', buffer)},  // katakana ka
            {u'a', MakeEntry(c, u'a', buffer)},
        }};
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char16_t unit = decoder_.PairUnit(lead, static_cast<char>(trail));
            if (unit == CollationDecoder::kNone) {
                continue;
            }
            Entry entry = MakeEntry(c, unit, buffer);
            for (const auto& [other, otherEntry] : neighbours) {
                entry.usable = entry.usable && otherEntry.usable &&
                               PairAgrees(c, other, otherEntry, unit, entry, buffer) &&
                               PairAgrees(c, unit, entry, other, otherEntry, buffer);
            }
            if (unit == kLongVowelMark) {
                entry = longVowels_[0];
                entry.usable = false;
                entry.longVowel = true;
            }
            entry.longVowelAfter = LongVowelAfter(c, std::u16string(1, unit), entry, buffer);
            pairs_[CollationDecoder::PairIndex(lead, static_cast<char>(trail))] = entry;
        }
    }

    // Which of longVowels_ a long vowel mark after `text` (one character, or
    // none for the start of a text) writes, by ICU's key of the two: kUnknown
    // when none of them gives that key.
    std::uint8_t LongVowelAfter(const UCollator* c, const std::u16string& text, const Entry& entry,
                                std::vector<uint8_t>& buffer) const {
        const Entry& before = entry.longVowel ? longVowels_[0] : entry;
        if (!before.usable && !entry.longVowel && !text.empty()) {
            return kUnknown;
        }
        std::string icuKey;
        AppendIcuKey(c, text + kLongVowelMark, buffer, icuKey);
        for (size_t i = 0; i < longVowels_.size(); ++i) {
            std::string key;
            std::uint32_t runStart = 0;
            if (!text.empty()) {
                AppendWeight(before, runStart, key);
            }
            AppendWeight(longVowels_[i], runStart, key);
            key.push_back('\0');
            if (longVowels_[i].usable && key == icuKey) {
                return static_cast<std::uint8_t>(i);
            }
        }
        return kUnknown;
    }

    // True when the table's key of the two characters is ICU's (or either
    // has no usable entry).
    static bool PairAgrees(const UCollator* c, char16_t a, const Entry& aEntry, char16_t b,
                           const Entry& bEntry, std::vector<uint8_t>& buffer) {
        if (!aEntry.usable || !bEntry.usable) {
            return true;
        }
        std::string key;
        std::uint32_t runStart = 0;
        AppendWeight(aEntry, runStart, key);
        AppendWeight(bEntry, runStart, key);
        key.push_back('\0');
        std::string icuKey;
        AppendIcuKey(c, std::u16string{a, b}, buffer, icuKey);
        return key == icuKey;
    }

    static Entry MakeEntry(const UCollator* c, char16_t unit, std::vector<uint8_t>& buffer) {
        Entry entry;
        std::string single;
        AppendIcuKey(c, std::u16string(1, unit), buffer, single);
        single.pop_back();
        if (single.empty()) {
            entry.usable = true;
            return entry;
        }
        if (single.size() > 4) {
            return entry;
        }
        for (size_t i = 0; i < 4; ++i) {
            entry.weight = (entry.weight << 8) |
                           (i < single.size() ? static_cast<unsigned char>(single[i]) : 0u);
        }
        // Two in a row show whether the lead byte is compressible.
        std::string twice;
        AppendIcuKey(c, std::u16string(2, unit), buffer, twice);
        if (twice == single + single.substr(1) + '\0') {
            entry.compressible = true;
        } else if (twice != single + single + '\0') {
            return entry;
        }
        entry.usable = true;
        return entry;
    }

    static void AppendWeight(const Entry& entry, std::uint32_t& runStart, std::string& key) {
        const std::uint32_t weight = entry.weight;
        if (weight == 0) {
            return;
        }
        const std::uint32_t lead = weight >> 24;
        if (!entry.compressible || lead != runStart >> 24) {
            if (runStart != 0) {
                if (weight >= runStart) {
                    key.push_back(kHighRunEnd);
                } else if (lead >= kLowestLeadToEndLow) {
                    key.push_back(kLowRunEnd);
                }
            }
            key.push_back(static_cast<char>(lead));
            runStart = entry.compressible ? weight : 0;
        }
        for (int shift = 16; shift >= 0 && ((weight >> shift) & 0xFF) != 0; shift -= 8) {
            key.push_back(static_cast<char>(weight >> shift));
        }
    }

    const CollationDecoder& decoder_;
    std::array<Entry, 128> singles_;
    std::array<Entry, kLongVowelWeights.size()> longVowels_;
    // The start of a text, for a long vowel mark that comes first.
    Entry start_;
    bool enabled_ = false;
    bool tabAgrees_ = true;
    mutable std::vector<Entry> pairs_;
    mutable std::array<std::once_flag, CollationDecoder::kLeads> rowsMade_;
};

// Appends `bytes` with 0x00 and 0x01 written as 0x01 0x01 and 0x01 0x02, and
// then a zero byte: the result holds no other zero byte and orders as the
// bytes do, a text before its continuations.
void AppendEscaped(std::string_view bytes, std::string& key) {
    for (char c : bytes) {
        if (c == '\0' || c == '\1') {
            key.push_back('\1');
            key.push_back(static_cast<char>(c + 1));
        } else {
            key.push_back(c);
        }
    }
    key.push_back('\0');
}

const FirstLevelTable& FirstLevelKeys() {
    static const FirstLevelTable keys(Decoder());
    return keys;
}

// A line prepared for comparisons. When the line has a TAB, the beginning of
// the rest's first-level key (after the TAB) lies at `restKey` in the buffer
// of rest keys, `restKeyLength` bytes (0: none, see AppendRestKey).
// The line is decoded only when ICU first compares it: its text then lies at
// `offset` in the buffer of decoded lines, the headword's `headLength` units
// of its `length` first.
struct DecodedLine {
    std::string_view bytes;
    size_t byteTab;
    size_t restKey = 0;
    size_t restKeyLength = 0;
    bool decoded = false;
    size_t offset = 0;
    size_t headLength = 0;
    size_t length = 0;

    std::string_view Head() const { return bytes.substr(0, byteTab); }
};

// How many bytes of a rest's first-level key SortIndexes makes: enough to
// get past the part-of-speech mark that begins most translations.
constexpr size_t kRestKeyBytes = 16;

int CollationSign(UCollationResult result) {
    return result == UCOL_EQUAL ? 0 : result == UCOL_LESS ? -1 : 1;
}

int ByteSign(std::string_view a, std::string_view b) {
    const int order = a.compare(b);
    return (order > 0) - (order < 0);
}

}  // namespace

struct Collation::Impl {
    CollatorPtr collator = CloneDictionaryCollator(UCOL_SECONDARY);
    CollatorPtr firstLevel = CloneDictionaryCollator(UCOL_PRIMARY);
    const CollationDecoder& decoder = Decoder();
    const FirstLevelTable& table = FirstLevelKeys();
    std::u16string a;
    std::vector<uint8_t> buffer;
    std::string compareA;
    std::string compareB;
    std::u16string decodedText;
    std::vector<DecodedLine> decoded;
    std::string restKeys;

    // Appends the first-level key of the headword or of the whole text, or a
    // beginning of it at least `size` bytes long.
    void AppendFirstLevelKey(std::string_view line, size_t size, FirstLevelTable::Span span,
                             std::string& key) {
        const size_t start = key.size();
        const size_t limit = size == std::string::npos ? size : start + size;
        if (table.Append(line, limit, span, key) != FirstLevelTable::Outcome::Unhandled) {
            return;
        }
        key.resize(start);
        decoder.Decode(line, span == FirstLevelTable::Span::Headword, a);
        AppendIcuKey(firstLevel.get(), a, buffer, key);
    }

    void PrepareLines(std::span<const std::string_view> lines) {
        decodedText.clear();
        decoded.clear();
        restKeys.clear();
        for (std::string_view line : lines) {
            decoded.push_back({line, std::min(line.find('\t'), line.size())});
            AppendRestKey(decoded.back());
        }
    }

    void Decode(DecodedLine& line) {
        if (line.decoded) {
            return;
        }
        decoder.Decode(line.bytes, false, a);
        line.offset = decodedText.size();
        line.headLength = std::min(a.find(u'\t'), a.size());
        line.length = a.size();
        line.decoded = true;
        decodedText.append(a);
    }

    // The beginning of the first-level key of the rest after the TAB (TABs
    // and all, as in the lines of a written-form file), from the table, when
    // the line has a TAB and the table holds the rest's characters up to
    // there.
    void AppendRestKey(DecodedLine& line) {
        if (line.byteTab == line.bytes.size()) {
            return;
        }
        const std::string_view rest = line.bytes.substr(line.byteTab + 1);
        const size_t start = restKeys.size();
        if (table.Append(rest, start + kRestKeyBytes, FirstLevelTable::Span::WholeText, restKeys) ==
            FirstLevelTable::Outcome::Unhandled) {
            restKeys.resize(start);
            return;
        }
        line.restKey = start;
        line.restKeyLength = restKeys.size() - start;
    }

    // The order of two lines with the same headword bytes, decided by the
    // beginnings of their rests' first-level keys; 0 when those do not decide.
    // Both rests begin with the TAB, so the first level of the rests after it
    // decides the collation's comparison of the rests whenever it differs.
    int CompareRestKeys(const DecodedLine& x, const DecodedLine& y) const {
        const size_t common = std::min(x.restKeyLength, y.restKeyLength);
        if (common == 0 || x.Head() != y.Head()) {
            return 0;
        }
        return ByteSign(std::string_view(restKeys).substr(x.restKey, common),
                        std::string_view(restKeys).substr(y.restKey, common));
    }

    int Collate(const DecodedLine& x, size_t xFrom, size_t xTo, const DecodedLine& y, size_t yFrom,
                size_t yTo) const {
        const auto* text = reinterpret_cast<const UChar*>(decodedText.data());
        return CollationSign(
            ucol_strcoll(collator.get(), text + x.offset + xFrom, static_cast<int32_t>(xTo - xFrom),
                         text + y.offset + yFrom, static_cast<int32_t>(yTo - yFrom)));
    }

    // The order of the sort keys of two decoded lines, part by part as the
    // key holds them (AppendSortKey): each part of a key ends with its only
    // zero byte, so a part decides only when all parts before it are equal.
    int CompareDecoded(DecodedLine& x, DecodedLine& y) {
        Decode(x);
        Decode(y);
        if (const int order = Collate(x, 0, x.headLength, y, 0, y.headLength)) {
            return order;
        }
        if (const int order =
                ByteSign(x.bytes.substr(0, x.byteTab), y.bytes.substr(0, y.byteTab))) {
            return order;
        }
        if (const int order = Collate(x, x.headLength, x.length, y, y.headLength, y.length)) {
            return order;
        }
        return ByteSign(x.bytes.substr(x.byteTab), y.bytes.substr(y.byteTab));
    }
};

Collation::Collation() : impl_(std::make_unique<Impl>()) {}
Collation::~Collation() = default;

int Collation::Compare(std::string_view a, std::string_view b) {
    impl_->compareA.clear();
    impl_->compareB.clear();
    AppendSortKey(a, impl_->compareA);
    AppendSortKey(b, impl_->compareB);
    const int order = impl_->compareA.compare(impl_->compareB);
    return (order > 0) - (order < 0);
}

// The key: the ICU key of the headword, the headword's bytes escaped so that
// they hold no zero byte and ended by one, the ICU key of the rest (from the
// TAB on) and the rest's bytes. Each ICU key ends with its only zero byte, so
// every part decides only when all parts before it are equal; equal keys come
// only from identical lines.
void Collation::AppendSortKey(std::string_view line, std::string& key) {
    impl_->decoder.Decode(line, false, impl_->a);
    const std::u16string_view text(impl_->a);
    const size_t tab = std::min(text.find(u'\t'), text.size());
    AppendIcuKey(impl_->collator.get(), text.substr(0, tab), impl_->buffer, key);
    const size_t byteTab = std::min(line.find('\t'), line.size());
    AppendEscaped(line.substr(0, byteTab), key);
    AppendIcuKey(impl_->collator.get(), text.substr(tab), impl_->buffer, key);
    key.append(line.substr(byteTab));
}

void Collation::SortIndexes(std::span<const std::string_view> lines,
                            std::span<std::uint32_t> order) {
    impl_->PrepareLines(lines);
    std::vector<DecodedLine>& decoded = impl_->decoded;
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        int sign = impl_->CompareRestKeys(decoded[a], decoded[b]);
        if (sign == 0) {
            sign = impl_->CompareDecoded(decoded[a], decoded[b]);
        }
        return sign != 0 ? sign < 0 : a < b;
    });
}

std::string Collation::SortKey(std::string_view line) {
    std::string key;
    AppendSortKey(line, key);
    return key;
}

// A first-level key never decides against the order of Compare, which
// begins with the headword's key at every level: its first level is this key.
void Collation::AppendHeadwordKey(std::string_view line, std::string& key) {
    impl_->AppendFirstLevelKey(line, std::string::npos, FirstLevelTable::Span::Headword, key);
}

void Collation::AppendHeadwordKeyPrefix(std::string_view line, size_t size, std::string& key) {
    impl_->AppendFirstLevelKey(line, size, FirstLevelTable::Span::Headword, key);
}

void Collation::AppendTextKeyPrefix(std::string_view text, size_t size, std::string& key) {
    impl_->AppendFirstLevelKey(text, size, FirstLevelTable::Span::WholeText, key);
}

}  // namespace tovix
