#include "views/Find.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <memory>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/KeyAlphabet.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"

namespace tovix {
namespace {

constexpr size_t kNone = std::string_view::npos;

// Single-byte letters upper-cased, double-byte characters untouched.
void UpperSingleBytes(std::string_view text, std::string& out) {
    out.assign(text);
    for (size_t place = 0; place < out.size();) {
        ChangeCharCase(out, place, true, false);
    }
}

constexpr bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Finds the places where a text may stand in a longer one by its first and
// last bytes, many places at a time. Without regard to case a letter of the
// text also takes the other case, even where the longer text has a trail
// byte that only looks like a letter, so every place found is a candidate
// that the line test decides.
class Candidates {
  public:
    Candidates(std::string_view text, bool foldCase)
        : size_(text.size()),
          firstMask_(foldCase && IsAsciiLetter(text.front()) ? 0x20 : 0),
          lastMask_(foldCase && IsAsciiLetter(text.back()) ? 0x20 : 0),
          first_(static_cast<char>(text.front() | firstMask_)),
          last_(static_cast<char>(text.back() | lastMask_)) {}

    // The first candidate place in [from, limit); kNone when there is none.
    size_t Next(std::string_view hay, size_t from, size_t limit) const {
        if (hay.size() < size_) {
            return kNone;
        }
        // Places that leave room for the text.
        const size_t end = std::min(limit, hay.size() - size_ + 1);
        size_t i = from;
        const char* data = hay.data();
#if defined(__SSE2__)
        const __m128i first = _mm_set1_epi8(first_);
        const __m128i last = _mm_set1_epi8(last_);
        const __m128i firstMask = _mm_set1_epi8(firstMask_);
        const __m128i lastMask = _mm_set1_epi8(lastMask_);
        for (; i + 16 <= end; i += 16) {
            const __m128i a = _mm_or_si128(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), firstMask);
            const __m128i b = _mm_or_si128(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + size_ - 1)), lastMask);
            const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
            if (bits != 0) {
                return i + static_cast<size_t>(std::countr_zero(bits));
            }
        }
#endif
        for (; i < end; ++i) {
            if ((data[i] | firstMask_) == first_ && (data[i + size_ - 1] | lastMask_) == last_) {
                return i;
            }
        }
        return kNone;
    }

  private:
    size_t size_;
    char firstMask_;
    char lastMask_;
    char first_;
    char last_;
};

// The line test: the find text stands in the line at a character boundary;
// without `matchCase` both are upper-cased first (single-byte letters only).
// Lines without a candidate place are passed over without that work.
class LineMatcher {
  public:
    LineMatcher(std::string_view text, bool matchCase)
        : matchCase_(matchCase), candidates_(text.empty() ? " " : text, !matchCase) {
        if (matchCase) {
            text_ = text;
        } else {
            UpperSingleBytes(text, text_);
        }
    }

    bool Holds(std::string_view line) {
        if (text_.empty()) {
            return false;
        }
        if (matchCase_) {
            return MbPos(text_, line) != 0;
        }
        if (NextCandidate(line, 0) == kNone) {
            return false;
        }
        UpperSingleBytes(line, buffer_);
        return MbPos(text_, buffer_) != 0;
    }

    // The first place in [from, limit) where the text's bytes stand, case
    // folded unless the case counts; kNone when there is none. Every line
    // that holds the text has such a place.
    size_t NextCandidate(std::string_view hay, size_t from, size_t limit = kNone) const {
        if (text_.empty()) {
            return kNone;
        }
        for (size_t at = candidates_.Next(hay, from, limit); at != kNone;
             at = candidates_.Next(hay, at + 1, limit)) {
            if (SameBytes(hay.substr(at, text_.size()))) {
                return at;
            }
        }
        return kNone;
    }

  private:
    bool SameBytes(std::string_view bytes) const {
        if (matchCase_) {
            return bytes == text_;
        }
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (AsciiUpper(bytes[i]) != AsciiUpper(text_[i])) {
                return false;
            }
        }
        return true;
    }

    bool matchCase_;
    Candidates candidates_;
    std::string text_;
    std::string buffer_;
};

