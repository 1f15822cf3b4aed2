// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DictData.h"

#include <fcntl.h>

#include <algorithm>
#include <system_error>

#include "platform/IoError.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

// gzip header flags (RFC 1952).
constexpr unsigned kFlagHeaderCrc = 0x02;
constexpr unsigned kFlagExtra = 0x04;
constexpr unsigned kFlagName = 0x08;
constexpr unsigned kFlagComment = 0x10;
constexpr std::size_t kFixedHeader = 10;
constexpr std::size_t kStreamPiece = 64 * 1024;

unsigned Byte(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

unsigned Little16(std::string_view bytes, std::size_t i) {
    return Byte(bytes, i) | (Byte(bytes, i + 1) << 8);
}

}  // namespace

DictData::DictData(const std::filesystem::path& path) : path_(path), file_(OpenRegularFile(path)) {
    std::error_code error;
    fileSize_ = std::filesystem::file_size(path, error);
    if (error) {
        throw IoError(path, error.value());
    }
    const std::string magic = fileSize_ >= 2 ? ReadBytes(0, 2) : std::string();
    gzip_ = magic == "\x1f\x8b";
    if (gzip_) {
        ParseGzipHeader();
    }
}

DictData::~DictData() {
    if (stream_) {
        inflateEnd(stream_.get());
    }
}

void DictData::Fault(std::string_view message) const {
    throw DictFormatError(path_, message);
}

std::string DictData::ReadBytes(std::uint64_t offset, std::size_t size) const {
    std::string bytes(size, '\0');
    if (offset > fileSize_ || size > fileSize_ - offset ||
        !ReadAt(file_.Get(), offset, bytes.data(), size, path_)) {
        Fault(tool_text::kBrokenGzip);
    }
    return bytes;
}

// The fixed header, then the optional fields the flags announce; the chunk
// table of dictzip stands in the extra field as the subfield "RA".
void DictData::ParseGzipHeader() {
    const std::string fixed = ReadBytes(0, kFixedHeader);
    const unsigned flags = Byte(fixed, 3);
    if (Byte(fixed, 2) != Z_DEFLATED) {
        Fault(tool_text::kBrokenGzip);
    }
    std::uint64_t at = kFixedHeader;
    std::string extra;
    if ((flags & kFlagExtra) != 0) {
        const unsigned length = Little16(ReadBytes(at, 2), 0);
        extra = ReadBytes(at + 2, length);
        at += 2 + length;
    }
    for (const unsigned flag : {kFlagName, kFlagComment}) {
        if ((flags & flag) == 0) {
            continue;
        }
        char c = 1;
        for (; c != '\0'; ++at) {
            c = ReadBytes(at, 1)[0];
        }
    }
    if ((flags & kFlagHeaderCrc) != 0) {
        at += 2;
    }
    dataStart_ = at;
    ParseChunkTable(extra);
}

void DictData::ParseChunkTable(std::string_view extra) {
    while (extra.size() >= 4) {
        const unsigned length = Little16(extra, 2);
        if (length > extra.size() - 4) {
            Fault(tool_text::kBrokenGzip);
        }
        const std::string_view field = extra.substr(4, length);
        if (extra[0] == 'R' && extra[1] == 'A' && field.size() >= 6 && Little16(field, 0) == 1) {
            chunkLength_ = Little16(field, 2);
            const std::size_t count = Little16(field, 4);
            if (chunkLength_ == 0 || field.size() < 6 + 2 * count) {
                Fault(tool_text::kBrokenGzip);
            }
            chunkStarts_.push_back(dataStart_);
            for (std::size_t i = 0; i < count; ++i) {
                chunkStarts_.push_back(chunkStarts_.back() + Little16(field, 6 + 2 * i));
            }
            if (chunkStarts_.back() > fileSize_) {
                Fault(tool_text::kBrokenGzip);
            }
            return;
        }
        extra.remove_prefix(4 + length);
    }
}

std::string_view DictData::Read(std::uint64_t offset, std::uint64_t size) {
    if (size > kLargestEntry) {
        Fault(tool_text::kEntryTooLarge);
    }
    if (offset > UINT64_MAX - size) {
        Fault(tool_text::kOutsideData);
    }
    if (!gzip_) {
        return ReadPlain(offset, size);
    }
    return Chunked() ? ReadChunked(offset, size) : ReadStream(offset, size);
}

std::string_view DictData::ReadPlain(std::uint64_t offset, std::uint64_t size) {
    if (offset > fileSize_ || size > fileSize_ - offset) {
        Fault(tool_text::kOutsideData);
    }
    result_.resize(size);
    if (!ReadAt(file_.Get(), offset, result_.data(), size, path_)) {
        Fault(tool_text::kOutsideData);
    }
    return result_;
}

