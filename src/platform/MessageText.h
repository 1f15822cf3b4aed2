// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout of every message text of the program, in one place: three blanks
// in front (four for the questions and the "not specified" family), ten
// behind; a message about a file puts the file name with " の" on a line of
// its own first.

#include <string>
#include <string_view>

namespace tovix {

// The message text padded with its blanks.
std::string PaddedMessage(std::string_view text);

// The text with `before` blanks in front and `after` behind, for the windows
// whose messages keep a layout of their own.
std::string Padded(std::string_view text, int before, int after);

// A one-line notice of the message window: four blanks in front, three
// behind.
std::string NoticeText(std::string_view text);

// "   <file> の" CR LF, then the padded message.
std::string FileMessage(std::string_view fileName, std::string_view text);

}  // namespace tovix
