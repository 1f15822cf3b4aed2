// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DictIndexes.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "components/LineScanner.h"
#include "platform/PosixIo.h"
#include "tools/DictData.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

// Calls use(line) for every line of `text`, as the line store splits lines
// (LF, CR LF or CR; the line end dropped).
template <class Use>
void ForEachTextLine(std::string_view text, Use use) {
    detail::ForEachLine(text.data(), text.size(), [&](std::size_t start, std::size_t end) {
        use(text.substr(start, end - start));
    });
}

namespace fs = std::filesystem;

// dictd's base64 number; nothing for an empty text, another character, or a
// number beyond 2^60 (no file is that large).
std::optional<std::uint64_t> Base64Number(std::string_view digits) {
    static constexpr std::string_view kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (digits.empty() || digits.size() > 10) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : digits) {
        const std::size_t digit = kDigits.find(c);
        if (digit == std::string_view::npos) {
            return std::nullopt;
        }
        value = value * 64 + digit;
    }
    return value;
}

void SortByOffset(std::vector<IndexedEntry>& entries) {
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const IndexedEntry& a, const IndexedEntry& b) { return a.offset < b.offset; });
}

std::uint64_t BigEndian(std::string_view bytes, std::size_t at, std::size_t length) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < length; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::optional<std::uint64_t> Decimal(std::string_view text) {
    if (text.empty() || text.size() > 19) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

// Walks records "WORD NUL" + `tail` bytes; calls `record(word, tailBytes)`.
template <class Record>
std::uint64_t ForEachRecord(const fs::path& file, std::string_view bytes, std::size_t tail,
                            Record record) {
    std::uint64_t count = 0;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t nul = bytes.find('\0', at);
        if (nul == std::string_view::npos || bytes.size() - nul - 1 < tail) {
            throw DictFormatError(file, tool_text::kIndexCutShort);
        }
        record(bytes.substr(at, nul - at), bytes.substr(nul + 1, tail));
        at = nul + 1 + tail;
        ++count;
    }
    return count;
}

}  // namespace

fs::path Beside(const fs::path& index, const char* extension) {
    fs::path path = index;
    return path.replace_extension(extension);
}

fs::path DataFileOf(const fs::path& index) {
    std::error_code error;
    for (const char* extension : {".dict.dz", ".dict"}) {
        const fs::path data = Beside(index, extension);
        if (fs::exists(data, error)) {
            return data;
        }
    }
    throw DictFormatError(index, tool_text::kNoDataFile);
}

std::vector<IndexedEntry> ReadDictdIndex(const fs::path& index) {
    const std::string text = ReadWholeFile(index);
    std::vector<IndexedEntry> entries;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::size_t> found;
    ForEachTextLine(text, [&](std::string_view line) {
        if (line.empty()) {
            return;
        }
        const std::size_t tab2 = line.rfind('\t');
        const std::size_t tab1 = tab2 == 0 || tab2 == std::string_view::npos
                                     ? std::string_view::npos
                                     : line.rfind('\t', tab2 - 1);
        const auto offset = tab1 == std::string_view::npos
                                ? std::nullopt
                                : Base64Number(line.substr(tab1 + 1, tab2 - tab1 - 1));
        const auto size = offset ? Base64Number(line.substr(tab2 + 1)) : std::nullopt;
        if (!size) {
            throw DictFormatError(index, tool_text::kBadIndexLine);
        }
        const auto [at, added] = found.try_emplace({*offset, *size}, entries.size());
        if (added) {
            entries.push_back({*offset, *size, {}});
        }
        if (tab1 > 0) {
            entries[at->second].words.emplace_back(line.substr(0, tab1));
        }
    });
    SortByOffset(entries);
    return entries;
}

