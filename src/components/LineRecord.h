// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line store's 8-byte line record. A record is either packed, an offset
// and a length into the loaded text (bit 63 clear, offset in bits 23..62,
// length in bits 0..22), or owned, an index into the store's list of owned
// strings (bit 63 set, index in bits 0..31). The record 0 is an empty line.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "components/BlockAllocator.h"

namespace tovix::detail {

using LineRecord = std::uint64_t;
using LineRecords = std::vector<LineRecord, BlockAllocator<LineRecord>>;

constexpr int kLengthBits = 23;
constexpr size_t kMaxPackedLength = (size_t{1} << kLengthBits) - 1;
constexpr int kOffsetBits = 40;
constexpr LineRecord kOwnedFlag = LineRecord{1} << 63;

constexpr LineRecord Packed(size_t offset, size_t length) {
    return (LineRecord{offset} << kLengthBits) | length;
}
constexpr bool IsOwned(LineRecord r) {
    return (r & kOwnedFlag) != 0;
}
constexpr size_t PackedOffset(LineRecord r) {
    return r >> kLengthBits;
}
constexpr size_t PackedLength(LineRecord r) {
    return r & kMaxPackedLength;
}
constexpr std::uint32_t OwnedIndex(LineRecord r) {
    return static_cast<std::uint32_t>(r);
}
constexpr LineRecord Owned(std::uint32_t index) {
    return kOwnedFlag | index;
}
// Whether a line at `offset` of `length` bytes fits a packed record.
constexpr bool Packable(size_t offset, size_t length) {
    return length <= kMaxPackedLength && (offset >> kOffsetBits) == 0;
}

}  // namespace tovix::detail
