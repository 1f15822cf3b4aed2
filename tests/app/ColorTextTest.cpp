// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ColorText.h"

#include <gtest/gtest.h>

namespace tovix {
namespace {

TEST(ColorTextTest, NamesAndNumbers) {
    struct Case {
        std::string text;
        std::optional<std::uint32_t> color;
    };
    const Case cases[] = {
        {"clBlack", 0x000000u},
        {"CLWINDOW", 0x80000005u},
        {"clWindowText", 0x80000008u},
        {"$00FF8000", 0x00FF8000u},
        {"$00ff8000", 0x00FF8000u},
        {"0x0000FF", 0x0000FFu},
        {"255", 255u},
        {"-16777211", 0xFF000005u},
        {"clNoSuchColor", std::nullopt},
        {"", std::nullopt},
        {"$", std::nullopt},
        {"12px", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorFromText(c.text), c.color) << c.text;
    }
}

TEST(ColorTextTest, WrittenBackAsNameOrHexadecimal) {
    EXPECT_EQ(ColorToText(0x000000u), "clBlack");
    EXPECT_EQ(ColorToText(0x80000005u), "clWindow");
    EXPECT_EQ(ColorToText(0x00FF8000u), "$00ff8000");
    EXPECT_EQ(ColorFromText(ColorToText(0x00123456u)), 0x00123456u);
}

}  // namespace
}  // namespace tovix
