// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line store's line splitter: turns loaded text into packed line records
// (LineRecord.h) while the text is still being read.
//
// A line ends at an LF (dropping a CR just before it) or at a CR that is not
// followed by an LF; a final line end adds no empty last line. Blocks of 64
// bytes are scanned as soon as the byte after them is there (a CR at a
// block's end depends on it); the rest when the text is final.

#include <cstddef>
#include <cstdint>

#include "components/LineRecord.h"

namespace tovix::detail {

class LineScanner {
  public:
    // Records are written into `records` from index 0, growing it as needed;
    // `expectedSize` (the file's size, 0 when unknown) guides the growth.
    LineScanner(LineRecords& records, size_t expectedSize)
        : records_(records), expectedSize_(expectedSize) {}

    // Scans what of text[0, available) can be scanned; with `final` all of
    // it. `text` may move between calls (its buffer grows); offsets stay.
    void Scan(const char* text, size_t available, bool final);

    size_t Count() const { return state_.count; }
    // The length of the longest line recorded.
    size_t Longest() const { return state_.longest; }
    // Some line is too long, or starts too far into the text, for a record.
    bool Unpackable() const { return state_.unpackable != 0; }

    // Where the scan stands; the records before `count` are written.
    struct State {
        size_t block = 0;  // the next byte to scan
        size_t lineStart = 0;
        size_t count = 0;
        size_t longest = 0;
        std::uint64_t crAtBlockEnd = 0;
        std::uint64_t unpackable = 0;
    };

  private:
    // Each takes the scan's state and returns it advanced.
    State ScanBlocks(State s, LineRecord*& out, const char* text, size_t available, bool final);
    State ScanTail(State s, LineRecord* out, const char* text, size_t available);
    LineRecord* MakeRoom(size_t count, size_t scanned);

    LineRecords& records_;
    size_t expectedSize_;
    State state_;
};

// Calls f(start, end) for every line of the text, by the same rules as
// LineScanner, one byte at a time.
template <class F>
void ForEachLine(const char* text, size_t size, F f) {
    size_t start = 0;
    while (start < size) {
        size_t end = start;
        while (end < size && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        f(start, end);
        start = end + 1;
        if (end < size && text[end] == '\r' && start < size && text[start] == '\n') {
            ++start;
        }
    }
}

}  // namespace tovix::detail
