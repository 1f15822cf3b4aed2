// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/WrittenForms.h"

#include <algorithm>

#include <charconv>
#include <cstdint>

#include "components/MbString.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"

namespace tovix {
namespace {

// The first `chars` characters of a text (all of it when it has fewer).
std::string_view CharPrefix(std::string_view text, size_t chars) {
    size_t place = 0;
    for (size_t n = 0; n < chars && place < text.size(); ++n) {
        NextChar(text, place);
    }
    return text.substr(0, place);
}

size_t CharCount(std::string_view text) {
    size_t count = 0;
    for (size_t place = 0; place < text.size(); NextChar(text, place)) {
        ++count;
    }
    return count;
}

// A part number of the Japanese-English alphabet, 1 .. 45, in decimal.
std::optional<int> PartNumberText(std::string_view text) {
    int part = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, part);
    if (text.empty() || text[0] == '-' || error != std::errc() || stop != end || part < 1 ||
        part > AlphabetSize(Direction::Japanese)) {
        return std::nullopt;
    }
    return part;
}

WrittenFormEntry ParseLine(std::string_view line) {
    const size_t first = line.find('\t');
    const size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
    if (second == std::string_view::npos || first == 0 || second == first + 1) {
        throw WrittenFormsDamaged();
    }
    const std::optional<int> part = PartNumberText(line.substr(second + 1));
    if (!part) {
        throw WrittenFormsDamaged();
    }
    return {{line.substr(first + 1, second - first - 1), line.substr(0, first)}, *part};
}

// The offset of the first character `c` (a single byte), never a trail byte
// of a double-byte character that looks like it; npos when there is none.
// The build runs it on every headword: a plain walk over the lead bytes.
size_t FindSingleByte(std::string_view text, char c) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c) {
            return i;
        }
        if (IsLeadByte(text[i]) && i + 1 < text.size() && text[i + 1] != '\0') {
            ++i;
        }
    }
    return std::string_view::npos;
}

// The first `chars` (1 or 2) characters of a text, katakana as hiragana, as
// one number: what the windows of an index are found by. A character counts
// by its code (one byte's below any double-byte character's).
std::uint64_t WindowKey(std::string_view text, size_t chars) {
    std::uint64_t key = chars;
    size_t place = 0;
    for (size_t n = 0; n < chars && place < text.size(); ++n) {
        const size_t start = place;
        const std::string_view ch = KataToHiraChar(text.substr(start, NextChar(text, place)));
        std::uint64_t code = 0;
        for (const char byte : ch) {
            code = code << 8 | static_cast<unsigned char>(byte);
        }
        key = key << 16 | code;
    }
    return key;
}

}  // namespace

// The build runs this on every headword, so the written form is walked once,
// up to its "]", looking for a kanji and a TAB byte on the way (a TAB may be
// the second byte of a character there, and still counts).
std::optional<HeadwordForms> KanjiHeadwordForms(std::string_view headword) {
    const size_t open = FindSingleByte(headword, '[');
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view reading = headword.substr(0, open);
    reading = reading.substr(0, reading.find_last_not_of(' ') + 1);
    if (reading.empty()) {
        return std::nullopt;
    }
    bool kanji = false;
    size_t end = open + 1;
    for (; end < headword.size() && headword[end] != ']'; ++end) {
        if (headword[end] == '\t') {
            return std::nullopt;
        }
        if (IsLeadByte(headword[end]) && end + 1 < headword.size() && headword[end + 1] != '\0') {
            if (headword[end + 1] == '\t') {
                return std::nullopt;
            }
            kanji = kanji || IsKanji(headword.substr(end, 2));
            ++end;
        }
    }
    if (!kanji) {
        return std::nullopt;
    }
    return HeadwordForms{reading, headword.substr(open + 1, end - open - 1)};
}

std::string WrittenFormLine(const HeadwordForms& forms, int part) {
    std::string line;
    AppendWrittenFormLine(forms, part, line);
    return line;
}

void AppendWrittenFormLine(const HeadwordForms& forms, int part, std::string& out) {
    out.append(forms.written).append("\t").append(forms.reading).append("\t");
    out.append(std::to_string(part));
}

bool IsHeadwordOf(std::string_view line, const HeadwordForms& forms) {
    if (!line.starts_with(forms.reading)) {
        return false;
    }
    line.remove_prefix(forms.reading.size());
    line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
    return line.size() == forms.written.size() + 2 && line.front() == '[' && line.back() == ']' &&
           line.substr(1, forms.written.size()) == forms.written;
}

