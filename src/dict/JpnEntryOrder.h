// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The order of a Japanese-English dictionary's entries: by the reading with
// every level of the collation, then the common words (translation led by
// "(P)") before the others, then by the written form, then by the
// translation. The entries of one reading thus stand together (かんじ: 幹事,
// 感じ, 漢字, then 冠辞 ...), where an order by the whole headword line
// interleaved them with those of readings that differ only in voicing
// (かんし).
//
// The order is had by sorting, in the dictionary collation, the line this
// gives for each entry's work line (headword TAB translation): the reading,
// TAB, "0" for a common word or "1", the written form, TAB, the translation,
// TAB, the work line itself (so that lines that tie stand in the order of
// their bytes). A headword without "[" is its own reading with no written
// form.

#include <string>
#include <string_view>

namespace tovix {

void AppendJpnOrderLine(std::string_view line, std::string& out);
std::string JpnOrderLine(std::string_view line);

// The reading the order line of `line` begins with (a part of `line`): the
// headword up to its "[", without blanks at its end.
std::string_view JpnOrderReading(std::string_view line);

}  // namespace tovix
