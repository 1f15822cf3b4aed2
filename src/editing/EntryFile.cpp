// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/EntryFile.h"

#include <cstring>

#include "components/LineScanner.h"
#include "editing/EntryOrder.h"

namespace tovix {
namespace {

// The start of every line, by the view's rules: an LF ends a line (with a CR
// just before it), a CR not followed by an LF ends one too, and a final line
// end adds no empty line. Found with memchr, for a text with a line too long
// for the line store's scanner's records.
detail::LineRecords LineStartsOfLongLines(std::string_view text) {
    detail::LineRecords starts;
    starts.reserve(text.size() / 32);
    const char* base = text.data();
    const size_t size = text.size();
    size_t start = 0;
    while (start < size) {
        const auto* lf = static_cast<const char*>(std::memchr(base + start, '\n', size - start));
        const size_t lineFeed = lf != nullptr ? static_cast<size_t>(lf - base) : size;
        // Lone CRs before the LF end lines of their own.
        while (start < lineFeed) {
            const auto* cr =
                static_cast<const char*>(std::memchr(base + start, '\r', lineFeed - start));
            if (cr == nullptr || (lf != nullptr && cr + 1 == lf)) {
                break;
            }
            starts.push_back(start);
            start = static_cast<size_t>(cr - base) + 1;
        }
        if (lf == nullptr) {
            if (start < size) {
                starts.push_back(start);
            }
            break;
        }
        starts.push_back(start);
        start = lineFeed + 1;
    }
    return starts;
}

bool EndsWithLineEnd(std::string_view text) {
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

}  // namespace

// The lines are found by the line store's scanner, which tests 64 bytes at a
// time, and its records are kept as they are; a text with a line too long for
// a record is split again with memchr.
EntryFile::EntryFile(std::string bytes, size_t linesPerEntry, bool jpnOrder)
    : bytes_(std::move(bytes)), linesPerEntry_(linesPerEntry), jpnOrder_(jpnOrder) {
    detail::LineScanner scanner(starts_, bytes_.size());
    scanner.Scan(bytes_.data(), bytes_.size(), true);
    packed_ = !scanner.Unpackable();
    if (packed_) {
        starts_.resize(scanner.Count());
    } else {
        starts_ = LineStartsOfLongLines(bytes_);
    }
}

std::string_view EntryFile::Line(size_t i) const {
    const std::string_view text(bytes_);
    if (packed_) {
        return text.substr(detail::PackedOffset(starts_[i]), detail::PackedLength(starts_[i]));
    }
    size_t end = Start(i + 1);
    // Take the line end off: LF, CR LF or CR; the last line may have none.
    if (end > Start(i) && text[end - 1] == '\n') {
        --end;
        if (end > Start(i) && text[end - 1] == '\r') {
            --end;
        }
    } else if (end > Start(i) && text[end - 1] == '\r') {
        --end;
    }
    return text.substr(Start(i), end - Start(i));
}

bool EntryFile::EntryIs(size_t k, const std::vector<std::string>& lines) const {
    if (k >= EntryCount() || lines.size() > linesPerEntry_) {
        return false;
    }
    const size_t first = k * linesPerEntry_;
    const size_t count = std::min(linesPerEntry_, LineCount() - first);
    if (count != lines.size()) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        if (Line(first + i) != lines[i]) {
            return false;
        }
    }
    return true;
}

std::string EntryFile::Joined(size_t k) const {
    std::string joined;
    const size_t end = std::min((k + 1) * linesPerEntry_, LineCount());
    for (size_t i = k * linesPerEntry_; i < end; ++i) {
        joined += Line(i);
    }
    return joined;
}

std::string EntryFile::Joined(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) {
        joined += line;
    }
    return joined;
}

size_t EntryFile::InsertBefore(std::optional<size_t> remove, const std::string& joined) const {
    // Only whole entries take part: a short last one stays last.
    const size_t whole = LineCount() / linesPerEntry_;
    const bool removedWhole = remove && *remove < whole;
    const size_t count = whole - (removedWhole ? 1 : 0);
    const auto real = [&](size_t v) { return removedWhole && v >= *remove ? v + 1 : v; };
    EntryOrder order(jpnOrder_);
    size_t low = 0;
    size_t high = count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (order.Compare(joined, Joined(real(middle))) < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return real(low);
}

void EntryFile::WriteEdited(LineWriter& out, std::optional<size_t> remove,
                            const std::vector<std::string>& insert) const {
    const std::string_view text(bytes_);
    const size_t removeFrom = remove ? EntryStart(*remove) : text.size();
    const size_t removeTo = remove ? EntryStart(*remove + 1) : text.size();
    std::string entry;
    for (const std::string& line : insert) {
        entry += line;
        entry += "\r\n";
    }
    const size_t insertAt =
        insert.empty() ? text.size() : EntryStart(InsertBefore(remove, Joined(insert)));
    // The pieces in file order, the removed entry left out; an entry put after
    // a last line without a line end first ends that line.
    std::string_view written;
    const auto write = [&](std::string_view piece) {
        if (piece.empty()) {
            return;
        }
        // A lone CR that would meet an LF would end one line where it ended
        // two: it becomes CR LF, and the LF still ends the next line.
        if (!written.empty() && written.back() == '\r' && piece.front() == '\n') {
            out.Write("\n");
        }
        out.Write(piece);
        written = piece;
    };
    const auto writeEntry = [&] {
        if (entry.empty()) {
            return;
        }
        if (!written.empty() && !EndsWithLineEnd(written)) {
            write("\r\n");
        }
        write(entry);
    };
    if (insertAt <= removeFrom) {
        write(text.substr(0, insertAt));
        writeEntry();
        write(text.substr(insertAt, removeFrom - insertAt));
        write(text.substr(removeTo));
    } else {
        write(text.substr(0, removeFrom));
        write(text.substr(removeTo, insertAt - removeTo));
        writeEntry();
        write(text.substr(insertAt));
    }
}

}  // namespace tovix
