#include "components/LightStrings.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/IoError.h"

namespace tovix {
namespace {

using Record = std::uint64_t;
using RecordVector = std::vector<Record, detail::BlockAllocator<Record>>;

// A record is either packed, an offset and a length into the loaded text
// (bit 63 clear, offset in bits 23..62, length in bits 0..22), or owned, an
// index into the list of owned strings (bit 63 set, index in bits 0..31).
// The record 0 is an empty line.
constexpr int kLengthBits = 23;
constexpr size_t kMaxPackedLength = (size_t{1} << kLengthBits) - 1;
constexpr int kOffsetBits = 40;
constexpr Record kOwnedFlag = Record{1} << 63;

constexpr Record Packed(size_t offset, size_t length) {
    return (Record{offset} << kLengthBits) | length;
}
constexpr bool IsOwned(Record r) {
    return (r & kOwnedFlag) != 0;
}
constexpr size_t PackedOffset(Record r) {
    return r >> kLengthBits;
}
constexpr size_t PackedLength(Record r) {
    return r & kMaxPackedLength;
}
constexpr std::uint32_t OwnedIndex(Record r) {
    return static_cast<std::uint32_t>(r);
}
constexpr bool Packable(size_t offset, size_t length) {
    return length <= kMaxPackedLength && (offset >> kOffsetBits) == 0;
}

constexpr int kGrowth = 32;
constexpr size_t kBytesPerReservedSlot = 28;
constexpr size_t kReadChunk = 256 * 1024;
constexpr size_t kHugePage = 2 * 1024 * 1024;
constexpr size_t kHugeBlockMinimum = 2 * kHugePage;
constexpr size_t kWriteBuffer = 64 * 1024;

const char kIndexMessage[] = "インデックスがリストの範囲を超えています";
const char kStreamReadMessage[] = "ストリームから読み込めません";
const char kStreamWriteMessage[] = "ストリームに書き込めません";

std::string_view UpToNul(std::string_view text) {
    const void* nul = std::memchr(text.data(), '\0', text.size());
    return nul ? text.substr(0, static_cast<const char*>(nul) - text.data()) : text;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now and returns close's result, so that a late write error
    // (reported only by close on some file systems) is not lost.
    int Close() { return ::close(std::exchange(fd_, -1)); }

  private:
    int fd_;
};

// Bit masks of the LF and the CR bytes in 64 bytes of text (bit i for byte i).
struct LineEndMasks {
    std::uint64_t lf;
    std::uint64_t cr;
};

#if defined(__SSE2__)
inline std::uint64_t ByteMask16(const char* bytes, __m128i wanted) {
    const __m128i loaded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(loaded, wanted)));
}

inline std::uint64_t ByteMask(const char* block, char c) {
    const __m128i wanted = _mm_set1_epi8(c);
    return ByteMask16(block, wanted) | (ByteMask16(block + 16, wanted) << 16) |
           (ByteMask16(block + 32, wanted) << 32) | (ByteMask16(block + 48, wanted) << 48);
}

inline LineEndMasks FindLineEnds(const char* block) {
    return {ByteMask(block, '\n'), ByteMask(block, '\r')};
}
#else
LineEndMasks FindLineEnds(const char* block) {
    LineEndMasks masks{0, 0};
    for (int i = 0; i < 64; ++i) {
        masks.lf |= std::uint64_t{block[i] == '\n'} << i;
        masks.cr |= std::uint64_t{block[i] == '\r'} << i;
    }
    return masks;
}
#endif

// Splits text into packed line records while the text is still being read.
// A line ends at an LF (dropping a CR just before it) or at a CR that is not
// followed by an LF. Blocks of 64 bytes are scanned as soon as the byte after
// them is there (a CR at a block's end depends on it); the rest at the end.
// Records are written into `records` from index 0, growing it as needed.
class LineScanner {
  public:
    LineScanner(RecordVector& records, size_t expectedSize)
        : records_(records), expectedSize_(expectedSize) {}

