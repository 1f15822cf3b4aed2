// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/StarDictExport.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "components/MbString.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "tools/DictIndexes.h"
#include "tools/DictzipWriter.h"
#include "tools/LineReader.h"
#include "tools/LineWriter.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

struct Word {
    std::string word;     // UTF-8
    std::string text;     // UTF-8
    std::string synonym;  // UTF-8, J-E written form; empty when none
};

// StarDict's order of words: ASCII letters without case first, then the
// bytes as they are.
bool StarDictBefore(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = AsciiLower(a[i]);
        const char y = AsciiLower(b[i]);
        if (x != y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

// A headword "reading[written]" split into the word and its synonym.
Word MakeWord(std::string_view head, std::string_view text, Direction direction) {
    Word word{Cp932ToUtf8(head), Cp932ToUtf8(text), {}};
    if (direction != Direction::Japanese) {
        return word;
    }
    const ByteColumn open = MbPosEnd("[", head);
    if (open.value == 0 || !head.ends_with(']')) {
        return word;
    }
    const std::string_view reading = head.substr(0, open.value - 1);
    const std::string_view written = head.substr(open.value, head.size() - open.value - 1);
    word.word = Cp932ToUtf8(reading);
    if (written != reading && !written.empty()) {
        word.synonym = Cp932ToUtf8(written);
    }
    return word;
}

std::vector<Word> ReadWords(const fs::path& exm, Direction direction) {
    std::vector<Word> words;
    LineReader in(exm);
    std::string_view line;
    while (in.Next(line)) {
        const std::size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string_view::npos) {
            continue;
        }
        words.push_back(MakeWord(line.substr(0, tab), line.substr(tab + 1), direction));
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const Word& a, const Word& b) { return StarDictBefore(a.word, b.word); });
    return words;
}

void PutNumber(std::string& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out += static_cast<char>(value >> (8 * i) & 0xFF);
    }
}

// The ".ifo" text.
std::string Info(const std::string& name, std::size_t words, std::size_t idxSize,
                 std::size_t synonyms, bool offsets64) {
    std::string bookname = name;
    std::replace(bookname.begin(), bookname.end(), '\n', ' ');
    std::string out = "StarDict's dict ifo file\nversion=";
    out += offsets64 ? "3.0.0\n" : "2.4.2\n";
    out += "wordcount=" + std::to_string(words) + "\n";
    if (synonyms > 0) {
        out += "synwordcount=" + std::to_string(synonyms) + "\n";
    }
    out += "idxfilesize=" + std::to_string(idxSize) + "\n";
    if (offsets64) {
        out += "idxoffsetbits=64\n";
    }
    return out + "bookname=" + bookname + "\nsametypesequence=m\n";
}

bool Exists(const fs::path& path) {
    return fs::exists(fs::symlink_status(path));
}

// The text of every word, in order, into the staged ".dict.dz", and into a
// plain ".dict" too where one is there already: a reader opens either, so
// both are replaced with the index, never one left from an earlier export.
// A text too large for dictzip's chunk table goes into ".dict" alone, and is
// refused where an earlier ".dict.dz" would then stay beside it.
void WriteData(ToolJob& job, const fs::path& ifo, const std::vector<Word>& words,
               std::uint64_t size) {
    const fs::path plain = Beside(ifo, ".dict");
    const fs::path packed = Beside(ifo, ".dict.dz");
    std::optional<DictzipWriter> dz;
    if (DictzipWriter::Fits(size)) {
        dz.emplace(job.WritePath(packed.string()));
    } else if (Exists(packed)) {
        throw StepError(FileMessage(packed.string(), tool_text::kTooLargeForDictzip));
    }
    std::optional<LineWriter> dict;
    if (!dz || Exists(plain)) {
        dict.emplace(job.WritePath(plain.string()));
    }
    for (const Word& word : words) {
        if (dz) {
            dz->Write(word.text);
        }
        if (dict) {
            dict->Write(word.text);
        }
    }
    if (dz) {
        dz->Close();
    }
    if (dict) {
        dict->Close();
    }
}

void WriteStarDict(ToolJob& job, Direction direction) {
    const std::vector<Word> words = ReadWords(job.ReadPath(job.Source), direction);
    const fs::path ifo = job.Dest;
    job.WritePath(ifo.string());  // first staged: the replacement's journal is named after it
    std::uint64_t size = 0;
    for (const Word& word : words) {
        size += word.text.size();
    }
    WriteData(job, ifo, words, size);
    const bool offsets64 = size > UINT32_MAX;
    std::string index;
    std::vector<std::pair<const std::string*, std::uint32_t>> synonymList;
    std::uint64_t offset = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        index += words[i].word;
        index += '\0';
        PutNumber(index, offset, offsets64 ? 8 : 4);
        PutNumber(index, words[i].text.size(), 4);
        offset += words[i].text.size();
        if (!words[i].synonym.empty()) {
            synonymList.emplace_back(&words[i].synonym, static_cast<std::uint32_t>(i));
        }
    }
    std::stable_sort(synonymList.begin(), synonymList.end(), [](const auto& a, const auto& b) {
        return StarDictBefore(*a.first, *b.first);
    });
    std::string synonyms;
    for (const auto& [synonym, target] : synonymList) {
        synonyms += *synonym;
        synonyms += '\0';
        PutNumber(synonyms, target, 4);
    }
    LineWriter info(job.WritePath(ifo.string()));
    info.Write(Info(job.Extra, words.size(), index.size(), synonymList.size(), offsets64));
    info.Close();
    LineWriter idx(job.WritePath(Beside(ifo, ".idx").string()));
    idx.Write(index);
    idx.Close();
    // Readers take an earlier "NAME.idx.gz" before the ".idx": it is replaced
    // with the same index.
    if (Exists(Beside(ifo, ".idx.gz"))) {
        DictzipWriter packed(job.WritePath(Beside(ifo, ".idx.gz").string()));
        packed.Write(index);
        packed.Close();
    }
    // An earlier ".syn" would lead its words to the wrong entries: it is
    // replaced, empty when there are no synonyms now.
    if (!synonymList.empty() || Exists(Beside(ifo, ".syn"))) {
        LineWriter syn(job.WritePath(Beside(ifo, ".syn").string()));
        syn.Write(synonyms);
        syn.Close();
    }
}

}  // namespace

void ExmToStarDict(ToolJob& job, Direction direction) {
    RunStep(job, tool_text::kProgressExport, tool_text::kCreateFailed,
            [&] { WriteStarDict(job, direction); });
}

}  // namespace tovix