// The bytes of one part file, read whole into a buffer that the next file
// reuses, so that a find holds one part file besides the view's at a time.
class PartBytes {
  public:
    // Throws IoError when the file cannot be read.
    void Read(const std::filesystem::path& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            throw IoError(path, errno);
        }
        try {
            ReadAll(fd, path);
        } catch (...) {
            ::close(fd);
            throw;
        }
        ::close(fd);
    }

    std::string_view Text() const { return {data_.get(), size_}; }

  private:
    void ReadAll(int fd, const std::filesystem::path& path) {
        struct stat status {};
        if (::fstat(fd, &status) != 0) {
            throw IoError(path, errno);
        }
        size_ = 0;
        Reserve(S_ISREG(status.st_mode) ? static_cast<size_t>(status.st_size) + 1 : kChunk);
        for (;;) {
            if (size_ == capacity_) {
                Reserve(capacity_ * 2);
            }
            const ssize_t got = ::read(fd, data_.get() + size_, capacity_ - size_);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                throw IoError(path, errno);
            }
            if (got == 0) {
                return;
            }
            size_ += static_cast<size_t>(got);
        }
    }

    void Reserve(size_t capacity) {
        if (capacity <= capacity_) {
            return;
        }
        std::unique_ptr<char[]> grown(new char[capacity]);
        std::copy_n(data_.get(), size_, grown.get());
        data_ = std::move(grown);
        capacity_ = capacity;
    }

    static constexpr size_t kChunk = 1 << 16;
    std::unique_ptr<char[]> data_;
    size_t capacity_ = 0;
    size_t size_ = 0;
};

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The lines of a whole file as the line store splits them: a line ends at an
// LF (a CR just before it dropped) or at a CR that no LF follows.
struct LineSpan {
    size_t start;
    size_t end;
};

LineSpan LineAround(std::string_view text, size_t place) {
    size_t start = place;
    while (start > 0 && !IsLineEnd(text[start - 1])) {
        --start;
    }
    size_t end = place;
    while (end < text.size() && !IsLineEnd(text[end])) {
        ++end;
    }
    return {start, end};
}

// The index of the line that begins at `lineStart`.
int LineIndex(std::string_view text, size_t lineStart) {
    int index = 0;
    for (size_t i = 0; i < lineStart; ++i) {
        index +=
            text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
    }
    return index;
}

// The first line (or, upwards, the last) of a whole file that holds the text.
// The file is scanned for candidate places rather than line by line; only
// the lines around them are tested.
std::optional<int> SearchText(std::string_view text, LineMatcher& matcher,
                              FindDirection direction) {
    constexpr size_t kWindow = 1 << 20;
    // Downwards the whole text is one window; upwards windows are taken from
    // the end, and the last matching line of the first window with one wins.
    size_t windowEnd = text.size();
    do {
        const size_t windowStart =
            direction == FindDirection::Down || windowEnd < kWindow ? 0 : windowEnd - kWindow;
        std::optional<LineSpan> found;
        size_t from = windowStart;
        while (true) {
            const size_t at = matcher.NextCandidate(text, from, windowEnd);
            if (at == kNone) {
                break;
            }
            const LineSpan line = LineAround(text, at);
            if (matcher.Holds(text.substr(line.start, line.end - line.start))) {
                found = line;
                if (direction == FindDirection::Down) {
                    break;
                }
            }
            from = std::max(line.end, at + 1);
        }
        if (found) {
            return LineIndex(text, found->start);
        }
        windowEnd = windowStart;
    } while (windowEnd > 0);
    return std::nullopt;
}

struct Hit {
    int part = 0;  // 0: in the view
    int line = 0;
};

std::optional<int> SearchView(const LookupView& view, LineMatcher& matcher, int from,
                              FindDirection direction) {
    const int step = direction == FindDirection::Down ? 1 : -1;
    for (int n = from; n >= 0 && n < view.ViewLineCount(); n += step) {
        if (matcher.Holds(view.ViewLine(n))) {
            return n;
        }
    }
    return std::nullopt;
}

void WarnUnreadable(Reporter& reporter, const std::filesystem::path& file) {
    reporter.Message(MessageKind::Warning,
                     FileMessage(file.string(), "辞書ファイルがオープンできません。"),
                     kButtonYes | kButtonNo);
}

