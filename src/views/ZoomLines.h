// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lines of the zoom window: the entry at the top of the main view with
// its headword line as it is, an empty line, then its translation broken into
// short lines by one of three rules. Texts are CP932 bytes; markers are
// looked for character by character, so the bytes of a marker inside other
// characters never break a line.
//
//   comma rule        after every ",": "apple, pear" -> "apple,", " pear"
//   marker line       "●" and "◆" stand on lines of their own:
//                     "名詞●動詞" -> "名詞", "●", "動詞"
//   split before      a new line begins at every " / ", "【" and "《", which
//                     stays at its start: "a / b" -> "a", " / b"
//
// The [PDIC] rule runs the marker-line passes for ● and ◆, then the
// split-before passes for " / ", 【 and 《; the [EXM] rule is the comma rule;
// the [TOVIX] rule takes the [PDIC] passes for a translation that holds ◆,
// 【, 、, ● or 《, or " / " without a comma, and the comma rule otherwise.

#include <string>
#include <string_view>
#include <vector>

#include "dict/LookupView.h"

namespace tovix {

enum class ZoomRule { Tovix, Exm, Pdic };

// The translation (its leading TAB already removed) broken by the rule;
// always at least one line.
std::vector<std::string> BreakTranslation(std::string_view translation, ZoomRule rule);

// The zoom lines of the entry at the view's top line, from its headword line
// (the line above when a translation line is on top); none when the view has
// no lines. An entry whose headword is the view's last line has an empty
// translation.
std::vector<std::string> ZoomLines(const LookupView& view, ZoomRule rule);

}  // namespace tovix
