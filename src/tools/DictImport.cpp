// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DictImport.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "components/MbString.h"
#include "dict/KanaText.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "tools/DictData.h"
#include "tools/DictIndexes.h"
#include "tools/LineWriter.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// --- Text -------------------------------------------------------------------

std::size_t Utf8Length(char lead) {
    const auto c = static_cast<unsigned char>(lead);
    return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// The first character of a UTF-8 text that has no CP932 form.
std::string FirstUnconvertible(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = std::min(Utf8Length(text[i]), text.size() - i);
        if (!Utf8ToCp932Exact(text.substr(i, n))) {
            return std::string(text.substr(i, n));
        }
        i += n;
    }
    return {};
}

std::string Utf8Of(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// The character an entity ("amp", "#233", "#xE9") stands for; nothing for
// one not known.
std::optional<std::string> Entity(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kNamed{
        {{"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}}};
    for (const auto& [entity, text] : kNamed) {
        if (name == entity) {
            return std::string(text);
        }
    }
    if (name.size() < 2 || name[0] != '#' || name.size() > 9) {
        return std::nullopt;
    }
    const bool hex = name[1] == 'x' || name[1] == 'X';
    char32_t value = 0;
    const std::string_view digits = name.substr(hex ? 2 : 1);
    for (const char c : digits) {
        const int digit = c >= '0' && c <= '9'          ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    }
    if (digits.empty() || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return Utf8Of(value);
}

// A tag that ends a line or a block of text where it stands.
bool BreaksText(std::string_view tag) {
    static constexpr std::string_view kBreaking[] = {
        "br", "p", "div", "li", "tr", "td", "dd", "dt", "h1", "h2", "h3", "h4", "blockquote"};
    std::string name;
    for (const char c : tag.substr(tag.starts_with('/') ? 1 : 0)) {
        if (c == ' ' || c == '/' || c == '>' || c == '\t' || c == '\n') {
            break;
        }
        name += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return std::find(std::begin(kBreaking), std::end(kBreaking), name) != std::end(kBreaking);
}

// Markup as plain text: tags removed (a breaking tag becomes a line end),
// entities decoded; in XDXF the key <k>...</k>, which repeats the headword,
// goes with its content.
std::string PlainText(std::string_view markup, bool xdxf) {
    std::string out;
    for (std::size_t i = 0; i < markup.size();) {
        const char c = markup[i];
        if (c == '<') {
            const std::size_t close = markup.find('>', i);
            if (close == std::string_view::npos) {
                break;
            }
            const std::string_view tag = markup.substr(i + 1, close - i - 1);
            i = close + 1;
            if (xdxf && tag == "k") {
                const std::size_t end = markup.find("</k>", i);
                i = end == std::string_view::npos ? markup.size() : end + 4;
            } else if (BreaksText(tag)) {
                out += '\n';
            }
            continue;
        }
        if (c == '&') {
            const std::size_t semicolon = markup.find(';', i);
            const auto text = semicolon == std::string_view::npos || semicolon - i > 10
                                  ? std::nullopt
                                  : Entity(markup.substr(i + 1, semicolon - i - 1));
            if (text) {
                out += *text;
                i = semicolon + 1;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The lines of a text, each without the blanks around it, joined by one
// blank; TABs and other control characters inside become blanks.
std::string OneLine(std::string_view text) {
    std::string out;
    bool gap = false;
    for (const char c : text) {
        if (IsBlank(c) || c == '\n' || (static_cast<unsigned char>(c) < 0x20)) {
            gap = !out.empty();
            continue;
        }
        if (gap) {
            out += ' ';
            gap = false;
        }
        out += c;
    }
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

// --- Entry texts -----------------------------------------------------------

// A dictd text without the headword it begins with: the repeated word at the
// start of its first line (E-J), or the first line when it names one of the
// entry's words (J-E: FreeDict lists the forms and their pronunciations
// there).
std::string_view DictdBody(std::string_view text, const std::vector<std::string>& words,
                           Direction direction) {
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\n')) {
        text.remove_prefix(1);
    }
    const std::size_t end = text.find('\n');
    const std::string_view first = text.substr(0, end);
    for (const std::string& word : words) {
        if (word.empty()) {
            continue;
        }
        if (direction == Direction::Japanese && first.find(word) != std::string_view::npos) {
            return end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        }
        if (first.size() >= word.size() && EqualsIgnoringCase(first.substr(0, word.size()), word)) {
            return text.substr(word.size());
        }
    }
    return text;
}

// The text fields of a StarDict entry, each on its own line.
class StarDictFields {
  public:
    StarDictFields(std::string_view types, DictImportCounts& counts)
        : types_(types), counts_(counts) {}

    std::string Text(std::string_view data) {
        std::string out;
        if (types_.empty()) {
            while (!data.empty()) {
                const char type = data.front();
                data.remove_prefix(1);
                Add(type, Take(type, data, false), out);
            }
            return out;
        }
        for (std::size_t field = 0; field < types_.size(); ++field) {
            Add(types_[field], Take(types_[field], data, field + 1 == types_.size()), out);
        }
        return out;
    }

  private:
    // A field's bytes: a lower-case type is text up to NUL (the last field of
    // a sametypesequence entry: to its end), an upper-case one has a 4-byte
    // size first (the last: runs to the end).
    static std::string_view Take(char type, std::string_view& data, bool last) {
        std::size_t length = data.size();
        std::size_t skip = 0;
        if (!last && type >= 'a' && type <= 'z') {
            length = std::min(data.find('\0'), data.size());
            skip = length < data.size() ? 1 : 0;
        } else if (!last) {
            if (data.size() < 4) {
                data = {};
                return {};
            }
            std::uint64_t size = 0;
            for (int i = 0; i < 4; ++i) {
                size = size << 8 | static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
            }
            data.remove_prefix(4);
            length = static_cast<std::size_t>(std::min<std::uint64_t>(size, data.size()));
        }
        const std::string_view body = data.substr(0, length);
        data.remove_prefix(length + skip);
        return body;
    }

    void Add(char type, std::string_view body, std::string& out) {
        std::string text;
        switch (type) {
            case 'm':
                text = body;
                break;
            case 't':
                if (!Utf8ToCp932Exact(body)) {
                    return;  // a pronunciation in IPA: nothing of it reads in CP932
                }
                text = "[" + std::string(body) + "]";
                break;
            case 'g':
            case 'h':
            case 'x':
                text = PlainText(body, type == 'x');
                break;
            default:
                ++counts_.fieldsSkipped;
                return;
        }
        out += text;
        out += '\n';
    }

    std::string_view types_;
    DictImportCounts& counts_;
};

// --- Writing ----------------------------------------------------------------

bool IsInfoWord(std::string_view word) {
    return word.starts_with("00database") || word.starts_with("00-database");
}

void Example(std::vector<std::string>& examples, std::string text) {
    if (examples.size() < DictImportCounts::kExamples) {
        examples.push_back(std::move(text));
    }
}

// CP932 hiragana, katakana and the long vowel mark.
bool IsHiraganaChar(std::string_view c) {
    return c == "\x81\x5B" ||
           (c.size() == 2 && c[0] == '\x82' && static_cast<unsigned char>(c[1]) >= 0x9F &&
            static_cast<unsigned char>(c[1]) <= 0xF1);
}
bool IsKatakanaChar(std::string_view c) {
    return c == "\x81\x5B" ||
           (c.size() == 2 && c[0] == '\x83' && static_cast<unsigned char>(c[1]) >= 0x40 &&
            static_cast<unsigned char>(c[1]) <= 0x96);
}
bool IsKanaChar(std::string_view c) {
    return IsHiraganaChar(c) || IsKatakanaChar(c);
}

template <class Test>
bool AllChars(std::string_view cp932, Test test) {
    for (std::size_t i = 0; i < cp932.size();) {
        const std::size_t n = static_cast<unsigned char>(cp932[i]) >= 0x81 &&
                                      (static_cast<unsigned char>(cp932[i]) <= 0x9F ||
                                       static_cast<unsigned char>(cp932[i]) >= 0xE0)
                                  ? 2
                                  : 1;
        if (!test(cp932.substr(i, n))) {
            return false;
        }
        i += n;
    }
    return !cp932.empty();
}

class ExmWriter {
  public:
    ExmWriter(LineWriter& out, Direction direction, DictImportCounts& counts)
        : out_(out), direction_(direction), counts_(counts) {}

    void Add(const std::vector<std::string>& words, std::string_view text) {
        std::vector<std::string> heads;
        for (const std::string& word : words) {
            if (IsInfoWord(word)) {
                ++counts_.infoEntries;
            } else if (auto head = Headword(word)) {
                heads.push_back(std::move(*head));
            }
        }
        if (heads.empty()) {
            return;
        }
        const std::string translation = Translation(OneLine(text), heads.front());
        if (translation.empty()) {
            Skip(words.front(), "訳語なし", heads.size());
            return;
        }
        if (direction_ == Direction::English) {
            for (const std::string& head : heads) {
                Write(head, translation);
            }
        } else {
            AddJapanese(heads, words.front(), translation);
        }
    }

  private:
    void Skip(const std::string& word, std::string_view reason, std::size_t n = 1) {
        counts_.skipped += n;
        Example(counts_.skippedExamples, word + " (" + std::string(reason) + ")");
    }

    // The word in CP932, or nothing (counted) when a character would be lost
    // or it would break the [EXM] line.
    std::optional<std::string> Headword(const std::string& word) {
        const std::string trimmed = OneLine(word);
        if (trimmed.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> head = Utf8ToCp932Exact(trimmed);
        if (!head) {
            Skip(word, "CP932 にない文字 " + FirstUnconvertible(trimmed));
        }
        return head;
    }

    std::string Translation(const std::string& utf8, const std::string& head) {
        if (std::optional<std::string> exact = Utf8ToCp932Exact(utf8)) {
            return std::move(*exact);
        }
        std::size_t replaced = 0;
        std::string out = Utf8LineToCp932(utf8, replaced);
        counts_.replaced += replaced;
        Example(counts_.replacedExamples, Cp932ToUtf8(head) + ": " + FirstUnconvertible(utf8));
        return out;
    }

    // A reading once, by its hiragana; given with katakana in it, it keeps
    // that form as its written form ("あーるをとる" and "アールをとる" are one).
    static void AddReading(std::vector<std::pair<std::string, std::string>>& readings,
                           const std::string& word) {
        std::string hiragana = KataToHira(word);
        const auto same = std::find_if(readings.begin(), readings.end(),
                                       [&](const auto& r) { return r.first == hiragana; });
        if (same == readings.end()) {
            readings.emplace_back(std::move(hiragana), word);
        } else if (same->second == same->first) {
            same->second = word;
        }
    }

    // Readings are the kana words with a hiragana in them (in hiragana, as
    // the EDICT import files them), written forms the others; a katakana
    // word stands for its own reading when there is no other.
    void AddJapanese(const std::vector<std::string>& heads, const std::string& first,
                     const std::string& translation) {
        std::vector<std::pair<std::string, std::string>> readings;  // hiragana, as given
        std::vector<std::string> written;
        std::vector<std::string> katakana;
        for (const std::string& head : heads) {
            if (!AllChars(head, IsKanaChar)) {
                written.push_back(head);
            } else if (AllChars(head, IsKatakanaChar)) {
                written.push_back(head);
                katakana.push_back(head);
            } else {
                AddReading(readings, head);
            }
        }
        if (readings.empty()) {
            for (const std::string& form : katakana) {
                Write(KataToHira(form) + "[" + form + "]", translation);
            }
            if (katakana.empty()) {
                Skip(first, "かなの見出しなし", 1);
            }
            return;
        }
        for (const auto& [reading, given] : readings) {
            if (written.empty()) {
                Write(reading + "[" + given + "]", translation);
            }
            for (const std::string& form : written) {
                Write(reading + "[" + form + "]", translation);
            }
        }
    }

    void Write(const std::string& head, const std::string& translation) {
        out_.Write(head);
        out_.Write("\t");
        out_.WriteLine(translation);
        ++counts_.written;
    }

    LineWriter& out_;
    Direction direction_;
    DictImportCounts& counts_;
};

}  // namespace

bool IsDictionaryIndex(const fs::path& file, DictFormat& format) {
    const std::string extension = file.extension().string();
    if (EqualsIgnoringCase(extension, ".index")) {
        format = DictFormat::Dictd;
        return true;
    }
    if (EqualsIgnoringCase(extension, ".ifo")) {
        format = DictFormat::StarDict;
        return true;
    }
    return false;
}

DictImportCounts ImportDictionary(DictFormat format, const fs::path& index, const fs::path& exm,
                                  Direction direction, Reporter* reporter) {
    StarDictInfo info;
    std::vector<IndexedEntry> entries;
    if (format == DictFormat::Dictd) {
        entries = ReadDictdIndex(index);
    } else {
        info = ReadStarDictInfo(index);
        entries = ReadStarDictIndex(index, info);
    }
    DictData data(DataFileOf(index));
    DictImportCounts counts;
    StarDictFields fields(info.sametypesequence, counts);
    LineWriter out(exm);
    ExmWriter writer(out, direction, counts);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (reporter != nullptr && i % 4096 == 0) {
            reporter->Percent(static_cast<int>(i * 100 / entries.size()));
        }
        const IndexedEntry& entry = entries[i];
        const std::string_view raw = data.Read(entry.offset, entry.size);
        if (format == DictFormat::Dictd) {
            writer.Add(entry.words, DictdBody(raw, entry.words, direction));
        } else {
            writer.Add(entry.words, fields.Text(raw));
        }
    }
    out.Close();
    return counts;
}

void DictToExm(ToolJob& job, DictFormat format, Direction direction, DictImportCounts& counts) {
    RunStep(job, tool_text::kProgressImport, tool_text::kConvertFailed, [&] {
        try {
            counts = ImportDictionary(format, job.ReadPath(job.Source), job.WritePath(job.Dest),
                                      direction, &job.reporter);
        } catch (const DictFormatError& e) {
            throw StepError(FileMessage(e.path().string(), e.what()));
        }
    });
}

std::string ImportNotice(const DictImportCounts& counts) {
    if (counts.skipped == 0 && counts.replaced == 0 && counts.fieldsSkipped == 0) {
        return {};
    }
    return tool_text::ImportedCounts(counts.written, counts.skipped, counts.skippedExamples,
                                     counts.replaced, counts.replacedExamples,
                                     counts.fieldsSkipped);
}

}  // namespace tovix
