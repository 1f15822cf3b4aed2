// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes text as a dictzip file (".dict.dz"): one gzip stream whose header
// carries, in the extra subfield "RA", the length of the chunks the text is
// cut into and the compressed size of each, every chunk deflated on its own
// and ended by a full flush. gzip and zcat read it as any gzip file; a
// reader of dictionaries inflates only the chunks an entry lies in
// (DictData.h).
//
// The chunks are compressed on two threads; the file is written through
// LineWriter (staged by the caller, fault-injected like every write) only at
// Close, since the table of sizes comes first in it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tovix {

class DictzipWriter {
  public:
    // dictzip's own chunk length: a chunk's deflated size, even where the
    // text does not compress, stays within the table's 16 bits.
    static constexpr std::size_t kChunkLength = 58315;
    // As many sizes as the extra field's 16-bit length can hold.
    static constexpr std::size_t kMostChunks = (0xFFFF - 10) / 2;
    // Whether `textSize` bytes of text fit in one dictzip file.
    static bool Fits(std::uint64_t textSize) {
        return textSize <= std::uint64_t{kMostChunks} * kChunkLength;
    }

    explicit DictzipWriter(std::filesystem::path path);

    // Appends text; throws IoError EFBIG beyond what Fits.
    void Write(std::string_view text);
    // Compresses what is left and writes the file; throws IoError (also
    // when zlib fails).
    void Close();

  private:
    void CompressPending(bool all);

    std::filesystem::path path_;
    std::string pending_;  // text not yet compressed
    std::string packed_;   // the compressed chunks so far, in order
    std::vector<std::uint16_t> sizes_;
    std::uint64_t textSize_ = 0;
    unsigned long crc_ = 0;
};

}  // namespace tovix
