// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/EdictImport.h"

#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tools/EdictTags.h"
#include "tools/LineReader.h"
#include "tools/LineWriter.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// --- Character sets ---------------------------------------------------------

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(const char* name) {
    UErrorCode error = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(name, &error));
    if (U_FAILURE(error)) {
        throw std::runtime_error(std::string(name) + " converter unavailable");
    }
    return converter;
}

const char* ConverterName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Cp932:
            return "windows-31j";
        default:
            return "EUC-JP";
    }
}

// EDICT's encoding (EUC-JP, or UTF-8 ...) in, CP932 out; both stop at a character they cannot
// convert instead of putting in a substitute, so that such an entry can be left out.
class EdictCharsets {
  public:
    explicit EdictCharsets(TextEncoding input)
        : eucJp_(OpenConverter(ConverterName(input))), cp932_(OpenConverter("windows-31j")) {
        UErrorCode error = U_ZERO_ERROR;
        ucnv_setToUCallBack(eucJp_.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &error);
        // The fallbacks map the usual look-alikes (wave dash, minus sign ...)
        // to the CP932 characters that Japanese text uses for them.
        ucnv_setFallback(cp932_.get(), true);
        ucnv_setFromUCallBack(cp932_.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &error);
        if (U_FAILURE(error)) {
            throw std::runtime_error("converter set-up failed");
        }
    }

    std::optional<std::u16string> Decode(std::string_view eucJp) {
        // No sequence of the input yields more UTF-16 units than it has bytes.
        std::u16string out(eucJp.size() + 1, u'\0');
        UErrorCode error = U_ZERO_ERROR;
        ucnv_reset(eucJp_.get());
        const int32_t n = ucnv_toUChars(eucJp_.get(), reinterpret_cast<UChar*>(out.data()),
                                        static_cast<int32_t>(out.size()), eucJp.data(),
                                        static_cast<int32_t>(eucJp.size()), &error);
        if (U_FAILURE(error)) {
            return std::nullopt;
        }
        out.resize(static_cast<size_t>(n));
        return out;
    }

    std::optional<std::string> Encode(std::u16string_view text) {
        std::string out(text.size() * 2 + 1, '\0');
        UErrorCode error = U_ZERO_ERROR;
        ucnv_reset(cp932_.get());
        const int32_t n = ucnv_fromUChars(
            cp932_.get(), out.data(), static_cast<int32_t>(out.size()),
            reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()), &error);
        if (U_FAILURE(error)) {
            return std::nullopt;
        }
        out.resize(static_cast<size_t>(n));
        return out;
    }

  private:
    ConverterPtr eucJp_;
    ConverterPtr cp932_;
};

// Katakana to hiragana, character by character. ー and the middle dot stay;
// so do ヴ, ヵ, ヶ and ヷ..ヺ, which have no hiragana in CP932.
std::u16string KatakanaToHiragana(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c >= u'ァ' && c <= u'ン') {
            c = static_cast<char16_t>(c - (u'ァ' - u'ぁ'));
        } else if (c == u'ヽ' || c == u'ヾ') {
            c = static_cast<char16_t>(c - (u'ヽ' - u'ゝ'));
        }
    }
    return out;
}

// --- Entries ----------------------------------------------------------------

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == u' ') {
        text.remove_suffix(1);
    }
    return text;
}

struct Gloss {
    std::u16string text;
    bool verb = false;            // in a sense whose part of speech is a verb
    bool senseStart = false;      // a sense number or a part of speech stood before it
    std::u16string partOfSpeech;  // the label of the parts of speech given before it
};

// A written form or reading without its tags; a reading may belong to some
// written forms only.
struct Form {
    std::u16string text;
    std::vector<std::u16string> only;
};

struct EdictEntry {
    std::u16string written;  // the first kanji form, or the kana when there is none
    std::u16string reading;  // the first reading as in EDICT, katakana included
    std::vector<Form> writtenForms;
    std::vector<Form> readings;
    bool kanaOnly = false;  // no reading field: each form is its own reading
    std::vector<Gloss> glosses;
    bool common = false;  // marked (P)
};

std::string Utf8(std::u16string_view text) {
    std::string out;
    icu::UnicodeString(false, reinterpret_cast<const UChar*>(text.data()),
                       static_cast<int32_t>(text.size()))
        .toUTF8String(out);
    return out;
}

bool IsTagText(std::u16string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u',' || c == u'-';
    });
}

std::vector<std::u16string> SplitAt(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string> pieces;
    for (;;) {
        const size_t at = text.find(separator);
        const std::u16string_view piece = Trimmed(text.substr(0, at));
        if (!piece.empty()) {
            pieces.emplace_back(piece);
        }
        if (at == std::u16string_view::npos) {
            return pieces;
        }
        text = text.substr(at + 1);
    }
}

