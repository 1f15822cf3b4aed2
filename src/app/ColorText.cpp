// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ColorText.h"

#include <cstdio>

#include "app/NumberText.h"
#include "components/MbString.h"

namespace tovix {
namespace {

struct NamedColor {
    const char* name;
    std::uint32_t color;
};

constexpr std::uint32_t System(int index) {
    return 0x80000000u | static_cast<std::uint32_t>(index);
}

constexpr NamedColor kNamedColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", System(kColorScrollBar)},
    {"clBackground", System(kColorBackground)},
    {"clActiveCaption", System(kColorActiveCaption)},
    {"clInactiveCaption", System(kColorInactiveCaption)},
    {"clMenu", System(kColorMenu)},
    {"clWindow", System(kColorWindow)},
    {"clWindowFrame", System(kColorWindowFrame)},
    {"clMenuText", System(kColorMenuText)},
    {"clWindowText", System(kColorWindowText)},
    {"clCaptionText", System(kColorCaptionText)},
    {"clActiveBorder", System(kColorActiveBorder)},
    {"clInactiveBorder", System(kColorInactiveBorder)},
    {"clAppWorkSpace", System(kColorAppWorkSpace)},
    {"clHighlight", System(kColorHighlight)},
    {"clHighlightText", System(kColorHighlightText)},
    {"clBtnFace", System(kColorBtnFace)},
    {"clBtnShadow", System(kColorBtnShadow)},
    {"clGrayText", System(kColorGrayText)},
    {"clBtnText", System(kColorBtnText)},
    {"clInactiveCaptionText", System(kColorInactiveCaptionText)},
    {"clBtnHighlight", System(kColorBtnHighlight)},
    {"cl3DDkShadow", System(kColor3DDkShadow)},
    {"cl3DLight", System(kColor3DLight)},
    {"clInfoText", System(kColorInfoText)},
    {"clInfoBk", System(kColorInfoBk)},
};

// A number that fits 32 bits; a negative one counts down from 2^32.
std::optional<std::uint32_t> ParseNumber(std::string_view text) {
    const std::optional<NumberText> number = ParseNumberText(text);
    if (!number || number->magnitude > UINT32_MAX) {
        return std::nullopt;
    }
    const auto value = static_cast<std::uint32_t>(number->magnitude);
    return number->negative ? 0u - value : value;
}

}  // namespace

std::optional<std::uint32_t> ColorFromText(std::string_view text) {
    const std::string lower = MbLowerCase(text);
    for (const NamedColor& named : kNamedColors) {
        if (lower == MbLowerCase(named.name)) {
            return named.color;
        }
    }
    return ParseNumber(text);
}

std::string ColorToText(std::uint32_t color) {
    for (const NamedColor& named : kNamedColors) {
        if (named.color == color) {
            return named.name;
        }
    }
    char text[16];
    std::snprintf(text, sizeof text, "$%.8x", color);
    return text;
}

}  // namespace tovix
