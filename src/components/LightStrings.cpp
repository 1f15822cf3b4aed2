// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/LightStrings.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ios>
#include <istream>
#include <new>
#include <ostream>

#include "components/ComponentMessages.h"
#include "components/LineScanner.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"
#include "platform/StagedFile.h"

namespace tovix {
namespace {

using namespace detail;

constexpr int kGrowth = 32;
constexpr size_t kBytesPerReservedSlot = 28;
constexpr size_t kReadChunk = 256 * 1024;
constexpr size_t kWriteBuffer = 64 * 1024;

// Writes to every page of the block, so that the system gives it its memory
// now rather than at the next use.
void TouchPages(void* block, size_t size) {
    constexpr size_t kPage = 4096;
    auto* bytes = static_cast<volatile char*>(block);
    for (size_t i = 0; i < size; i += kPage) {
        bytes[i] = 0;
    }
}

std::string_view UpToNul(std::string_view text) {
    const void* nul = std::memchr(text.data(), '\0', text.size());
    return nul ? text.substr(0, static_cast<const char*>(nul) - text.data()) : text;
}

}  // namespace

ListIndexError::ListIndexError() : std::out_of_range(component_text::kListIndex) {}

TLightStrings::TLightStrings(TLightStrings&& other) noexcept
    : records_(std::move(other.records_)),
      capacity_(std::exchange(other.capacity_, 0)),
      bytes_(std::move(other.bytes_)),
      bytesCapacity_(std::exchange(other.bytesCapacity_, 0)),
      owned_(std::move(other.owned_)),
      freeOwned_(std::move(other.freeOwned_)),
      revision_(other.revision_),
      longest_(other.longest_),
      longestRevision_(other.longestRevision_) {
    other.ReleaseStorage();
}

TLightStrings& TLightStrings::operator=(TLightStrings&& other) noexcept {
    if (this != &other) {
        records_ = std::move(other.records_);
        capacity_ = std::exchange(other.capacity_, 0);
        bytes_ = std::move(other.bytes_);
        bytesCapacity_ = std::exchange(other.bytesCapacity_, 0);
        owned_ = std::move(other.owned_);
        freeOwned_ = std::move(other.freeOwned_);
        revision_ = other.revision_;
        longest_ = other.longest_;
        longestRevision_ = other.longestRevision_;
        other.ReleaseStorage();
    }
    return *this;
}

void TLightStrings::Error() const {
    throw ListIndexError();
}

void TLightStrings::Touch() {
    static std::atomic<std::uint64_t> last{0};
    revision_ = ++last;
}

void TLightStrings::CheckIndex(int index, int last) const {
    if (index < 0 || index > last) {
        Error();
    }
}

std::string_view TLightStrings::LineAt(size_t index) const {
    const Record r = records_[index];
    if (IsOwned(r)) {
        return owned_[OwnedIndex(r)];
    }
    const size_t length = PackedLength(r);
    return length == 0 ? std::string_view()
                       : std::string_view(bytes_.get() + PackedOffset(r), length);
}

std::string_view TLightStrings::View(int index) const {
    CheckIndex(index, Count() - 1);
    return LineAt(static_cast<size_t>(index));
}

std::string TLightStrings::Get(int index) const {
    return std::string(View(index));
}

TLightStrings::Record TLightStrings::Own(std::string line) {
    if (line.empty()) {
        return 0;
    }
    if (!freeOwned_.empty()) {
        const std::uint32_t index = freeOwned_.back();
        owned_[index] = std::move(line);
        freeOwned_.pop_back();
        return Owned(index);
    }
    const auto index = static_cast<std::uint32_t>(owned_.size());
    owned_.push_back(std::move(line));
    if (freeOwned_.capacity() < owned_.size()) {
        // Disown must not fail, so its list of free slots has room for all.
        freeOwned_.reserve(owned_.capacity());
    }
    return Owned(index);
}

void TLightStrings::Disown(Record record) {
    if (IsOwned(record)) {
        const std::uint32_t index = OwnedIndex(record);
        std::string().swap(owned_[index]);
        freeOwned_.push_back(index);
    }
}

void TLightStrings::DropTextWhenEmpty() {
    if (records_.empty()) {
        bytes_.reset();
        bytesCapacity_ = 0;
        owned_ = {};
        freeOwned_ = {};
    }
}

void TLightStrings::ReleaseStorage() {
    records_ = {};
    capacity_ = 0;
    bytes_.reset();
    bytesCapacity_ = 0;
    owned_ = {};
    freeOwned_ = {};
    Touch();
}

void TLightStrings::Grow() {
    if (capacity_ >= MaxListSize) {
        Error();
    }
    SetCapacity(std::min(capacity_ + kGrowth, MaxListSize));
}

int TLightStrings::Add(std::string_view line) {
    // `line` may lie in this list's own storage: it is copied first.
    return AddTaken(std::string(line));
}

int TLightStrings::AddTaken(std::string line) {
    if (Count() == capacity_) {
        Grow();
    }
    records_.push_back(Own(std::move(line)));
    Touch();
    return Count() - 1;
}

void TLightStrings::Insert(int index, std::string_view line) {
    CheckIndex(index, Count());
    std::string copy(line);
    if (Count() == capacity_) {
        Grow();
    }
    records_.insert(records_.begin() + index, Own(std::move(copy)));
    Touch();
}

void TLightStrings::Put(int index, std::string_view line) {
    CheckIndex(index, Count() - 1);
    std::string copy(line);
    Record& r = records_[static_cast<size_t>(index)];
    if (IsOwned(r)) {
        owned_[OwnedIndex(r)] = std::move(copy);
    } else {
        r = Own(std::move(copy));
    }
    Touch();
}

void TLightStrings::Delete(int index) {
    CheckIndex(index, Count() - 1);
    Disown(records_[static_cast<size_t>(index)]);
    records_.erase(records_.begin() + index);
    Touch();
    DropTextWhenEmpty();
}

void TLightStrings::Exchange(int index1, int index2) {
    CheckIndex(index1, Count() - 1);
    CheckIndex(index2, Count() - 1);
    if (index1 != index2) {
        std::swap(records_[static_cast<size_t>(index1)], records_[static_cast<size_t>(index2)]);
        Touch();
    }
}

void TLightStrings::Clear() {
    ReleaseStorage();
}

void TLightStrings::SetCapacity(int capacity) {
    if (capacity > MaxListSize || capacity < Count()) {
        Error();
    }
    if (capacity == capacity_) {
        return;
    }
    const auto wanted = static_cast<size_t>(capacity);
    if (wanted > records_.capacity()) {
        // Growth in steps of 32 slots must not copy the records every time.
        records_.reserve(std::max(wanted, records_.capacity() + records_.capacity() / 2));
    }
    capacity_ = capacity;
}

void TLightStrings::SetCount(int count) {
    if (count < 0 || count > MaxListSize) {
        Error();
    }
    if (count > capacity_) {
        SetCapacity(count);
    }
    const auto wanted = static_cast<size_t>(count);
    for (size_t i = wanted; i < records_.size(); ++i) {
        Disown(records_[i]);
    }
    records_.resize(wanted, Record{0});
    Touch();
    DropTextWhenEmpty();
}

int TLightStrings::IndexOf(std::string_view line) const {
    for (size_t i = 0; i < records_.size(); ++i) {
        if (LineAt(i) == line) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

size_t TLightStrings::LongestLine() const {
    if (longestRevision_ != revision_) {
        longest_ = 0;
        for (size_t i = 0; i < records_.size(); ++i) {
            longest_ = std::max(longest_, LineAt(i).size());
        }
        longestRevision_ = revision_;
    }
    return longest_;
}

std::string TLightStrings::GetText() const {
    size_t total = 0;
    for (size_t i = 0; i < records_.size(); ++i) {
        total += LineAt(i).size() + 2;
    }
    std::string text;
    text.reserve(total);
    for (size_t i = 0; i < records_.size(); ++i) {
        text.append(LineAt(i));
        text.append("\r\n");
    }
    return text;
}

void TLightStrings::SetText(std::string_view text) {
    text = UpToNul(text);
    if (text.empty()) {
        Clear();
        return;
    }
    // Copied before the old text is let go: `text` may lie inside it.
    Bytes bytes(static_cast<char*>(detail::AllocateBlock(text.size())));
    std::memcpy(bytes.get(), text.data(), text.size());
    ForgetLines();
    bytes_ = std::move(bytes);
    bytesCapacity_ = text.size();
    PrepareRecords(text.size());
    LineScanner scanner(records_, text.size());
    scanner.Scan(bytes_.get(), text.size(), true);
    FinishLoad(scanner, text.size());
}

std::string TLightStrings::GetCommaText() const {
    size_t total = 0;
    for (size_t i = 0; i < records_.size(); ++i) {
        total += LineAt(i).size() + 3;
    }
    std::string text;
    text.reserve(total);
    for (size_t i = 0; i < records_.size(); ++i) {
        const std::string_view line = LineAt(i);
        if (line.find_first_of(" ,") != std::string_view::npos) {
            text += '"';
            text.append(line);
            text += '"';
        } else {
            text.append(line);
        }
        text += ',';
    }
    if (!text.empty()) {
        text.pop_back();
    }
    return text;
}

void TLightStrings::SetCommaText(std::string_view text) {
    const std::string copy(UpToNul(text));
    Clear();
    size_t place = 0;
    while (place < copy.size()) {
        const bool quoted = copy[place] == '"';
        if (quoted) {
            ++place;
        }
        size_t end = place;
        while (end < copy.size() && copy[end] != '\r' && copy[end] != '"' &&
               (quoted || copy[end] != ',')) {
            ++end;
        }
        Add(std::string_view(copy).substr(place, end - place));
        place = end + (quoted ? 2 : 1);
    }
}

void TLightStrings::ForgetLines() {
    Touch();
    records_.clear();
    capacity_ = 0;
    owned_ = {};
    freeOwned_ = {};
}

// Makes the records' whole allocation writable for the scanner: the old one
// when it is kept, else one slot per 28 bytes of text.
void TLightStrings::PrepareRecords(size_t expectedSize) {
    records_.resize(std::max(records_.capacity(), expectedSize / kBytesPerReservedSlot + 64));
}

void TLightStrings::FinishLoad(const detail::LineScanner& scanner, size_t size) {
    Touch();
    const size_t count = scanner.Count();
    if (count > static_cast<size_t>(MaxListSize)) {
        ReleaseStorage();
        Error();
    }
    records_.resize(count);
    if (scanner.Unpackable()) {
        // Rare: a line of 8 MB or more. Such lines get strings of their own.
        records_.clear();
        ForEachLine(bytes_.get(), size, [this](size_t start, size_t end) {
            records_.push_back(Packable(start, end - start)
                                   ? Packed(start, end - start)
                                   : Own(std::string(bytes_.get() + start, end - start)));
        });
    }
    capacity_ = static_cast<int>(count);
    if (count == 0) {
        ReleaseStorage();
        return;
    }
    if (!keepStorage_ && records_.capacity() - count > count / 4 + 64) {
        records_.shrink_to_fit();
    }
    longest_ = scanner.Longest();
    longestRevision_ = revision_;
}

void TLightStrings::LoadFromFile(const std::filesystem::path& path) {
    ForgetLines();
    try {
        const FileDescriptor file = OpenRegularFile(path);
        struct stat status {};
        if (::fstat(file.Get(), &status) != 0) {
            throw IoError(path, errno);
        }
        ReadLines(file.Get(), path, static_cast<size_t>(status.st_size));
    } catch (...) {
        ReleaseStorage();
        throw;
    }
}

void TLightStrings::ReadLines(int fd, const std::filesystem::path& path, size_t expectedSize) {
    // One spare byte, so that the read that meets the end finds room.
    const size_t wanted = expectedSize + 1;
    // A store that reloads files of about the same size keeps its blocks and
    // touches no fresh memory.
    if (!bytes_ || bytesCapacity_ < wanted ||
        (!keepStorage_ && bytesCapacity_ > wanted + wanted / 4 + kReadChunk)) {
        bytes_.reset();
        bytesCapacity_ = 0;
        bytes_.reset(static_cast<char*>(detail::AllocateBlock(wanted)));
        bytesCapacity_ = wanted;
    }
    PrepareRecords(expectedSize);
    LineScanner scanner(records_, expectedSize);
    size_t size = 0;
    for (;;) {
        if (size == bytesCapacity_) {
            GrowBytes(size + size / 2 + kReadChunk, size);
        }
        const size_t got =
            ReadSome(fd, bytes_.get() + size, std::min(kReadChunk, bytesCapacity_ - size), path);
        if (got == 0) {
            break;
        }
        size += got;
        scanner.Scan(bytes_.get(), size, false);
    }
    scanner.Scan(bytes_.get(), size, true);
    FinishLoad(scanner, size);
}

void TLightStrings::MakeRoomFor(size_t fileSize) {
    ForgetLines();
    const size_t wanted = fileSize + 1;
    if (bytesCapacity_ < wanted) {
        bytes_.reset();
        bytesCapacity_ = 0;
        bytes_.reset(static_cast<char*>(detail::AllocateBlock(wanted)));
        bytesCapacity_ = wanted;
    }
    PrepareRecords(fileSize);
    TouchPages(bytes_.get(), bytesCapacity_);
    TouchPages(records_.data(), records_.size() * sizeof(Record));
    records_.clear();
}

void TLightStrings::GrowBytes(size_t capacity, size_t used) {
    Bytes bytes(static_cast<char*>(detail::AllocateBlock(capacity)));
    std::memcpy(bytes.get(), bytes_.get(), used);
    bytes_ = std::move(bytes);
    bytesCapacity_ = capacity;
}

void TLightStrings::SaveToFile(const std::filesystem::path& path) const {
    FileDescriptor file = OpenForWriting(path);
    std::string buffer;
    buffer.reserve(kWriteBuffer);
    for (size_t i = 0; i < records_.size(); ++i) {
        const std::string_view line = LineAt(i);
        if (buffer.size() + line.size() + 2 > kWriteBuffer) {
            WriteAll(file.Get(), buffer, path);
            buffer.clear();
        }
        if (line.size() + 2 > kWriteBuffer) {
            WriteAll(file.Get(), line, path);
        } else {
            buffer.append(line);
        }
        buffer.append("\r\n");
    }
    WriteAll(file.Get(), buffer, path);
    if (file.Close() != 0) {
        throw IoError(path, errno);
    }
}

void TLightStrings::LoadFromStream(std::istream& stream) {
    std::string text;
    char chunk[65536];
    while (stream.read(chunk, sizeof chunk) || stream.gcount() > 0) {
        text.append(chunk, static_cast<size_t>(stream.gcount()));
    }
    if (stream.bad()) {
        throw std::ios_base::failure(component_text::kStreamRead);
    }
    stream.clear();  // the end was reached; the stream stays usable
    SetText(text);
}

void TLightStrings::SaveToStream(std::ostream& stream) const {
    for (size_t i = 0; i < records_.size() && stream; ++i) {
        const std::string_view line = LineAt(i);
        stream.write(line.data(), static_cast<std::streamsize>(line.size()));
        stream.write("\r\n", 2);
    }
    if (!stream) {
        throw std::ios_base::failure(component_text::kStreamWrite);
    }
}

void TLightStrings::AssignTo(std::vector<std::string>& dest) const {
    dest.clear();
    dest.reserve(records_.size());
    for (size_t i = 0; i < records_.size(); ++i) {
        dest.emplace_back(LineAt(i));
    }
}

}  // namespace tovix