// "寿司(P);鮨;鮓(oK)" or "すし(寿司,鮨);スシ": the forms without their tags.
// A trailing group of tag letters is dropped; in a reading, a group of other
// text names the written forms the reading belongs to.
std::vector<Form> SplitForms(std::u16string_view field, bool readings) {
    std::vector<Form> forms;
    for (const std::u16string& piece : SplitAt(field, u';')) {
        std::u16string_view text = piece;
        Form form;
        while (text.ends_with(u')')) {
            const size_t open = text.rfind(u'(');
            if (open == std::u16string_view::npos || open == 0) {
                break;
            }
            const std::u16string_view group = text.substr(open + 1, text.size() - open - 2);
            if (!IsTagText(group)) {
                if (!readings) {
                    break;
                }
                form.only = SplitAt(group, u',');
            }
            text = Trimmed(text.substr(0, open));
        }
        form.text = text;
        forms.push_back(std::move(form));
    }
    return forms;
}

// EDICT2's last field, the entry's number: "EntL1234567X".
bool IsEntryNumber(std::u16string_view gloss) {
    if (!gloss.starts_with(u"EntL")) {
        return false;
    }
    gloss.remove_prefix(4);
    if (gloss.ends_with(u'X')) {
        gloss.remove_suffix(1);
    }
    return !gloss.empty() && std::all_of(gloss.begin(), gloss.end(),
                                         [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// Splits the glosses of an entry and takes their leading tags off: the
// common-word mark, and the parts of speech and sense numbers that begin a
// sense. A part of speech stays in force for the following glosses until
// another one is given.
void ParseGlosses(std::u16string_view text, EdictEntry& entry) {
    bool verb = false;
    while (!text.empty()) {
        const size_t slash = text.find(u'/');
        std::u16string_view gloss = Trimmed(text.substr(0, slash));
        text = slash == std::u16string_view::npos ? std::u16string_view() : text.substr(slash + 1);
        Gloss parsed;
        while (gloss.starts_with(u'(')) {
            const size_t close = gloss.find(u')');
            if (close == std::u16string_view::npos) {
                break;
            }
            const auto tags = TagsOf(gloss.substr(1, close - 1));
            if (!tags) {
                break;
            }
            if (std::any_of(tags->begin(), tags->end(), IsPartOfSpeechTag)) {
                verb = std::any_of(tags->begin(), tags->end(), IsVerbTag);
                parsed.partOfSpeech = PartOfSpeechLabel(*tags);
                parsed.senseStart = true;
            }
            parsed.senseStart =
                parsed.senseStart || std::any_of(tags->begin(), tags->end(), IsSenseNumber);
            entry.common =
                entry.common || std::find(tags->begin(), tags->end(), "P") != tags->end();
            gloss = Trimmed(gloss.substr(close + 1));
        }
        if (!gloss.empty() && !IsEntryNumber(gloss)) {
            parsed.text = gloss;
            std::replace(parsed.text.begin(), parsed.text.end(), u'\t', u' ');
            parsed.verb = verb;
            entry.glosses.push_back(std::move(parsed));
        }
    }
}

// "KANJI [KANA] /gloss/.../" or "KANA /gloss/.../"; nothing for other lines
// and for entries without a gloss.
std::optional<EdictEntry> ParseEntry(std::u16string_view line) {
    if (line.ends_with(u'\r')) {
        line.remove_suffix(1);
    }
    const size_t glossStart = line.find(u" /");
    if (glossStart == std::u16string_view::npos) {
        return std::nullopt;
    }
    std::u16string_view words = line.substr(0, glossStart);
    std::u16string_view glosses = line.substr(glossStart + 2);
    if (glosses.ends_with(u'/')) {
        glosses.remove_suffix(1);
    }
    EdictEntry entry;
    const size_t bracket = words.find(u" [");
    if (bracket != std::u16string_view::npos && words.ends_with(u']')) {
        entry.writtenForms = SplitForms(words.substr(0, bracket), false);
        entry.readings = SplitForms(words.substr(bracket + 2, words.size() - bracket - 3), true);
    } else {
        entry.writtenForms = SplitForms(words, false);
        entry.readings = entry.writtenForms;
        entry.kanaOnly = true;
    }
    ParseGlosses(glosses, entry);
    const auto unusable = [](const Form& form) {
        return form.text.empty() || form.text.find(u'\t') != std::u16string::npos;
    };
    if (entry.writtenForms.empty() || entry.readings.empty() || entry.glosses.empty() ||
        std::any_of(entry.writtenForms.begin(), entry.writtenForms.end(), unusable) ||
        std::any_of(entry.readings.begin(), entry.readings.end(), unusable)) {
        return std::nullopt;
    }
    entry.written = entry.writtenForms.front().text;
    entry.reading = entry.readings.front().text;
    return entry;
}

// The English headword of a gloss: without "(...)" groups, blanks collapsed,
// and in a verb sense without its leading "to ".
std::u16string EnglishHeadword(const Gloss& gloss) {
    std::u16string out;
    int depth = 0;
    for (size_t i = 0; i < gloss.text.size(); ++i) {
        const char16_t c = gloss.text[i];
        if (c == u'(' && (depth > 0 || gloss.text.find(u')', i) != std::u16string::npos)) {
            ++depth;
        } else if (c == u')' && depth > 0) {
            --depth;
        } else if (depth == 0 && !(c == u' ' && (out.empty() || out.back() == u' '))) {
            out += c;
        }
    }
    std::u16string_view head = Trimmed(out);
    if (gloss.verb && head.starts_with(u"to ")) {
        head = Trimmed(head.substr(3));
    }
    return std::u16string(head);
}

// --- Writers ----------------------------------------------------------------

// The J-E translation: the common-word mark, then the senses separated by
// " / ", each beginning with its parts of speech in 《》 when they differ from
// the sense before, its glosses joined with ",":
// "(P) 《一段・他》to eat / to live on,to live off".
std::u16string JapaneseEnglishTranslation(const EdictEntry& entry) {
    std::u16string out = entry.common ? u"(P) " : u"";
    std::u16string partOfSpeech;
    for (size_t i = 0; i < entry.glosses.size(); ++i) {
        const Gloss& gloss = entry.glosses[i];
        if (i > 0) {
            out += gloss.senseStart ? u" / " : u",";
        }
        if (!gloss.partOfSpeech.empty() && gloss.partOfSpeech != partOfSpeech) {
            partOfSpeech = gloss.partOfSpeech;
            out += u"《" + partOfSpeech + u"》";
        }
        out += gloss.text;
    }
    return out;
}

// A Japanese word in an E-J translation: the written form, its reading in
// parentheses when it differs, and the common-word mark: "林檎(りんご)(P)".
std::u16string JapaneseWord(const EdictEntry& entry, const std::u16string& written) {
    std::u16string out = written;
    if (entry.reading != written) {
        out += u'(' + entry.reading + u')';
    }
    return entry.common ? out + u"(P)" : out;
}

void Skip(EdictImportCounts& counts, size_t lineNumber, std::u16string_view word) {
    ++counts.skipped;
    counts.skips.push_back({lineNumber, Utf8(word)});
}

// (reading, written form) in EDICT's order: readings first, each with the
// written forms it belongs to; a kana-only entry's forms are their own
// readings.
std::vector<std::pair<std::u16string, std::u16string>> Pairs(const EdictEntry& entry) {
    std::vector<std::pair<std::u16string, std::u16string>> pairs;
    for (const Form& reading : entry.readings) {
        if (entry.kanaOnly) {
            pairs.emplace_back(reading.text, reading.text);
            continue;
        }
        for (const Form& written : entry.writtenForms) {
            if (reading.only.empty() || std::find(reading.only.begin(), reading.only.end(),
                                                  written.text) != reading.only.end()) {
                pairs.emplace_back(reading.text, written.text);
            }
        }
    }
    return pairs;
}

class JapaneseEnglishWriter {
  public:
    JapaneseEnglishWriter(EdictCharsets& charsets, LineWriter& out, EdictImportCounts& counts)
        : charsets_(charsets), out_(out), counts_(counts) {}

    // One line for every pair of a reading and a written form it belongs to;
    // a pair CP932 cannot hold is left out alone, the others stay.
    void Add(const EdictEntry& entry, size_t lineNumber) {
        const auto text = charsets_.Encode(JapaneseEnglishTranslation(entry));
        if (!text) {
            Skip(counts_, lineNumber, entry.written);
            return;
        }
        std::vector<std::string> heads;
        for (const auto& [reading, written] : Pairs(entry)) {
            const auto head = charsets_.Encode(KatakanaToHiragana(reading) + u'[' + written + u']');
            if (!head) {
                Skip(counts_, lineNumber, written + u'[' + reading + u']');
            } else if (std::find(heads.begin(), heads.end(), *head) == heads.end()) {
                heads.push_back(*head);
            }
        }
        for (const std::string& head : heads) {
            out_.Write(head);
            out_.Write("\t");
            out_.WriteLine(*text);
            ++counts_.written;
        }
    }

    void Finish() {}

  private:
    EdictCharsets& charsets_;
    LineWriter& out_;
    EdictImportCounts& counts_;
};

// Collects the Japanese words of every English headword, in the order the
// headwords first occur, and writes them at the end, common words first.
class EnglishJapaneseWriter {
  public:
    EnglishJapaneseWriter(EdictCharsets& charsets, LineWriter& out, EdictImportCounts& counts)
        : charsets_(charsets), out_(out), counts_(counts) {}

    // The word is the first written form that CP932 can hold.
    void Add(const EdictEntry& entry, size_t lineNumber) {
        std::optional<std::string> word;
        for (auto form = entry.writtenForms.begin(); !word && form != entry.writtenForms.end();
             ++form) {
            word = charsets_.Encode(JapaneseWord(entry, form->text));
        }
        std::vector<std::string> heads;
        for (const Gloss& gloss : entry.glosses) {
            const std::u16string head = EnglishHeadword(gloss);
            if (head.empty()) {
                continue;
            }
            auto encoded = charsets_.Encode(head);
            if (!encoded || !word) {
                Skip(counts_, lineNumber, entry.written);
                return;
            }
            if (encoded->empty()) {
                continue;  // only characters without bytes in CP932 (a stray U+FEFF)
            }
            heads.push_back(std::move(*encoded));
        }
        for (std::string& head : heads) {
            const auto [it, added] = index_.try_emplace(std::move(head), entries_.size());
            if (added) {
                entries_.push_back({&it->first, {}});
            }
            std::vector<Word>& words = entries_[it->second].words;
            if (std::find_if(words.begin(), words.end(),
                             [&](const Word& w) { return w.text == *word; }) == words.end()) {
                words.push_back({*word, entry.common});
            }
        }
    }

    void Finish() {
        for (Entry& entry : entries_) {
            std::stable_partition(entry.words.begin(), entry.words.end(),
                                  [](const Word& w) { return w.common; });
            out_.Write(*entry.head);
            for (size_t i = 0; i < entry.words.size(); ++i) {
                out_.Write(i == 0 ? "\t" : ",");
                out_.Write(entry.words[i].text);
            }
            out_.Write("\r\n");
            ++counts_.written;
        }
    }

  private:
    struct Word {
        std::string text;  // CP932
        bool common;
    };
    struct Entry {
        const std::string* head;  // the key in index_, which keeps it in place
        std::vector<Word> words;
    };

    EdictCharsets& charsets_;
    LineWriter& out_;
    EdictImportCounts& counts_;
    std::unordered_map<std::string, size_t> index_;
    std::vector<Entry> entries_;
};

template <class Writer>
EdictImportCounts Convert(const std::filesystem::path& edict, const std::filesystem::path& exm,
                          TextEncoding encoding, Reporter* reporter) {
    EdictCharsets charsets(encoding);
    EdictImportCounts counts;
    LineReader in(edict);
    LineWriter out(exm);
    Writer writer(charsets, out, counts);
    std::string_view line;
    for (size_t n = 0; in.Next(line); ++n) {
        if (reporter != nullptr && n % 8192 == 0 && in.Size() > 0) {
            reporter->Percent(static_cast<int>(in.Consumed() * 100 / in.Size()));
        }
        if (n == 0 && line.starts_with("\xEF\xBB\xBF")) {
            line.remove_prefix(3);  // a UTF-8 byte-order mark
        }
        const std::optional<std::u16string> text = charsets.Decode(line);
        if (!text) {
            Skip(counts, n + 1, u"");
            continue;
        }
        // The first line of the file describes the file, in the form of an
        // entry whose headword is "　？？？".
        if (n == 0 && text->starts_with(u"　？？？")) {
            continue;
        }
        const std::optional<EdictEntry> entry = ParseEntry(*text);
        if (!entry) {
            ++counts.malformed;
            continue;
        }
        writer.Add(*entry, n + 1);
    }
    writer.Finish();
    out.Close();
    return counts;
}

EdictImportCounts ConvertFor(Direction direction, const std::filesystem::path& edict,
                             const std::filesystem::path& exm, TextEncoding encoding,
                             Reporter* reporter) {
    encoding = ResolveEncoding(encoding, edict, TextEncoding::EucJp);
    return direction == Direction::Japanese
               ? Convert<JapaneseEnglishWriter>(edict, exm, encoding, reporter)
               : Convert<EnglishJapaneseWriter>(edict, exm, encoding, reporter);
}

}  // namespace

EdictImportCounts ConvertEdict(const std::filesystem::path& edict, const std::filesystem::path& exm,
                               Direction direction, TextEncoding encoding) {
    return ConvertFor(direction, edict, exm, encoding, nullptr);
}

void EdictToExm(ToolJob& job, Direction direction, EdictImportCounts& counts) {
    RunStep(job, tool_text::kProgressConvert, tool_text::kConvertFailed, [&] {
        counts = ConvertFor(direction, job.ReadPath(job.Source), job.WritePath(job.Dest),
                            job.inputEncoding, &job.reporter);
    });
}

}  // namespace tovix
