// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/JpnEntryOrder.h"

#include "components/MbString.h"

namespace tovix {

void AppendJpnOrderLine(std::string_view line, std::string& out) {
    const size_t tab = MbFind("\t", line);
    const std::string_view head = line.substr(0, tab);
    const std::string_view translation =
        tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
    const size_t open = MbFind("[", head);
    std::string_view reading = head.substr(0, open);
    while (!reading.empty() && reading.back() == ' ') {
        reading.remove_suffix(1);
    }
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
