// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/HeadwordIndex.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <functional>
#include <iterator>
#include <limits>
#include <numeric>
#include <utility>

#include "components/LightStrings.h"
#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
#include "dict/SearchKey.h"
#include "dict/WrittenForms.h"
#include "platform/BackgroundThread.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"

namespace tovix {
namespace {

using namespace word_class;

// Written forms with a kanji that share their beginning with a word are
// compared with it; more than this many are not looked at.
constexpr size_t kMaxWrittenForms = 64;

WordClasses ClassOfLabel(std::string_view label) {
    const std::pair<const std::string&, WordClasses> kLabels[] = {
        {TOVIX_CP932("一段"), kIchidan},
        {TOVIX_CP932("五段"), kGodan},
        {TOVIX_CP932("カ変"), kKuru},
        {TOVIX_CP932("する"), kSuru | kSuruNoun},
        {TOVIX_CP932("サ変"), kSuru | kSuruNoun},
        {TOVIX_CP932("形"), kAdjective},
    };
    for (const auto& [name, classes] : kLabels) {
        if (label == name) {
            return classes;
        }
    }
    return 0;
}

// The classes of one 《...》 group: its labels are separated by "・".
WordClasses ClassesOfMark(std::string_view mark) {
    WordClasses classes = 0;
    const std::string& dot = TOVIX_CP932("・");
    for (size_t at = MbFind(dot, mark); at != std::string_view::npos; at = MbFind(dot, mark)) {
        classes |= ClassOfLabel(mark.substr(0, at));
        mark.remove_prefix(at + dot.size());
    }
    return classes | ClassOfLabel(mark);
}

// How many entries are indexed between two looks at the stop token.
constexpr int kEntriesBetweenStopChecks = 4096;

std::size_t KeyHash(std::string_view key) {
    return std::hash<std::string_view>{}(key);
}

// HeadwordKey without a copy for the words that are their own key: those
// without a capital letter (English-Japanese) or a byte that may lead a
// katakana, ヽ or ヾ (Japanese-English); the others are keyed into `buffer`.
std::string_view KeyOf(Direction direction, std::string_view word, std::string& buffer) {
    const bool ownKey =
        direction == Direction::English
            ? std::none_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; })
            : word.find_first_of("\x81\x83") == std::string_view::npos;
    if (ownKey) {
        return word;
    }
    buffer = HeadwordKey(direction, word);
    return buffer;
}

// Sorts the words by hash. Hashes spread evenly, so one pass files the
// words by the top bits of their hash into buckets of a few words each,
// which are then sorted on their own: about linear, where one sort of a
// large part's words took most of its indexing.
void SortByHash(HeadwordIndex::Words& words) {
    constexpr size_t kWordsPerBucket = 4;
    const int bits = std::bit_width(words.size() / kWordsPerBucket);
    if (bits < 8) {
        std::sort(words.begin(), words.end());
        return;
    }
    const int shift = std::numeric_limits<std::size_t>::digits - bits;
    std::vector<std::size_t> starts((std::size_t{1} << bits) + 1);
    for (const auto& word : words) {
        ++starts[(word.first >> shift) + 1];
    }
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    HeadwordIndex::Words sorted(words.size());
    std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
    for (const auto& word : words) {
        sorted[next[word.first >> shift]++] = word;
    }
    for (std::size_t bucket = 0; bucket + 1 < starts.size(); ++bucket) {
        std::sort(sorted.begin() + static_cast<std::ptrdiff_t>(starts[bucket]),
                  sorted.begin() + static_cast<std::ptrdiff_t>(starts[bucket + 1]));
    }
    words = std::move(sorted);
}

// Sorts the words by hash and makes one of the words of each hash, with the
// classes of them all.
void MergeByHash(HeadwordIndex::Words& words) {
    SortByHash(words);
    auto out = words.begin();
    for (auto in = words.begin(); in != words.end(); ++in) {
        if (out != words.begin() && std::prev(out)->first == in->first) {
            std::prev(out)->second |= in->second;
        } else {
            *out++ = *in;
        }
    }
    words.erase(out, words.end());
    words.shrink_to_fit();
}

}  // namespace

WordClasses ClassesOfTranslation(std::string_view translation) {
    const std::string& open = TOVIX_CP932("《");
    const std::string& close = TOVIX_CP932("》");
    if (translation.find(open) == std::string_view::npos) {
        return kAny;  // no mark: most English-Japanese translations
    }
    bool marked = false;
    WordClasses classes = 0;
    for (size_t at = MbFind(open, translation); at != std::string_view::npos;
         at = MbFind(open, translation)) {
        translation.remove_prefix(at + open.size());
        const size_t end = MbFind(close, translation);
        if (end == std::string_view::npos) {
            break;
        }
        marked = true;
        classes |= ClassesOfMark(translation.substr(0, end));
        translation.remove_prefix(end + close.size());
    }
    return marked ? classes : kAny;
}

std::string HeadwordKey(Direction direction, std::string_view word) {
    return direction == Direction::English ? MbLowerCase(word) : KataToHira(word);
}

HeadwordIndex::~HeadwordIndex() {
    for (auto& [number, entry] : parts_) {
        if (entry.stop.stop_possible()) {
            entry.stop.request_stop();
        }
    }
}