    void Scan(const char* text, size_t available, bool final) {
        size_t block = next_;
        size_t lineStart = lineStart_;
        size_t count = count_;
        std::uint64_t crAtBlockEnd = crAtBlockEnd_;
        // Offsets beyond a record's reach: every later line is unpackable.
        std::uint64_t unpackable = unpackable_ | (available >> kOffsetBits);
        Record* out = records_.data();
        while (block + 64 < available || (final && block + 64 <= available)) {
            if (count + 65 > records_.size()) {
                out = MakeRoom(count, block);
            }
            const LineEndMasks ends = FindLineEnds(text + block);
            const std::uint64_t lfAfter = block + 64 < available && text[block + 64] == '\n';
            const std::uint64_t crBeforeLf = ((ends.cr << 1) | crAtBlockEnd) & ends.lf;
            std::uint64_t stops = ends.lf | (ends.cr & ~((ends.lf >> 1) | (lfAfter << 63)));
            crAtBlockEnd = ends.cr >> 63;
            while (stops != 0) {
                const int bit = std::countr_zero(stops);
                stops &= stops - 1;
                const size_t stop = block + bit;
                const size_t length = stop - ((crBeforeLf >> bit) & 1) - lineStart;
                unpackable |= length >> kLengthBits;
                out[count++] = Packed(lineStart, length);
                lineStart = stop + 1;
            }
            block += 64;
        }
        if (final) {
            if (count + 65 > records_.size()) {
                out = MakeRoom(count, block);
            }
            for (; block < available; ++block) {
                const char c = text[block];
                const bool lf = c == '\n';
                if (lf || (c == '\r' && (block + 1 == available || text[block + 1] != '\n'))) {
                    const size_t end = block - (lf && block > 0 && text[block - 1] == '\r');
                    unpackable |= (end - lineStart) >> kLengthBits;
                    out[count++] = Packed(lineStart, end - lineStart);
                    lineStart = block + 1;
                }
            }
            if (lineStart < available) {
                unpackable |= (available - lineStart) >> kLengthBits;
                out[count++] = Packed(lineStart, available - lineStart);
                lineStart = available;
            }
        }
        next_ = block;
        lineStart_ = lineStart;
        count_ = count;
        crAtBlockEnd_ = crAtBlockEnd;
        unpackable_ = unpackable;
    }

    size_t Count() const { return count_; }
    // Some line is too long, or starts too far into the text, for a record.
    bool Unpackable() const { return unpackable_ != 0; }

  private:
    // Grows the records to the count that the density of lines so far
    // projects for the whole text, and at least by a quarter.
    Record* MakeRoom(size_t count, size_t scanned) {
        size_t wanted = records_.size() + records_.size() / 4 + 64;
        if (scanned > 0 && expectedSize_ > scanned) {
            const double projected = static_cast<double>(count) / static_cast<double>(scanned) *
                                     static_cast<double>(expectedSize_);
            wanted = std::max(wanted, static_cast<size_t>(projected * 1.02) + 64);
        }
        records_.resize(std::max(wanted, count + 65));
        return records_.data();
    }

    RecordVector& records_;
    size_t expectedSize_;
    size_t next_ = 0;
    size_t lineStart_ = 0;
    size_t count_ = 0;
    std::uint64_t crAtBlockEnd_ = 0;
    std::uint64_t unpackable_ = 0;
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

void WriteAll(int fd, const char* data, size_t size, const std::filesystem::path& path) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoError(path, errno);
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
}

}  // namespace

ListIndexError::ListIndexError() : std::out_of_range(kIndexMessage) {}

namespace detail {

void* AllocateBlock(size_t bytes) {
    void* block = nullptr;
    if (bytes >= kHugeBlockMinimum) {
        const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        block = std::aligned_alloc(kHugePage, rounded);
#if defined(MADV_HUGEPAGE)
        if (block) {
            ::madvise(block, rounded, MADV_HUGEPAGE);
        }
#endif
    } else {
        block = std::malloc(std::max<size_t>(bytes, 1));
    }
    if (!block) {
        throw std::bad_alloc();
    }
    return block;
}

void FreeBlock(void* block) noexcept {
    std::free(block);
}

}  // namespace detail