// Searches the part files after (or before) the current part, one at a time.
FindOutcome SearchParts(const SearchState& search, Reporter& reporter, LineMatcher& matcher,
                        FindDirection direction, Hit& hit) {
    const int last = AlphabetSize(search.direction);
    const int step = direction == FindDirection::Down ? 1 : -1;
    PartBytes bytes;
    for (int part = search.currentPartCopy + step; part >= 1 && part <= last; part += step) {
        const std::filesystem::path file = PartFileName(search.dicFile, part);
        try {
            bytes.Read(file);
        } catch (const IoError&) {
            WarnUnreadable(reporter, file);
            return FindOutcome::ReadFailed;
        }
        if (std::optional<int> line = SearchText(bytes.Text(), matcher, direction)) {
            hit = {part, *line};
            return FindOutcome::Found;
        }
    }
    return FindOutcome::NotFound;
}

// Brings the entry of the hit to the top: its headword line first.
FindOutcome Conclude(SearchState& search, FindState& find, LookupView& view, Reporter& reporter,
                     const Hit& hit) {
    if (hit.part != 0) {
        const std::filesystem::path file = PartFileName(search.dicFile, hit.part);
        try {
            view.LoadFromFile(file);
        } catch (const IoError&) {
            search.currentPart = search.currentPartCopy = 0;
            WarnUnreadable(reporter, file);
            return FindOutcome::ReadFailed;
        }
        search.currentPart = search.currentPartCopy = hit.part;
    }
    find.foundLine = hit.line;
    view.SetTopLine(hit.line % 2 == 1 ? hit.line - 1 : hit.line);
    return FindOutcome::Found;
}

FindOutcome Search(SearchState& search, FindState& find, LookupView& view, Reporter& reporter,
                   int from, FindDirection direction) {
    if (search.direction == Direction::None || search.dicFile.empty()) {
        return FindOutcome::NotFound;
    }
    LineMatcher matcher(find.findText, find.matchCase);
    if (std::optional<int> line = SearchView(view, matcher, from, direction)) {
        return Conclude(search, find, view, reporter, {0, *line});
    }
    Hit hit;
    FindOutcome outcome = SearchParts(search, reporter, matcher, direction, hit);
    if (outcome != FindOutcome::Found) {
        return outcome;
    }
    return Conclude(search, find, view, reporter, hit);
}

}  // namespace

std::string FindNotice(FindOutcome outcome) {
    switch (outcome) {
        case FindOutcome::NotFound:
            return NoticeText("検索文字はありませんでした。");
        case FindOutcome::NoFindText:
            return NoticeText("検索文字が設定されていません。");
        case FindOutcome::Found:
        case FindOutcome::Cancelled:
        case FindOutcome::ReadFailed:
            break;
    }
    return {};
}

FindOutcome RunFind(SearchState& search, FindState& find, LookupView& view, Reporter& reporter) {
    if (find.findText.empty()) {
        return FindOutcome::Cancelled;
    }
    find.findRun = true;
    // An empty view (a part without entries) is searched like any other: the
    // preceding part files follow, upwards as downwards.
    const FindOutcome outcome =
        Search(search, find, view, reporter, view.TopLine(), find.direction);
    find.previousFindText = find.findText;
    return outcome;
}

FindOutcome ReFindNext(SearchState& search, FindState& find, LookupView& view, Reporter& reporter) {
    if (find.findText.empty()) {
        return FindOutcome::NoFindText;
    }
    return Search(search, find, view, reporter, view.TopLine() + 2, FindDirection::Down);
}

FindOutcome ReFindPrior(SearchState& search, FindState& find, LookupView& view,
                        Reporter& reporter) {
    if (find.findText.empty()) {
        return FindOutcome::NoFindText;
    }
    return Search(search, find, view, reporter, view.TopLine() - 1, FindDirection::Up);
}

bool LineHolds(std::string_view line, std::string_view text, bool matchCase) {
    LineMatcher matcher(text, matchCase);
    return matcher.Holds(line);
}

}  // namespace tovix
