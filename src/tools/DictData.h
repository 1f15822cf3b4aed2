// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data file of a dictd or StarDict dictionary: ".dict" text, or
// ".dict.dz", the same text compressed with gzip. Entries are read by their
// byte offset and size in the uncompressed text, as the index gives them.
//
// A ".dz" made by dictzip carries a table of independently compressed chunks
// in its gzip header; then only the chunks an entry lies in are inflated. A
// gzip file without that table is inflated as one stream, forward: reading
// the entries in increasing offset order inflates the file once, holding no
// more than the entry being read; a read before the stream's position starts
// it again.
//
// Every fault of the file (a gzip stream cut short or corrupt, a chunk table
// that does not fit the file, an entry beyond the end of the text or larger
// than kLargestEntry) throws DictFormatError naming the file; a file that
// cannot be read throws IoError.

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PosixIo.h"

namespace tovix {

// A dictionary file whose content is not what its format promises. The text
// is the message for the user (ToolMessages.h), the path the file's.
class DictFormatError : public std::runtime_error {
  public:
    DictFormatError(std::filesystem::path path, std::string_view message)
        : std::runtime_error(std::string(message)), path_(std::move(path)) {}
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// No entry of a real dictionary comes near this; a size beyond it is a fault
// of the index, refused before any memory is taken for it.
inline constexpr std::uint64_t kLargestEntry = 64ull << 20;

class DictData {
  public:
    explicit DictData(const std::filesystem::path& path);
    ~DictData();
    DictData(const DictData&) = delete;
    DictData& operator=(const DictData&) = delete;

    // The bytes [offset, offset + size) of the text, valid until the next
    // call.
    std::string_view Read(std::uint64_t offset, std::uint64_t size);

    const std::filesystem::path& path() const { return path_; }
    bool Compressed() const { return gzip_; }
    bool Chunked() const { return !chunkStarts_.empty(); }

  private:
    [[noreturn]] void Fault(std::string_view message) const;
    std::string ReadBytes(std::uint64_t offset, std::size_t size) const;
    void ParseGzipHeader();
    void ParseChunkTable(std::string_view extra);
    std::string_view ReadPlain(std::uint64_t offset, std::uint64_t size);
    std::string_view ReadChunked(std::uint64_t offset, std::uint64_t size);
    const std::string& Chunk(std::size_t index);
    std::string_view ReadStream(std::uint64_t offset, std::uint64_t size);
    void RestartStream();
    bool InflateMore();

    std::filesystem::path path_;
    FileDescriptor file_;
    std::uint64_t fileSize_ = 0;
    bool gzip_ = false;
    std::uint64_t dataStart_ = 0;  // first byte of the compressed data

    // dictzip's chunks: uncompressed length of each (the last may be
    // shorter), where each one's compressed bytes start, and the one inflated
    // last.
    std::uint64_t chunkLength_ = 0;
    std::vector<std::uint64_t> chunkStarts_;  // one more than chunks: the end
    std::size_t cachedChunk_ = SIZE_MAX;
    std::string chunk_;

    // The whole stream: the inflater, the compressed bytes read so far, and
    // the inflated text held from offset held_.
    std::unique_ptr<z_stream> stream_;
    std::uint64_t compressedRead_ = 0;
    std::string input_;
    std::string window_;
    std::uint64_t held_ = 0;
    bool streamEnded_ = false;

    std::string result_;
};

}  // namespace tovix
