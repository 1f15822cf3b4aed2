// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/StarDictExport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "components/MbString.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"
#include "tools/DictIndexes.h"
#include "tools/LineReader.h"
#include "tools/LineWriter.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

extern char** environ;

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

// The directory of the program `name` on PATH, if it is there.
std::optional<fs::path> OnPath(const char* name) {
    const char* path = std::getenv("PATH");
    std::string_view dirs = path == nullptr ? "/usr/bin:/bin" : path;
    while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        const fs::path candidate = fs::path(dirs.substr(0, colon)) / name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    }
    return std::nullopt;
}

// Compresses `dict` into `dict` + ".dz" with the dictzip program, keeping
// nothing else; throws IoError when it fails.
void RunDictzip(const fs::path& program, const fs::path& dict) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string name = program.string();
    std::string force = "-f";
    std::string file = dict.string();
    char* argv[] = {name.data(), force.data(), file.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, name.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw IoError(dict, spawned);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            throw IoError(dict, errno);
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw IoError(dict, EIO);
    }
}

void CopyFile(const fs::path& from, const fs::path& to) {
    LineWriter out(to);
    FileDescriptor in = OpenRegularFile(from);
    std::string buffer(1 << 20, '\0');
    while (const std::size_t got = ReadSome(in.Get(), buffer.data(), buffer.size(), from)) {
        out.Write(std::string_view(buffer).substr(0, got));
    }
    out.Close();
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

void WriteStarDict(ToolJob& job, Direction direction) {
    const std::vector<Word> words = ReadWords(job.ReadPath(job.Source), direction);
    const fs::path ifo = job.Dest;
    const std::optional<fs::path> dictzip = OnPath("dictzip");
    const fs::path dictFile =
        dictzip ? job.WorkFile("TOVIXSTD.dict") : job.WritePath(Beside(ifo, ".dict").string());
    std::string index;
    std::string synonyms;
    std::vector<std::pair<const std::string*, std::uint32_t>> synonymList;
    {
        LineWriter dict(dictFile);
        std::uint64_t offset = 0;
        for (const Word& word : words) {
            dict.Write(word.text);
            offset += word.text.size();
        }
        dict.Close();
        const bool offsets64 = offset > UINT32_MAX;
        offset = 0;
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
        for (const auto& [synonym, target] : synonymList) {
            synonyms += *synonym;
            synonyms += '\0';
            PutNumber(synonyms, target, 4);
        }
        LineWriter info(job.WritePath(ifo.string()));
        info.Write(Info(job.Extra, words.size(), index.size(), synonymList.size(), offsets64));
        info.Close();
    }
    LineWriter idx(job.WritePath(Beside(ifo, ".idx").string()));
    idx.Write(index);
    idx.Close();
    if (!synonymList.empty()) {
        LineWriter syn(job.WritePath(Beside(ifo, ".syn").string()));
        syn.Write(synonyms);
        syn.Close();
    }
    if (dictzip) {
        fs::path packed = dictFile;
        packed += ".dz";
        RunDictzip(*dictzip, dictFile);
        CopyFile(packed, job.WritePath(Beside(ifo, ".dict.dz").string()));
        std::error_code ignored;
        fs::remove(packed, ignored);  // a copy of the user's dictionary: not kept as a work file
    }
}

}  // namespace

void ExmToStarDict(ToolJob& job, Direction direction) {
    RunStep(job, tool_text::kProgressExport, tool_text::kCreateFailed,
            [&] { WriteStarDict(job, direction); });
}

}  // namespace tovix
