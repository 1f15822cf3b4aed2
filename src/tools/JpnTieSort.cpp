// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/JpnTieSort.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "dict/JpnEntryOrder.h"
#include "platform/Cp932.h"

namespace tovix {

// A byte that cannot start a double-byte character ends a character, as a
// single byte or as a trail byte; after it, the bytes that can start one pair
// up, lead and next. So the text ends a character when an even number of such
// bytes stand at its end.
bool StandsAlone(std::string_view text) {
    if (text.find('\t') != std::string_view::npos) {
        return false;
    }
    size_t leads = 0;
    while (leads < text.size() && IsLeadByte(text[text.size() - 1 - leads])) {
        ++leads;
    }
    return leads % 2 == 0;
}

// Lines of different readings stand in the order of their readings, which
// the collation compares first (with every level, then by their bytes); the
// readings of the run are sorted once each. A reading that does not stand
// alone is collated only within its whole order line.
void JpnTieSort::Sort(std::span<std::uint32_t> run) {
    readings_.clear();
    for (std::uint32_t line : run) {
        const std::string_view reading = JpnOrderReading(lines_.View(static_cast<int>(line)));
        if (!StandsAlone(reading)) {
            SortByCollation(run);
            return;
        }
        readings_.emplace_back(reading, line);
    }
    std::sort(readings_.begin(), readings_.end());
    groupStarts_.clear();
    readingTexts_.clear();
    for (size_t i = 0; i < readings_.size(); ++i) {
        if (i == 0 || readings_[i].first != readings_[i - 1].first) {
            groupStarts_.push_back(i);
            readingTexts_.push_back(readings_[i].first);
        }
    }
    groupStarts_.push_back(readings_.size());
    groupOrder_.resize(readingTexts_.size());
    std::iota(groupOrder_.begin(), groupOrder_.end(), 0u);
    if (groupOrder_.size() > 1) {
        collation_.SortIndexes(readingTexts_, groupOrder_);
    }
    size_t place = 0;
    for (std::uint32_t group : groupOrder_) {
        const size_t begin = groupStarts_[group];
        const size_t end = groupStarts_[group + 1];
        for (size_t i = begin; i < end; ++i) {
            run[place + i - begin] = readings_[i].second;
        }
        SortOneReading(run.subspan(place, end - begin));
        place += end - begin;
    }
}

// Lines of one reading are ordered by the rest of their order lines (from
// the TAB after the reading on): by the collation, and then by their bytes.
// When the beginnings of the rests' first-level keys differ, they decide.
void JpnTieSort::SortOneReading(std::span<std::uint32_t> group) {
    if (group.size() < 2) {
        return;
    }
    keyed_.clear();
    for (std::uint32_t line : group) {
        const std::string_view text = lines_.View(static_cast<int>(line));
        buffer_.clear();
        AppendJpnOrderLine(text, buffer_);
        key_.clear();
        // The reading holds no TAB (Sort): the rest begins at the first.
        collation_.AppendTextKeyPrefix(std::string_view(buffer_).substr(buffer_.find('\t')),
                                       kKeyBytes, key_);
        Keyed keyed{{}, line};
        std::memcpy(keyed.key.data(), key_.data(), std::min(key_.size(), kKeyBytes));
        keyed_.push_back(keyed);
    }
    std::sort(keyed_.begin(), keyed_.end(),
              [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    for (size_t i = 0; i < keyed_.size(); ++i) {
        group[i] = keyed_[i].line;
    }
    for (size_t i = 0; i < keyed_.size();) {
        size_t end = i + 1;
        while (end < keyed_.size() && keyed_[end].key == keyed_[i].key) {
            ++end;
        }
        if (end - i > 1) {
            SortByCollation(group.subspan(i, end - i));
        }
        i = end;
    }
}

void JpnTieSort::SortByCollation(std::span<std::uint32_t> lines) {
    buffer_.clear();
    ends_.clear();
    for (std::uint32_t line : lines) {
        AppendJpnOrderLine(lines_.View(static_cast<int>(line)), buffer_);
        ends_.push_back(buffer_.size());
    }
    texts_.clear();
    size_t start = 0;
    for (size_t end : ends_) {
        texts_.push_back(std::string_view(buffer_).substr(start, end - start));
        start = end;
    }
    order_.resize(lines.size());
    std::iota(order_.begin(), order_.end(), 0u);
    collation_.SortIndexes(texts_, order_);
    scratch_.assign(lines.begin(), lines.end());
    for (size_t i = 0; i < order_.size(); ++i) {
        lines[i] = scratch_[order_[i]];
    }
}

}  // namespace tovix