TLightStrings::TLightStrings(TLightStrings&& other) noexcept
    : records_(std::move(other.records_)),
      capacity_(std::exchange(other.capacity_, 0)),
      bytes_(std::move(other.bytes_)),
      bytesCapacity_(std::exchange(other.bytesCapacity_, 0)),
      owned_(std::move(other.owned_)),
      freeOwned_(std::move(other.freeOwned_)),
      revision_(other.revision_) {
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
        return kOwnedFlag | index;
    }
    const auto index = static_cast<std::uint32_t>(owned_.size());
    owned_.push_back(std::move(line));
    if (freeOwned_.capacity() < owned_.size()) {
        // Disown must not fail, so its list of free slots has room for all.
        freeOwned_.reserve(owned_.capacity());
    }
    return kOwnedFlag | index;
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
    std::string copy(line);  // `line` may lie in this list's own storage
    if (Count() == capacity_) {
        Grow();
    }
    records_.push_back(Own(std::move(copy)));
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
    FinishLoad(scanner.Count(), scanner.Unpackable(), text.size());
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

void TLightStrings::FinishLoad(size_t count, bool unpackable, size_t size) {
    Touch();
    if (count > static_cast<size_t>(MaxListSize)) {
        ReleaseStorage();
        Error();
    }
    records_.resize(count);
    if (unpackable) {
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
    if (records_.capacity() - count > count / 4 + 64) {
        records_.shrink_to_fit();
    }
}

void TLightStrings::LoadFromFile(const std::filesystem::path& path) {
    ForgetLines();
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0) {
        const int error = errno;
        ReleaseStorage();
        throw IoError(path, error);
    }
    const size_t expectedSize = S_ISREG(status.st_mode) ? static_cast<size_t>(status.st_size) : 0;
    try {
        ReadLines(file.Get(), path, expectedSize);
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
    if (!bytes_ || bytesCapacity_ < wanted || bytesCapacity_ > wanted + wanted / 4 + kReadChunk) {
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
        const ssize_t got =
            ::read(fd, bytes_.get() + size, std::min(kReadChunk, bytesCapacity_ - size));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoError(path, errno);
        }
        if (got == 0) {
            break;
        }
        size += static_cast<size_t>(got);
        scanner.Scan(bytes_.get(), size, false);
    }
    scanner.Scan(bytes_.get(), size, true);
    FinishLoad(scanner.Count(), scanner.Unpackable(), size);
}

void TLightStrings::GrowBytes(size_t capacity, size_t used) {
    Bytes bytes(static_cast<char*>(detail::AllocateBlock(capacity)));
    std::memcpy(bytes.get(), bytes_.get(), used);
    bytes_ = std::move(bytes);
    bytesCapacity_ = capacity;
}

void TLightStrings::SaveToFile(const std::filesystem::path& path) const {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.Get() < 0) {
        throw IoError(path, errno);
    }
    std::string buffer;
    buffer.reserve(kWriteBuffer);
    for (size_t i = 0; i < records_.size(); ++i) {
        const std::string_view line = LineAt(i);
        if (buffer.size() + line.size() + 2 > kWriteBuffer) {
            WriteAll(file.Get(), buffer.data(), buffer.size(), path);
            buffer.clear();
        }
        if (line.size() + 2 > kWriteBuffer) {
            WriteAll(file.Get(), line.data(), line.size(), path);
        } else {
            buffer.append(line);
        }
        buffer.append("\r\n");
    }
    WriteAll(file.Get(), buffer.data(), buffer.size(), path);
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
        throw std::ios_base::failure(kStreamReadMessage);
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
        throw std::ios_base::failure(kStreamWriteMessage);
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
