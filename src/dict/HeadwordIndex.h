// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headwords of a dictionary file set by their exact text, with the word
// classes their entries are marked with: what tells a base form guessed from
// an inflected one (Deinflect.h, EnglishInflection.h) from a mere guess. Each
// part file is read on its first use and read again once it has been replaced
// (by an edit of this copy or another, or a remake).
//
// A part of a very large set takes a noticeable time to index. Given a
// background thread (the viewer), a part is indexed there instead, one part
// after the other: Find answers for a part still being indexed as for a word
// that is no headword and notes that its answer is pending (TakePending); the
// user interface then collects the finished part (CollectReady) and asks
// again. The jobs share nothing with the caller but their results; when the
// object goes (another dictionary is opened) it asks its jobs to stop and
// waits for none of them.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dict/Direction.h"
#include "dict/FileStamp.h"
#include "dict/WordClass.h"

namespace tovix {

class BackgroundThread;
class TLightStrings;
class WrittenFormIndex;

// The classes the part-of-speech marks of a translation give ("《一段・他》to
// eat" gives ichidan; "《名・する》" a noun that takes する); word_class::kAny
// for a translation without marks, 0 for one whose marks name no class that
// inflects (《名》).
WordClasses ClassesOfTranslation(std::string_view translation);

class HeadwordIndex {
  public:
    HeadwordIndex() = default;
    ~HeadwordIndex();
    HeadwordIndex(const HeadwordIndex&) = delete;
    HeadwordIndex& operator=(const HeadwordIndex&) = delete;

    // Starts a new search on the set whose table file is as `table` says.
    // The set is replaced as a whole, its table with it, so the part files
    // are checked for a replacement only when the table has changed (once,
    // not once per word): a keystroke costs no look at the disk.
    void NewSearch(const FileStamp& table) {
        if (!table_ || *table_ != table) {
            table_ = table;
            ++search_;
        }
    }

    // The classes of the entries whose headword is `word` (CP932): for
    // Japanese-English the reading or the written form, katakana as hiragana
    // (a written form with a kanji found through the set's written-form
    // file, when it has one); for English-Japanese the headword, case aside,
    // with word_class::kAny (its marks are not read: the English rules ask no
    // class). Nothing when no entry has that headword or its part cannot be
    // read.
    std::optional<WordClasses> Find(const std::filesystem::path& dicFile, Direction direction,
                                    const WrittenFormIndex* writtenForms, std::string_view word);

    // Parts are indexed on `thread` (see above); none (the default): at once.
    void SetBackground(std::shared_ptr<BackgroundThread> thread) {
        background_ = std::move(thread);
    }
    const std::shared_ptr<BackgroundThread>& Background() const { return background_; }
    // Where the lines of a part file already in memory are found, so that
    // indexing it in the foreground reads nothing: the lines of the file
    // when they were read from it as it is stamped now, or none (the
    // command line's view keeps every part it has loaded).
    using LoadedLines =
        std::function<const TLightStrings*(const std::filesystem::path&, const FileStamp&)>;
    void SetLoadedLines(LoadedLines loaded) { loaded_ = std::move(loaded); }
    // Starts indexing part `part` when it is not indexed yet, as Find would:
    // for the part the view has just loaded, before the first lookup needs it.
    void Prepare(const std::filesystem::path& dicFile, Direction direction, int part);
    // Whether a Find since the last call answered without a part that was
    // still being indexed; clears the note.
    bool TakePending() { return std::exchange(pending_, false); }
    // Whether a part is being indexed.
    bool Building() const;
    // Takes in the parts whose indexing has finished; true when any was.
    bool CollectReady();

    // Each headword key's hash with the classes of its entries, sorted by the
    // hash: a part of millions of lines is indexed without a string a line.
    // Two keys sharing a 64-bit hash are not told apart, which at a few
    // million keys a part does not happen in practice.
    using Words = std::vector<std::pair<std::size_t, WordClasses>>;

  private:
    // A part file as indexed: `read` false when it could not be read.
    struct Indexed {
        FileStamp stamp;
        bool read = false;
        Words words;
    };
    struct Part {
        std::uint64_t checked = 0;  // the search in which the stamp was last compared
        Indexed indexed;
        // The indexing on the background thread, while it is queued or runs
        // and until it is collected, and how to stop it.
        std::future<Indexed> building;
        std::stop_source stop{std::nostopstate};
    };

    // Indexes the lines given, or else those read from the file; a stop
    // requested on the way ends it early, with `read` false.
    static Indexed IndexPart(const std::filesystem::path& file, FileStamp stamp,
                             Direction direction, const TLightStrings* loaded,
                             const std::stop_token& stop);
    void IndexInBackground(Part& entry, const std::filesystem::path& file, FileStamp stamp,
                           Direction direction);
    void Collect(Part& entry);
    const Part& PartWords(const std::filesystem::path& dicFile, Direction direction, int part);
    std::optional<WordClasses> FindIn(const std::filesystem::path& dicFile, Direction direction,
                                      int part, const std::string& key);

    std::map<int, Part> parts_;
    std::uint64_t search_ = 1;
    std::optional<FileStamp> table_;
    std::shared_ptr<BackgroundThread> background_;
    bool pending_ = false;
    LoadedLines loaded_;
};

// The key a word is filed under: katakana as hiragana (Japanese-English), or
// lower-cased (English-Japanese).
std::string HeadwordKey(Direction direction, std::string_view word);

}  // namespace tovix