WrittenFormIndex WrittenFormIndex::LoadFromFile(const std::filesystem::path& path) {
    WrittenFormIndex index;
    index.lines_.LoadFromFile(path);
    index.entries_.reserve(static_cast<size_t>(index.lines_.Count()));
    std::array<size_t, 2> current{SIZE_MAX, SIZE_MAX};
    for (int i = 0; i < index.lines_.Count(); ++i) {
        index.entries_.push_back(ParseLine(index.lines_.View(i)));
        index.AddToWindows(index.entries_.size() - 1, current);
    }
    index.MergeWindows();
    return index;
}

// `current` holds, for one and for two characters, the run the entry before
// went to.
void WrittenFormIndex::AddToWindows(size_t index, std::array<size_t, 2>& current) {
    const std::string_view written = entries_[index].forms.written;
    const auto at = static_cast<std::uint32_t>(index);
    for (size_t chars = 1; chars <= 2; ++chars) {
        const std::uint64_t key = WindowKey(written, chars);
        size_t& run = current[chars - 1];
        if (run == SIZE_MAX || windows_[run].key != key) {
            run = windows_.size();
            windows_.push_back({key, at, at});
        }
        windows_[run].last = at;
    }
}

void WrittenFormIndex::MergeWindows() {
    std::sort(windows_.begin(), windows_.end(), [](const Window& a, const Window& b) {
        return a.key != b.key ? a.key < b.key : a.first < b.first;
    });
    size_t kept = 0;
    for (size_t i = 0; i < windows_.size(); ++i) {
        if (kept > 0 && windows_[kept - 1].key == windows_[i].key) {
            windows_[kept - 1].last = std::max(windows_[kept - 1].last, windows_[i].last);
        } else {
            windows_[kept++] = windows_[i];
        }
    }
    windows_.resize(kept);
    windows_.shrink_to_fit();
}

std::optional<WrittenFormEntry> WrittenFormIndex::Find(std::string_view text) const {
    std::vector<WrittenFormEntry> found = FindAll(text, 1);
    return found.empty() ? std::nullopt : std::optional(found.front());
}

std::span<const WrittenFormEntry> WrittenFormIndex::WindowOf(std::string_view text) const {
    const std::uint64_t key = WindowKey(text, std::min<size_t>(CharCount(text), 2));
    const auto window =
        std::lower_bound(windows_.begin(), windows_.end(), key,
                         [](const Window& w, std::uint64_t k) { return w.key < k; });
    if (text.empty() || window == windows_.end() || window->key != key) {
        return {};
    }
    return std::span(entries_).subspan(window->first, window->last - window->first + 1);
}

std::vector<WrittenFormEntry> WrittenFormIndex::FindAll(std::string_view text, size_t max) const {
    const size_t chars = CharCount(text);
    const std::string hiragana = KataToHira(text);
    std::vector<WrittenFormEntry> found;
    for (const WrittenFormEntry& entry : WindowOf(text)) {
        if (found.size() == max) {
            break;
        }
        const std::string_view prefix = CharPrefix(entry.forms.written, chars);
        if (prefix == text || (prefix.size() == text.size() && KataToHira(prefix) == hiragana)) {
            found.push_back(entry);
        }
    }
    return found;
}

std::vector<WrittenFormEntry> WrittenFormIndex::FindEqual(std::string_view text, size_t max) const {
    const std::string hiragana = KataToHira(text);
    std::vector<WrittenFormEntry> found;
    for (const WrittenFormEntry& entry : WindowOf(text)) {
        if (found.size() == max) {
            break;
        }
        const std::string_view written = entry.forms.written;
        if (written.size() == text.size() && (written == text || KataToHira(written) == hiragana)) {
            found.push_back(entry);
        }
    }
    return found;
}

WrittenFormIndex* WrittenFormFile::Get(const std::filesystem::path& file) {
    const FileStamp stamp = StampOf(file);
    if (status_ == Status::NotRead || stamp != stamp_) {
        stamp_ = stamp;
        index_.reset();
        try {
            index_ = WrittenFormIndex::LoadFromFile(file);
            status_ = Status::Read;
        } catch (const IoError& error) {
            status_ = Status::Missing;
            // A file that is there but failed to read is read again next
            // time: a passing failure does not hide the written forms.
            if (error.error() != ENOENT) {
                stamp_ = FileStamp{};
            }
        } catch (const WrittenFormsDamaged&) {
            status_ = Status::Missing;
        }
    }
    return status_ == Status::Read ? &*index_ : nullptr;
}

bool WrittenFormFile::TellMissing() {
    const bool tell = status_ == Status::Missing && !told_;
    told_ = told_ || tell;
    return tell;
}

}  // namespace tovix