// From the chunk the range starts in (for a range starting at the end of a
// whole last chunk, that chunk's end) on, so that an offset beyond the text
// is refused also for a range of no bytes.
std::string_view DictData::ReadChunked(std::uint64_t offset, std::uint64_t size) {
    const std::size_t chunks = chunkStarts_.size() - 1;
    result_.clear();
    if (chunks == 0 && offset == 0 && size == 0) {
        return result_;
    }
    std::uint64_t i = offset / chunkLength_;
    std::uint64_t from = offset % chunkLength_;
    if (i == chunks && i > 0 && from == 0) {
        --i;
        from = chunkLength_;
    }
    for (;; ++i, from = 0) {
        if (i >= chunks) {
            Fault(tool_text::kOutsideData);
        }
        const std::string& text = Chunk(static_cast<std::size_t>(i));
        if (from > text.size()) {
            Fault(tool_text::kOutsideData);
        }
        result_.append(text, from,
                       std::min<std::uint64_t>(text.size() - from, size - result_.size()));
        if (result_.size() == size) {
            return result_;
        }
    }
}

// One chunk, inflated as raw deflate data: dictzip ends every chunk with a
// full flush, so each starts afresh.
const std::string& DictData::Chunk(std::size_t index) {
    if (index == cachedChunk_) {
        return chunk_;
    }
    cachedChunk_ = SIZE_MAX;
    const std::string packed =
        ReadBytes(chunkStarts_[index], chunkStarts_[index + 1] - chunkStarts_[index]);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
        throw std::bad_alloc();
    }
    chunk_.assign(chunkLength_ + 1, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(chunk_.data());
    z.avail_out = static_cast<uInt>(chunk_.size());
    const int status = inflate(&z, Z_SYNC_FLUSH);
    const std::size_t produced = chunk_.size() - z.avail_out;
    inflateEnd(&z);
    const bool last = index + 2 == chunkStarts_.size();
    if ((status != Z_OK && status != Z_STREAM_END) || produced > chunkLength_ ||
        (!last && produced != chunkLength_)) {
        Fault(tool_text::kBrokenGzip);
    }
    chunk_.resize(produced);
    cachedChunk_ = index;
    return chunk_;
}

void DictData::RestartStream() {
    if (stream_) {
        inflateEnd(stream_.get());
    }
    stream_ = std::make_unique<z_stream>();
    // 16 + MAX_WBITS: a gzip stream, its header and trailer (CRC, length)
    // checked by zlib.
    if (inflateInit2(stream_.get(), 16 + MAX_WBITS) != Z_OK) {
        stream_.reset();
        throw std::bad_alloc();
    }
    compressedRead_ = 0;
    input_.clear();
    window_.clear();
    held_ = 0;
    streamEnded_ = false;
}

// Inflates the next piece onto the window; false at the stream's end.
bool DictData::InflateMore() {
    if (streamEnded_) {
        return false;
    }
    z_stream& z = *stream_;
    if (z.avail_in == 0) {
        const std::size_t take = static_cast<std::size_t>(
            std::min<std::uint64_t>(kStreamPiece, fileSize_ - compressedRead_));
        if (take == 0) {
            Fault(tool_text::kBrokenGzip);  // the stream is cut short
        }
        input_ = ReadBytes(compressedRead_, take);
        compressedRead_ += take;
        z.next_in = reinterpret_cast<Bytef*>(input_.data());
        z.avail_in = static_cast<uInt>(input_.size());
    }
    const std::size_t before = window_.size();
    window_.resize(before + kStreamPiece);
    z.next_out = reinterpret_cast<Bytef*>(window_.data() + before);
    z.avail_out = static_cast<uInt>(kStreamPiece);
    const int status = inflate(&z, Z_NO_FLUSH);
    window_.resize(before + kStreamPiece - z.avail_out);
    if (status == Z_STREAM_END) {
        streamEnded_ = true;
    } else if (status != Z_OK && !(status == Z_BUF_ERROR && z.avail_in == 0)) {
        Fault(tool_text::kBrokenGzip);
    }
    return true;
}

std::string_view DictData::ReadStream(std::uint64_t offset, std::uint64_t size) {
    if (!stream_ || offset < held_) {
        RestartStream();
    }
    // The window holds no more than the entry: what lies before it goes.
    while (held_ + window_.size() < offset) {
        held_ += window_.size();
        window_.clear();
        if (!InflateMore()) {
            Fault(tool_text::kOutsideData);
        }
    }
    window_.erase(0, offset - held_);
    held_ = offset;
    while (window_.size() < size) {
        if (!InflateMore()) {
            Fault(tool_text::kOutsideData);
        }
    }
    return std::string_view(window_).substr(0, size);
}

}  // namespace tovix
