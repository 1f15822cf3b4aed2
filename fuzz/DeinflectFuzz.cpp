// SPDX-License-Identifier: GPL-3.0-or-later
// Base forms of any text: the Japanese deinflection, the English rules, the
// WordNet list reader (the input written as "verb.exc"), the classes of a
// translation's marks and the order line of a Japanese-English work line.
// Every base form is a whole CP932 text (no character split), an English
// base comes out lower case and of two letters or more, and the order line
// ends with the line it was made of.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "components/MbString.h"
#include "dict/Deinflect.h"
#include "dict/EnglishInflection.h"
#include "dict/HeadwordIndex.h"
#include "dict/JpnEntryOrder.h"

namespace tovix::fuzz {
namespace {

// The text ends on a character boundary.
bool WholeCharacters(std::string_view text) {
    size_t place = 0;
    while (place < text.size()) {
        NextChar(text, place);
    }
    return place == text.size();
}

}  // namespace
}  // namespace tovix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const std::string text(reinterpret_cast<const char*>(data), std::min<size_t>(size, 256));
    for (const Deinflection& d : Deinflect(text)) {
        Check(!d.word.empty() && !d.rules.empty(), "a base form has a word and rules");
        Check((d.classes & word_class::kDictionary) != 0, "a base form has a dictionary class");
        Check(WholeCharacters(d.word), "a base form is whole characters");
        RuleNames(d.rules);
    }
    WriteFile(ScratchDir() / "verb.exc", text);
    const std::optional<EnglishExceptions> lists = EnglishExceptions::Load(ScratchDir());
    for (const EnglishBase& b : EnglishBases(text, lists ? &*lists : nullptr)) {
        Check(b.word.size() >= 2, "an English base has two letters or more");
    }
    ClassesOfTranslation(text);
    Check(JpnOrderLine(text).ends_with(text), "the order line ends with its line");
    return 0;
}
