// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `tovix --lookup [--eng|--jpn] TEXT`: hands TEXT to a running copy of the
// direction, which comes to the front and looks it up, or opens a window of
// its own that does. A desktop keyboard shortcut runs it on the selection.

#include <QStringList>
#include <optional>
#include <string>

#include "dict/Direction.h"

namespace tovix {

struct LookupRequest {
    Direction direction;
    std::string text;  // CP932, one line, at most kLookupTextMax bytes
};

// The longest text looked up: as much as the search field holds.
inline constexpr std::size_t kLookupTextMax = 255;

// The request of the arguments after "--lookup": the direction given, or
// Japanese-English for a text with any non-ASCII character and
// English-Japanese otherwise; the text's first line, trimmed, cut to
// kLookupTextMax bytes on a character boundary. Nothing without a text.
std::optional<LookupRequest> ParseLookupArguments(QStringList arguments);

// Runs the command; the program's exit code.
int RunLookupCommand(const QStringList& arguments);

}  // namespace tovix
