// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WordHistory.h"

#include <algorithm>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"
#include "platform/ProgramDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "TovixHistory 1";
// A history file larger than this is no history file.
constexpr std::uintmax_t kFileMax = 1 << 20;

bool IsOneLine(std::string_view text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool Keepable(const std::string& text) {
    return !text.empty() && text.size() <= kHistoryWordMax && IsOneLine(text);
}

}  // namespace

void WordHistory::SetLimit(std::size_t limit) {
    limit_ = limit;
    CutToLimit();
}

void WordHistory::Assign(std::vector<HistoryWord> words) {
    words_ = std::move(words);
    CutToLimit();
}

void WordHistory::Clear() {
    words_.clear();
    cursor_ = 0;
}

void WordHistory::CutToLimit() {
    if (words_.size() > limit_) {
        words_.erase(words_.begin(), words_.end() - static_cast<std::ptrdiff_t>(limit_));
    }
    cursor_ = words_.size();
}

bool WordHistory::Add(const HistoryWord& word) {
    if (limit_ == 0 || !Keepable(word.text) || word.direction == Direction::None) {
        return false;
    }
    const bool alreadyNewest = !words_.empty() && words_.back() == word;
    if (!alreadyNewest) {
        std::erase(words_, word);
        words_.push_back(word);
        CutToLimit();
    }
    cursor_ = words_.size();
    return !alreadyNewest;
}

std::optional<std::string> WordHistory::Back(Direction direction, const std::string& shown) {
    for (std::size_t n = std::min(cursor_, words_.size()); n-- > 0;) {
        const HistoryWord& word = words_[n];
        if (word.direction == direction && word.text != shown) {
            cursor_ = n;
            return word.text;
        }
    }
    return std::nullopt;
}

std::optional<std::string> WordHistory::Forward(Direction direction, const std::string& shown) {
    for (std::size_t n = cursor_ + 1; n < words_.size(); ++n) {
        const HistoryWord& word = words_[n];
        if (word.direction == direction && word.text != shown) {
            cursor_ = n;
            return word.text;
        }
    }
    return std::nullopt;
}

fs::path WordHistoryPath() {
    return ProgramFile(".HIS");
}

std::string WordHistoryText(const std::vector<HistoryWord>& words) {
    std::string text = std::string(kHeader) + "\r\n";
    for (const HistoryWord& word : words) {
        text += word.direction == Direction::Japanese ? "J\t" : "E\t";
        text += word.text + "\r\n";
    }
    return text;
}

std::optional<std::vector<HistoryWord>> ParseWordHistory(std::string_view text) {
    const auto takeLine = [&text]() -> std::optional<std::string_view> {
        const size_t end = text.find("\r\n");
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        return line;
    };
    if (takeLine() != kHeader) {
        return std::nullopt;
    }
    std::vector<HistoryWord> words;
    while (!text.empty()) {
        const std::optional<std::string_view> line = takeLine();
        if (!line || line->size() < 3 || (*line)[1] != '\t' ||
            ((*line)[0] != 'E' && (*line)[0] != 'J')) {
            return std::nullopt;
        }
        HistoryWord word{(*line)[0] == 'J' ? Direction::Japanese : Direction::English,
                         std::string(line->substr(2))};
        if (!Keepable(word.text)) {
            return std::nullopt;
        }
        words.push_back(std::move(word));
    }
    return words;
}

HistoryRead ReadWordHistory(const fs::path& path, std::vector<HistoryWord>& words) {
    words.clear();
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return HistoryRead::Missing;
    }
    if (status.type() != fs::file_type::regular || fs::file_size(path, error) > kFileMax || error) {
        return HistoryRead::Damaged;
    }
    try {
        std::optional<std::vector<HistoryWord>> parsed = ParseWordHistory(ReadWholeFile(path));
        if (!parsed) {
            return HistoryRead::Damaged;
        }
        words = std::move(*parsed);
        return HistoryRead::Read;
    } catch (const IoError&) {
        return HistoryRead::Damaged;
    }
}

void WriteWordHistory(const fs::path& path, const std::vector<HistoryWord>& words) {
    WriteFileAtomically(path, WordHistoryText(words));
}

}  // namespace tovix
