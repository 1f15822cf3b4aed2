// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own list of text lines: an ordered list of CP932 byte strings,
// indexed from 0. No character-set conversion happens here; lengths count bytes.
//
// Count is the number of lines. Capacity is the number of reserved slots as the
// program reports it: it grows by 32 when an Add or Insert finds the list full,
// loading reserves one slot per 28 bytes of input and then trims it to Count,
// and it never exceeds MaxListSize. It is a logical figure; the memory really
// held may differ.
//
// Storage: text read by LoadFromFile, SetText or LoadFromStream stays in one
// byte buffer, and each line is an 8-byte record (offset and length into that
// buffer). A line that is added or changed afterwards, or one longer than a
// record can describe, is held as a string of its own. So a load costs little
// more than reading the file, and a line is copied only when it changes.
//
// Line ends: CR LF, a lone CR and a lone LF each end one line, LF CR ends one
// line and begins an empty one, and a final line end adds no empty last line.
// In SetText, LoadFromStream and SetCommaText a NUL byte ends the text; in
// LoadFromFile a NUL byte is kept as part of its line, so that a damaged file
// loses nothing.
//
// Index errors throw ListIndexError. File failures throw IoError with the path;
// stream failures throw std::ios_base::failure.
//
// A string_view from View stays valid until the list is next changed.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "components/BlockAllocator.h"
#include "components/LineRecord.h"

namespace tovix::detail {
class LineScanner;
}

namespace tovix {

// The one error of the line store: an index or size outside the list's range.
class ListIndexError : public std::out_of_range {
  public:
    ListIndexError();
};

class TLightStrings {
  public:
    static constexpr int MaxListSize = 134217727;  // 0x7FFFFFF

    TLightStrings() = default;
    TLightStrings(TLightStrings&& other) noexcept;
    TLightStrings& operator=(TLightStrings&& other) noexcept;
    TLightStrings(const TLightStrings&) = delete;
    TLightStrings& operator=(const TLightStrings&) = delete;

    int Count() const { return static_cast<int>(records_.size()); }
    int Capacity() const { return capacity_; }
    // A number that changes whenever the lines change; no two lists that
    // hold lines ever share one, so it tells whether something derived from
    // the lines is still good.
    std::uint64_t Revision() const { return revision_; }

    // A copy of line `index`; an index outside 0..Count-1 is an error.
    std::string Get(int index) const;
    // Line `index` without copying, checked like Get.
    std::string_view View(int index) const;

    // Appends a line and returns its index.
    int Add(std::string_view line);
    // Appends `line` as it is, without copying its bytes; returns its index.
    int AddTaken(std::string line);
    // Inserts before `index` (0..Count; Count appends).
    void Insert(int index, std::string_view line);
    // Removes line `index`; later lines move down by one.
    void Delete(int index);
    // Removes every line and releases every slot.
    void Clear();
    // Sets the number of lines: drops lines from `count` on, or appends empty
    // ones (raising Capacity as needed).
    void SetCount(int count);
    // Sets the number of reserved slots; below Count or above MaxListSize is an
    // error that leaves the list unchanged.
    void SetCapacity(int capacity);

    // The length of the longest line, 0 when there is none; known from the
    // load, else found once after each change.
    size_t LongestLine() const;

    // Index of the first line equal byte for byte to `line`; -1 if none.
    int IndexOf(std::string_view line) const;

    // Every line followed by CR LF.
    std::string GetText() const;
    // Replaces the list with the lines of `text`.
    void SetText(std::string_view text);

    // The lines joined by commas; a line with a blank or a comma is put in
    // double quotes (quotes inside a line are not escaped).
    std::string GetCommaText() const;
    // Replaces the list with the items of a comma-separated text: an item in
    // double quotes may hold blanks and commas; CR also ends an item; a double
    // quote inside an unquoted item ends it and the rest starts the next item;
    // a trailing comma adds no empty item.
    void SetCommaText(std::string_view text);

    // Replaces the list with the lines of the file.
    void LoadFromFile(const std::filesystem::path& path);
    // Makes every later load keep the blocks of the one before whenever they
    // are large enough, however much larger: for a store that loads file
    // after file (the parts a view shows), which then touches no fresh memory
    // once it has held the largest. The setting stays with this object when
    // its lines are moved to another.
    void KeepStorage() { keepStorage_ = true; }
    // Empties the list and gives it blocks large enough to load a file of
    // `fileSize` bytes, with their memory taken from the system now: a store
    // with KeepStorage then loads any file up to that size without touching
    // fresh memory. May run on another thread while nothing else uses it.
    void MakeRoomFor(size_t fileSize);
    // Creates or overwrites the file with every line followed by CR LF.
    void SaveToFile(const std::filesystem::path& path) const;
    // Replaces the list with the lines of everything from the stream's
    // position to its end.
    void LoadFromStream(std::istream& stream);
    // Writes GetText at the stream's position.
    void SaveToStream(std::ostream& stream) const;

    // Clears `dest` and copies every line into it in order.
    void AssignTo(std::vector<std::string>& dest) const;

    // Throws ListIndexError.
    [[noreturn]] void Error() const;

  protected:
    // Replaces line `index` (0..Count-1).
    void Put(int index, std::string_view line);
    // Swaps two lines (each 0..Count-1); equal indexes do nothing.
    void Exchange(int index1, int index2);

  private:
    using Record = detail::LineRecord;
    using Records = detail::LineRecords;
    using Bytes = std::unique_ptr<char[], detail::BlockDeleter>;

    void CheckIndex(int index, int last) const;
    void Touch();
    std::string_view LineAt(size_t index) const;
    void Grow();
    Record Own(std::string line);
    void Disown(Record record);
    void DropTextWhenEmpty();
    void ReleaseStorage();
    void ForgetLines();
    void PrepareRecords(size_t expectedSize);
    void FinishLoad(const detail::LineScanner& scanner, size_t size);
    void ReadLines(int fd, const std::filesystem::path& path, size_t expectedSize);
    void GrowBytes(size_t capacity, size_t used);

    // Line records in order (Count of them) over bytes_ and owned_.
    Records records_;
    int capacity_ = 0;
    // The loaded text that packed records point into, and its allocated size.
    Bytes bytes_;
    size_t bytesCapacity_ = 0;
    // Lines added or changed after the load; free slots are listed in freeOwned_.
    std::vector<std::string> owned_;
    std::vector<std::uint32_t> freeOwned_;
    std::uint64_t revision_ = 0;
    // LongestLine's answer and the revision it is for.
    mutable size_t longest_ = 0;
    mutable std::uint64_t longestRevision_ = 0;
    bool keepStorage_ = false;
};

}  // namespace tovix
