// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bytes of dictd and StarDict files for tests: gzip streams, dictd's base64
// numbers, StarDict index records.

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace tovix::test {

// `text` as one gzip stream (no dictzip chunk table).
inline std::string Gzip(std::string_view text) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(text.size())) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// The text of a gzip file (every member), or "<broken>" when zlib refuses it
// or its checksum or length.
inline std::string Gunzip(std::string_view packed) {
    z_stream z{};
    inflateInit2(&z, 16 + MAX_WBITS);
    std::string out;
    char buffer[1 << 16];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        status = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    }
    inflateEnd(&z);
    return status == Z_STREAM_END && z.avail_in == 0 ? out : "<broken>";
}

// dictd's base64 digits of a number.
inline std::string Base64(std::uint64_t n) {
    static constexpr std::string_view kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[n % 64]);
        n /= 64;
    } while (n > 0);
    return out;
}

// The number in `bytes` big-endian bytes.
inline std::string BigEndian(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) {
        out += static_cast<char>(value >> (8 * i) & 0xFF);
    }
    return out;
}

// Whether a program is on PATH (dictzip, sdcv ...).
inline bool HaveProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct DictdEntry {
    std::vector<std::string> words;
    std::string text;
};

// NAME.index and NAME.dict (or NAME.dict.dz, one gzip stream) of the entries.
template <typename Dir>
void WriteDictd(const Dir& dir, const std::string& name, const std::vector<DictdEntry>& entries,
                bool gzip = false) {
    std::string data;
    std::string index;
    for (const DictdEntry& entry : entries) {
        for (const std::string& word : entry.words) {
            index += word + "\t" + Base64(data.size()) + "\t" + Base64(entry.text.size()) + "\n";
        }
        data += entry.text;
    }
    WriteBytes(dir / (name + ".index"), index);
    WriteBytes(dir / (name + (gzip ? ".dict.dz" : ".dict")), gzip ? test::Gzip(data) : data);
}

// A StarDict dictionary of hand-made records: ".ifo" lines, the entries'
// data and the ".idx" and ".syn" records.
struct StarDictFiles {
    std::string ifo;
    std::string idx;
    std::string dict;
    std::string syn;
};

inline StarDictFiles MakeStarDict(const std::vector<std::pair<std::string, std::string>>& entries,
                                  const std::string& info, bool offsets64,
                                  const std::vector<std::pair<std::string, int>>& synonyms = {}) {
    StarDictFiles files;
    for (const auto& [word, data] : entries) {
        files.idx += word + '\0' + BigEndian(files.dict.size(), offsets64 ? 8 : 4) +
                     BigEndian(data.size(), 4);
        files.dict += data;
    }
    for (const auto& [word, target] : synonyms) {
        files.syn += word + '\0' + BigEndian(static_cast<std::uint64_t>(target), 4);
    }
    files.ifo = "StarDict's dict ifo file\nversion=" + std::string(offsets64 ? "3.0.0" : "2.4.2") +
                "\nbookname=test\nwordcount=" + std::to_string(entries.size()) +
                "\nidxfilesize=" + std::to_string(files.idx.size()) + "\n" +
                (offsets64 ? "idxoffsetbits=64\n" : "") +
                (synonyms.empty() ? "" : "synwordcount=" + std::to_string(synonyms.size()) + "\n") +
                info;
    return files;
}

template <typename Dir>
void WriteStarDict(const Dir& dir, const std::string& name, const StarDictFiles& files) {
    WriteBytes(dir / (name + ".ifo"), files.ifo);
    WriteBytes(dir / (name + ".idx"), files.idx);
    WriteBytes(dir / (name + ".dict"), files.dict);
    if (!files.syn.empty()) {
        WriteBytes(dir / (name + ".syn"), files.syn);
    }
}

}  // namespace tovix::test
