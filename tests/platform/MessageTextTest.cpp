// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageText.h"

#include <gtest/gtest.h>

namespace tovix {
namespace {

TEST(MessageTextTest, Padding) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"辞書ファイルがオープンできません。", "   辞書ファイルがオープンできません。          "},
        {"読込ファイル名が指定されていません。",
         "    読込ファイル名が指定されていません。          "},
        {"終了しますか。", "    終了しますか。          "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PaddedMessage(c.text), c.expected);
    }
    EXPECT_EQ(FileMessage("D:/X.DAT", "指定されたファイルが存在しません。"),
              "   D:/X.DAT の\r\n   指定されたファイルが存在しません。          ");
}

}  // namespace
}  // namespace tovix
