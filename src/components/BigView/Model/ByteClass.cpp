#include "components/BigView/Model/ByteClass.h"

#include "platform/Cp932.h"

namespace tovix {

int ByteClass(std::string_view text, int k) {
    if (k < 1 || static_cast<size_t>(k) > text.size()) {
        return SingleByte;
    }
    const auto last = static_cast<size_t>(k) - 1;
    size_t i = 0;
    while (i < last) {
        i += IsLeadByte(text[i]) ? 2 : 1;
    }
    if (i > last) {
        return TrailByte;
    }
    return IsLeadByte(text[i]) ? LeadByte : SingleByte;
}

}  // namespace tovix