StarDictInfo ReadStarDictInfo(const fs::path& ifo) {
    const std::string text = ReadWholeFile(ifo);
    std::string_view rest = text;
    if (rest.starts_with("\xEF\xBB\xBF")) {
        rest.remove_prefix(3);
    }
    if (!rest.starts_with("StarDict's dict ifo file")) {
        throw DictFormatError(ifo, tool_text::kNotStarDict);
    }
    StarDictInfo info;
    std::map<std::string, std::string, std::less<>> values;
    ForEachTextLine(rest, [&](std::string_view line) {
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos) {
            values[std::string(line.substr(0, equals))] = line.substr(equals + 1);
        }
    });
    const auto number = [&](const char* key, bool required) -> std::uint64_t {
        const auto found = values.find(key);
        if (found == values.end() && !required) {
            return 0;
        }
        const auto value = found == values.end() ? std::nullopt : Decimal(found->second);
        if (!value) {
            throw DictFormatError(ifo, tool_text::kNotStarDict);
        }
        return *value;
    };
    info.wordcount = number("wordcount", true);
    info.idxfilesize = number("idxfilesize", true);
    info.synwordcount = number("synwordcount", false);
    const std::uint64_t bits =
        values.contains("idxoffsetbits") ? number("idxoffsetbits", true) : 32;
    if (bits != 32 && bits != 64) {
        throw DictFormatError(ifo, tool_text::kNotStarDict);
    }
    info.offsets64 = bits == 64;
    info.bookname = values["bookname"];
    info.sametypesequence = values["sametypesequence"];
    return info;
}

namespace {

// The index of `ifo` and its bytes: "NAME.idx.gz" inflated where it is
// there (StarDict reads it first too), else "NAME.idx"; exactly idxfilesize
// bytes, else DictFormatError. The inflated bytes are read in pieces, so a
// stream that ends early or runs on is refused without taking the memory the
// .ifo claims.
std::pair<fs::path, std::string> StarDictIndexBytes(const fs::path& ifo, const StarDictInfo& info) {
    const fs::path packed = Beside(ifo, ".idx.gz");
    std::error_code error;
    if (!fs::exists(packed, error)) {
        const fs::path idx = Beside(ifo, ".idx");
        std::string bytes = ReadWholeFile(idx);
        if (bytes.size() != info.idxfilesize) {
            throw DictFormatError(idx, tool_text::kIndexSizeWrong);
        }
        return {idx, std::move(bytes)};
    }
    DictData data(packed);
    if (!data.Compressed()) {
        throw DictFormatError(packed, tool_text::kBrokenGzip);
    }
    constexpr std::uint64_t kPiece = 1 << 20;
    std::string bytes;
    try {
        while (bytes.size() < info.idxfilesize) {
            bytes += data.Read(bytes.size(), std::min(kPiece, info.idxfilesize - bytes.size()));
        }
        data.Read(bytes.size(), 1);  // one byte more than stated
    } catch (const DictFormatError& e) {
        if (e.what() != tool_text::kOutsideData) {
            throw;
        }
        if (bytes.size() < info.idxfilesize) {
            throw DictFormatError(packed, tool_text::kIndexSizeWrong);
        }
        return {packed, std::move(bytes)};
    }
    throw DictFormatError(packed, tool_text::kIndexSizeWrong);
}

}  // namespace

std::vector<IndexedEntry> ReadStarDictIndex(const fs::path& ifo, const StarDictInfo& info) {
    const auto [idx, bytes] = StarDictIndexBytes(ifo, info);
    const std::size_t offsetBytes = info.offsets64 ? 8 : 4;
    std::vector<IndexedEntry> entries;
    ForEachRecord(idx, bytes, offsetBytes + 4, [&](std::string_view word, std::string_view tail) {
        entries.push_back({BigEndian(tail, 0, offsetBytes),
                           BigEndian(tail, offsetBytes, 4),
                           {std::string(word)}});
    });
    if (entries.size() != info.wordcount) {
        throw DictFormatError(idx, tool_text::kWordCountWrong);
    }
    const fs::path syn = Beside(ifo, ".syn");
    std::error_code error;
    if (info.synwordcount > 0 || fs::exists(syn, error)) {
        const std::string synonyms = ReadWholeFile(syn);
        const std::uint64_t count =
            ForEachRecord(syn, synonyms, 4, [&](std::string_view word, std::string_view tail) {
                const std::uint64_t target = BigEndian(tail, 0, 4);
                if (target >= entries.size()) {
                    throw DictFormatError(syn, tool_text::kSynonymOutside);
                }
                entries[target].words.emplace_back(word);
            });
        if (count != info.synwordcount) {
            throw DictFormatError(syn, tool_text::kWordCountWrong);
        }
    }
    SortByOffset(entries);
    return entries;
}

}  // namespace tovix
