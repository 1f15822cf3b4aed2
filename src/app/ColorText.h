// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours as the settings file stores them: a colour name such as "clBlack" or
// "clWindow" (names compare without regard to case), or a number, usually
// "$00BBGGRR" (hexadecimal with "$" or "0x", or decimal). A number with the
// high bit set names a system colour by its index (clWindow is $80000005);
// otherwise its low three bytes are blue, green and red.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovix {

// The colour number of a settings text; nothing when it is neither a known
// name nor a number.
std::optional<std::uint32_t> ColorFromText(std::string_view text);

// The settings text of a colour number: its name when it has one, else
// "$" and eight lower-case hexadecimal digits.
std::string ColorToText(std::uint32_t color);

constexpr bool IsSystemColor(std::uint32_t color) {
    return (color & 0x80000000u) != 0;
}
constexpr int SystemColorIndex(std::uint32_t color) {
    return static_cast<int>(color & 0xFFu);
}

// System colour indexes the viewer maps to its palette.
enum SystemColor : int {
    kColorScrollBar = 0,
    kColorBackground = 1,
    kColorActiveCaption = 2,
    kColorInactiveCaption = 3,
    kColorMenu = 4,
    kColorWindow = 5,
    kColorWindowFrame = 6,
    kColorMenuText = 7,
    kColorWindowText = 8,
    kColorCaptionText = 9,
    kColorActiveBorder = 10,
    kColorInactiveBorder = 11,
    kColorAppWorkSpace = 12,
    kColorHighlight = 13,
    kColorHighlightText = 14,
    kColorBtnFace = 15,
    kColorBtnShadow = 16,
    kColorGrayText = 17,
    kColorBtnText = 18,
    kColorInactiveCaptionText = 19,
    kColorBtnHighlight = 20,
    kColor3DDkShadow = 21,
    kColor3DLight = 22,
    kColorInfoText = 23,
    kColorInfoBk = 24,
};

}  // namespace tovix
