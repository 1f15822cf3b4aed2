// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ZoomLines.h"

#include <algorithm>

#include "components/CharBoundary.h"
#include "components/MbString.h"
#include "dict/KanaText.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

using Lines = std::vector<std::string>;

constexpr std::string_view kComma = ",";
constexpr std::string_view kSlash = " / ";

bool Holds(std::string_view text, std::string_view marker) {
    return MbFind(marker, text) != std::string_view::npos;
}

// A line after every comma, the comma kept at the end of its line; what
// follows the last comma is the last line, also when it is empty.
Lines CommaRule(std::string_view text) {
    Lines out;
    for (size_t at = MbFind(kComma, text); at != std::string_view::npos;
         at = MbFind(kComma, text)) {
        out.emplace_back(text.substr(0, at + kComma.size()));
        text.remove_prefix(at + kComma.size());
    }
    out.emplace_back(text);
    return out;
}

// Each marker on a line of its own, between the text before it (empty when
// the marker comes first) and the text after it. A line without a marker
// moves on as it is, uncopied (a translation may be very long).
Lines MarkerLinePass(Lines in, std::string_view marker) {
    Lines out;
    for (std::string& whole : in) {
        std::string_view line = whole;
        size_t at = MbFind(marker, line);
        if (at == std::string_view::npos) {
            out.push_back(std::move(whole));
            continue;
        }
        for (; at != std::string_view::npos; at = MbFind(marker, line)) {
            out.emplace_back(line.substr(0, at));
            out.emplace_back(marker);
            line.remove_prefix(at + marker.size());
        }
        out.emplace_back(line);
    }
    return out;
}

// A new line at every separator, which begins it; no empty line when a line
// begins with the separator. A line without one moves on uncopied.
Lines SplitBeforePass(Lines in, std::string_view separator) {
    Lines out;
    for (std::string& whole : in) {
        std::string_view line = whole;
        size_t at = MbFind(separator, line);
        if (at == std::string_view::npos) {
            out.push_back(std::move(whole));
            continue;
        }
        if (at > 0) {
            out.emplace_back(line.substr(0, at));
            line.remove_prefix(at);
        }
        // The line begins with the separator; the next one ends the piece.
        for (at = MbFind(separator, line.substr(separator.size())); at != std::string_view::npos;
             at = MbFind(separator, line.substr(separator.size()))) {
            out.emplace_back(line.substr(0, separator.size() + at));
            line.remove_prefix(separator.size() + at);
        }
        out.emplace_back(line);
    }
    return out;
}

Lines PdicPasses(std::string_view translation) {
    Lines lines{std::string(translation)};
    lines = MarkerLinePass(std::move(lines), TOVIX_CP932("●"));
    lines = MarkerLinePass(std::move(lines), TOVIX_CP932("◆"));
    lines = SplitBeforePass(std::move(lines), kSlash);
    lines = SplitBeforePass(std::move(lines), TOVIX_CP932("【"));
    return SplitBeforePass(std::move(lines), TOVIX_CP932("《"));
}

// Whether one of the markers, double-byte characters that share their lead
// byte, stands at a character boundary: one pass over that byte, which stops
// at the first marker found.
bool HoldsMarker(std::string_view text, const std::vector<std::string>& markers) {
    const char lead = markers.front().front();
    size_t known = 0;  // a character boundary
    for (size_t at = text.find(lead); at != std::string_view::npos; at = text.find(lead, at + 1)) {
        const std::string_view found = text.substr(at, 2);
        if (std::find(markers.begin(), markers.end(), found) == markers.end()) {
            continue;
        }
        if (IsCharBoundary(text, known, at)) {
            return true;
        }
        // A trail byte: the next byte begins a character.
        known = at + 1;
    }
    return false;
}

// Whether " / " stands at a character boundary. Its slash is looked for,
// which is rare in a translation, rather than its blank, which is not.
bool HoldsSlash(std::string_view text) {
    size_t known = 0;  // a character boundary
    for (size_t at = text.find('/', 1); at != std::string_view::npos; at = text.find('/', at + 1)) {
        const size_t start = at - 1;
        if (text.substr(start, kSlash.size()) != kSlash) {
            continue;
        }
        if (IsCharBoundary(text, known, start)) {
            return true;
        }
        known = at;
    }
    return false;
}

// A translation laid out as in the [PDIC] dictionaries; "、" only tells, no
// pass breaks at it. A long translation is looked through only as far as the
// answer needs: the markers in one pass up to the first, then " / " and ","
// by their rarer bytes.
bool LooksLikePdic(std::string_view translation) {
    static const std::vector<std::string> kMarkers = {TOVIX_CP932("◆"), TOVIX_CP932("【"),
                                                      TOVIX_CP932("、"), TOVIX_CP932("●"),
                                                      TOVIX_CP932("《")};
    return HoldsMarker(translation, kMarkers) ||
           (HoldsSlash(translation) && !Holds(translation, kComma));
}

}  // namespace

std::vector<std::string> BreakTranslation(std::string_view translation, ZoomRule rule) {
    switch (rule) {
        case ZoomRule::Pdic:
            return PdicPasses(translation);
        case ZoomRule::Exm:
            return CommaRule(translation);
        case ZoomRule::Tovix:
            break;
    }
    return LooksLikePdic(translation) ? PdicPasses(translation) : CommaRule(translation);
}

std::vector<std::string> ZoomLines(const LookupView& view, ZoomRule rule) {
    const LineCount count = view.ViewLineCount();
    if (count.Empty()) {
        return {};
    }
    const ViewLineIndex top = view.TopLine();
    const ViewLineIndex headword = top.value % 2 == 1 ? top - 1 : top;
    Lines lines{std::string(view.ViewLine(headword)), std::string()};
    const std::string translation =
        headword + 1 < count ? FirstTabDelete(view.ViewLine(headword + 1)) : std::string();
    for (std::string& line : BreakTranslation(translation, rule)) {
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tovix