HeadwordIndex::Indexed HeadwordIndex::IndexPart(const std::filesystem::path& file, FileStamp stamp,
                                                Direction direction, const TLightStrings* loaded,
                                                const std::stop_token& stop) {
    Indexed indexed{stamp, false, {}};
    TLightStrings read;
    // A part that cannot be read gives no words this search and is read
    // again by the next one: a passing failure does not hide its words.
    try {
        if (loaded == nullptr) {
            read.LoadFromFile(file);
        }
    } catch (const IoError&) {
        return indexed;
    }
    const TLightStrings& lines = loaded != nullptr ? *loaded : read;
    Words& words = indexed.words;
    std::string buffer;
    const auto add = [&](std::string_view word, WordClasses classes) {
        words.emplace_back(KeyHash(KeyOf(direction, word, buffer)), classes);
    };
    // An English-Japanese entry has one key, a Japanese-English one up to two.
    words.reserve(static_cast<size_t>(direction == Direction::English ? (lines.Count() + 1) / 2
                                                                      : lines.Count()));
    for (int n = 0; n < lines.Count(); n += 2) {
        if (n % (2 * kEntriesBetweenStopChecks) == 0 && stop.stop_requested()) {
            return indexed;
        }
        const std::string_view head = lines.View(n);
        if (direction == Direction::English) {
            add(WithoutEndSpaces(head), kAny);  // English forms have no class to agree with
            continue;
        }
        const WordClasses classes =
            ClassesOfTranslation(n + 1 < lines.Count() ? lines.View(n + 1) : std::string_view());
        const ByteColumn open = MbPosEnd("[", head);
        if (!open) {
            add(WithoutEndSpaces(head), classes);
            continue;
        }
        add(WithoutEndSpaces(head.substr(0, open.Offset())), classes);
        std::string_view written = head.substr(open.Offset() + 1);
        add(written.substr(0, MbFind("]", written)), classes);
    }
    if (stop.stop_requested()) {
        return indexed;
    }
    MergeByHash(words);
    indexed.read = true;
    return indexed;
}

void HeadwordIndex::Collect(Part& entry) {
    if (entry.building.valid() &&
        entry.building.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        entry.indexed = entry.building.get();
    }
}

bool HeadwordIndex::Building() const {
    return std::any_of(parts_.begin(), parts_.end(),
                       [](const auto& part) { return part.second.building.valid(); });
}

bool HeadwordIndex::CollectReady() {
    bool any = false;
    for (auto& [number, entry] : parts_) {
        const bool was = entry.building.valid();
        Collect(entry);
        any = any || (was && !entry.building.valid());
    }
    return any;
}

void HeadwordIndex::Prepare(const std::filesystem::path& dicFile, Direction direction, int part) {
    if (background_ && part != 0) {
        PartWords(dicFile, direction, part);
    }
}

// The part as indexed for this search; without the background, indexed now
// when its file is new or replaced. With it, such a part is handed to a
// thread and, until it is collected, has no words.
const HeadwordIndex::Part& HeadwordIndex::PartWords(const std::filesystem::path& dicFile,
                                                    Direction direction, int part) {
    Part& entry = parts_[part];
    Collect(entry);
    if (entry.building.valid()) {
        pending_ = true;
        return entry;
    }
    if (entry.indexed.read && entry.checked == search_) {
        return entry;
    }
    entry.checked = search_;
    const std::filesystem::path file = PartFileName(dicFile, part);
    const FileStamp stamp = StampOf(file);
    if (entry.indexed.read && stamp == entry.indexed.stamp) {
        return entry;
    }
    if (!background_) {
        entry.indexed =
            IndexPart(file, stamp, direction, loaded_ ? loaded_(file, stamp) : nullptr, {});
        return entry;
    }
    entry.indexed = Indexed{stamp, false, {}};
    IndexInBackground(entry, file, stamp, direction);
    pending_ = true;
    return entry;
}

// The job owns its file name and its result: this object may go before it
// runs or ends.
void HeadwordIndex::IndexInBackground(Part& entry, const std::filesystem::path& file,
                                      FileStamp stamp, Direction direction) {
    auto result = std::make_shared<std::promise<Indexed>>();
    entry.building = result->get_future();
    entry.stop = std::stop_source();
    background_->Post(entry.stop, [result, file, stamp, direction](std::stop_token stop) {
        // A failure (memory) reaches the window when the part is collected.
        try {
            result->set_value(IndexPart(file, stamp, direction, nullptr, stop));
        } catch (...) {
            result->set_exception(std::current_exception());
        }
    });
}

std::optional<WordClasses> HeadwordIndex::FindIn(const std::filesystem::path& dicFile,
                                                 Direction direction, int part,
                                                 const std::string& key) {
    if (part == 0) {
        return std::nullopt;
    }
    const Words& words = PartWords(dicFile, direction, part).indexed.words;
    const std::size_t hash = KeyHash(key);
    const auto found =
        std::lower_bound(words.begin(), words.end(), hash,
                         [](const auto& word, std::size_t h) { return word.first < h; });
    return found == words.end() || found->first != hash ? std::nullopt
                                                        : std::optional(found->second);
}

std::optional<WordClasses> HeadwordIndex::Find(const std::filesystem::path& dicFile,
                                               Direction direction,
                                               const WrittenFormIndex* writtenForms,
                                               std::string_view word) {
    const std::string key = HeadwordKey(direction, word);
    if (direction == Direction::English) {
        return FindIn(dicFile, direction, PartNumber(direction, EngSearchKey(word)), key);
    }
    if (!HoldsKanji(word)) {
        return FindIn(dicFile, direction, PartNumber(direction, JpnSearchKey(key)), key);
    }
    if (writtenForms == nullptr) {
        return std::nullopt;
    }
    std::optional<WordClasses> classes;
    for (const WrittenFormEntry& entry : writtenForms->FindEqual(word, kMaxWrittenForms)) {
        if (const auto found = FindIn(dicFile, direction, entry.part, key)) {
            classes = classes.value_or(0) | *found;
        }
    }
    return classes;
}

}  // namespace tovix
