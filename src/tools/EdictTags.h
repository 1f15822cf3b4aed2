// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tags that EDICT puts in "(...)" at the start of a gloss: parts of
// speech ("n", "v5r", "adj-i" ...), usage and field tags ("uk", "comp" ...),
// sense numbers ("1"), dialects ("ksb:") and the common-word mark "P".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovix {

bool IsVerbTag(std::string_view tag);
bool IsPartOfSpeechTag(std::string_view tag);
bool IsSenseNumber(std::string_view tag);

// The tags of a "(...)" group, or nothing when the group is ordinary text such
// as "(physically)".
std::optional<std::vector<std::string>> TagsOf(std::u16string_view group);

// The parts of speech of a tag group as a Japanese dictionary prints them,
// joined with "・": ("v5r", "vi") -> "五段・自"; empty when the group has
// none. A tag without a label of its own stands as it is.
std::u16string PartOfSpeechLabel(const std::vector<std::string>& tags);

}  // namespace tovix
