// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ZoomLines.h"

#include <gtest/gtest.h>

#include <random>

#include "components/MbString.h"
#include "dict/LineStoreView.h"
#include "platform/Cp932.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

std::vector<std::string> Utf8Lines(const std::vector<std::string>& cp932) {
    std::vector<std::string> out;
    for (const std::string& line : cp932) {
        out.push_back(Cp932ToUtf8(line));
    }
    return out;
}

TEST(ZoomLinesTest, BreakingRules) {
    using V = std::vector<std::string>;
    struct Case {
        const char* translation;
        ZoomRule rule;
        V lines;
    };
    const Case cases[] = {
        {"apple, pear", ZoomRule::Exm, {"apple,", " pear"}},
        {"a,b,", ZoomRule::Exm, {"a,", "b,", ""}},
        {"", ZoomRule::Exm, {""}},
        {"", ZoomRule::Pdic, {""}},
        // The [EXM] rule breaks only at commas.
        {"a / b●c", ZoomRule::Exm, {"a / b●c"}},
        {"名詞●動詞", ZoomRule::Pdic, {"名詞", "●", "動詞"}},
        {"●動詞", ZoomRule::Pdic, {"", "●", "動詞"}},
        {"●●", ZoomRule::Pdic, {"", "●", "", "●", ""}},
        // ● is taken out before ◆.
        {"◆a●b", ZoomRule::Pdic, {"", "◆", "a", "●", "b"}},
        {"a / b / c", ZoomRule::Pdic, {"a", " / b", " / c"}},
        {"a / b / c", ZoomRule::Tovix, {"a", " / b", " / c"}},
        {"a / b, c", ZoomRule::Tovix, {"a / b,", " c"}},
        {" / a", ZoomRule::Pdic, {" / a"}},
        {"a /  / b", ZoomRule::Pdic, {"a", " / ", " / b"}},
        {"【名】りんご【動】食べる", ZoomRule::Pdic, {"【名】りんご", "【動】食べる"}},
        {"x《y》z《w》", ZoomRule::Tovix, {"x", "《y》z", "《w》"}},
        {"名詞●a / b【c", ZoomRule::Tovix, {"名詞", "●", "a", " / b", "【c"}},
        // 、 chooses the passes without breaking; the comma then stays.
        {"りんご、なし, 梨", ZoomRule::Tovix, {"りんご、なし, 梨"}},
        {"apple, pear", ZoomRule::Tovix, {"apple,", " pear"}},
        // メ is 83 81: before 廖 (9C 40) its trail byte and the next lead
        // byte read as ● (81 9C), before "y" as 【 (81 79), before "s" as 《,
        // before "A" as 、; none of them is a marker.
        {"メ廖メyメsメA", ZoomRule::Pdic, {"メ廖メyメsメA"}},
        {"メ廖メA, b", ZoomRule::Tovix, {"メ廖メA,", " b"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8Lines(BreakTranslation(Utf8ToCp932(c.translation), c.rule)), c.lines)
            << c.translation << " rule " << static_cast<int>(c.rule);
    }
}

// The [TOVIX] rule picks the [PDIC] passes exactly when a marker, or " / "
// without a comma, stands at a character boundary. Random texts of the bytes
// that make markers, separators, trail bytes and NULs are checked against
// that choice made with the character-wise search, one marker at a time.
TEST(ZoomLinesTest, TovixRuleChoosesAsTheCharacterWiseSearch) {
    const std::string bytes = std::string("\x81\x9f\x79\x41\x9c\x73\x83\xe0 /,a", 13) + '\0';
    const auto holds = [](std::string_view text, std::string_view marker) {
        return MbFind(marker, text) != std::string_view::npos;
    };
    std::mt19937 random(23);
    for (int n = 0; n < 20000; ++n) {
        std::string text(random() % 12, ' ');
        for (char& c : text) {
            c = bytes[random() % bytes.size()];
        }
        bool pdic = holds(text, " / ") && !holds(text, ",");
        for (const char* marker : {"◆", "【", "、", "●", "《"}) {
            pdic = pdic || holds(text, Utf8ToCp932(marker));
        }
        EXPECT_EQ(BreakTranslation(text, ZoomRule::Tovix),
                  BreakTranslation(text, pdic ? ZoomRule::Pdic : ZoomRule::Exm))
            << testing::PrintToString(text);
    }
}

TEST(ZoomLinesTest, EntryAtTheTopOfTheView) {
    test::TempDir dir;
    const std::filesystem::path part = dir / "E.001";
    test::WriteBytes(part, Utf8ToCp932("apple \r\n\tりんご, 林檎\r\nbank \r\n\t銀行\r\ncat \r\n"));
    LineStoreView view;
    EXPECT_TRUE(ZoomLines(view, ZoomRule::Tovix).empty());
    view.LoadFromFile(part);
    struct Case {
        int top;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {0, {"apple ", "", "りんご,", " 林檎"}},
        // A translation line on top: the entry of the headword above it.
        {1, {"apple ", "", "りんご,", " 林檎"}},
        {3, {"bank ", "", "銀行"}},
        // A headword on the last line has no translation.
        {4, {"cat ", "", ""}},
    };
    for (const Case& c : cases) {
        view.SetTopLine(ViewLineIndex(c.top));
        EXPECT_EQ(Utf8Lines(ZoomLines(view, ZoomRule::Exm)), c.lines) << "top " << c.top;
    }
}

}  // namespace
}  // namespace tovix
