// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BvStrings.h"

#include <algorithm>

#include "components/MbString.h"

namespace tovix {
namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool TBvStrings::Find(std::string_view text, int& line, ByteColumn& column) const {
    if (text.empty()) {
        return false;
    }
    const char lower = AsciiLower(text[0]);
    const char upper = AsciiUpper(text[0]);
    if (line < 0) {
        line = 0;
    }
    for (; line < Count(); ++line, column = ByteColumn(1)) {
        column = std::max(column, ByteColumn(1));
        const std::string_view s = View(line);
        for (size_t p = column.Offset(); p + text.size() <= s.size(); ++p) {
            if ((s[p] == lower || s[p] == upper) &&
                EqualIgnoringAsciiCase(s.substr(p, text.size()), text)) {
                column = ByteColumn::OfOffset(p);
                return true;
            }
        }
    }
    line = Count();
    column = ByteColumn(1);
    return false;
}

void TBvStrings::ReserveFor(size_t added) {
    const size_t wanted = static_cast<size_t>(Count()) + added;
    if (wanted > static_cast<size_t>(MaxListSize)) {
        Error();
    }
    SetCapacity(static_cast<int>(wanted));
}

void TBvStrings::AddStrings(const std::vector<std::string>& list) {
    ReserveFor(list.size());
    for (const std::string& line : list) {
        Add(line);
    }
}

void TBvStrings::AddStrings(std::vector<std::string>&& list) {
    ReserveFor(list.size());
    for (std::string& line : list) {
        AddTaken(std::move(line));
    }
}

void TBvStrings::Assign(const std::vector<std::string>& list) {
    Clear();
    AddStrings(list);
}

void TBvStrings::Assign(std::vector<std::string>&& list) {
    Clear();
    AddStrings(std::move(list));
}

}  // namespace tovix
