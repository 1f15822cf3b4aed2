// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/JpnEntryOrder.h"

#include "components/MbString.h"

namespace tovix {

namespace {

struct HeadParts {
    std::string_view head;
    std::string_view translation;
    size_t open;
    std::string_view reading;
};

HeadParts SplitHead(std::string_view line) {
    const size_t tab = MbFind("\t", line);
    HeadParts parts{line.substr(0, tab), {}, 0, {}};
    if (tab != std::string_view::npos) {
        parts.translation = line.substr(tab + 1);
    }
    parts.open = MbFind("[", parts.head);
    parts.reading = parts.head.substr(0, parts.open);
    while (!parts.reading.empty() && parts.reading.back() == ' ') {
        parts.reading.remove_suffix(1);
    }
    return parts;
}

}  // namespace

std::string_view JpnOrderReading(std::string_view line) {
    return SplitHead(line).reading;
}

void AppendJpnOrderLine(std::string_view line, std::string& out) {
    const auto [head, translation, open, reading] = SplitHead(line);
    std::string_view written;
    if (open != std::string_view::npos) {
        written = head.substr(open + 1);
        written = written.substr(0, MbFind("]", written));
    }
    out.append(reading);
    out += '\t';
    out += translation.starts_with("(P)") ? '0' : '1';
    out.append(written);
    out += '\t';
    out.append(translation);
    out += '\t';
    out.append(line);
}

std::string JpnOrderLine(std::string_view line) {
    std::string out;
    AppendJpnOrderLine(line, out);
    return out;
}

}  // namespace tovix
