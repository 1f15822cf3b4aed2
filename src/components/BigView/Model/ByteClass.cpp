// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BigView/Model/ByteClass.h"

#include "platform/Cp932.h"

namespace tovix {

// A character starts right after any byte without a lead-byte code (it is a
// one-byte character or a trail byte), so within the run of lead-byte codes
// that follows, bytes pair up from the run's start: byte k is a trail byte
// exactly when an odd number of them stand before it.
int ByteClass(std::string_view text, ByteColumn k) {
    if (!k || k.value > text.size()) {
        return SingleByte;
    }
    const size_t at = k.Offset();
    size_t run = 0;
    while (run < at && IsLeadByte(text[at - 1 - run])) {
        ++run;
    }
    if (run % 2 == 1) {
        return TrailByte;
    }
    return IsLeadByte(text[at]) ? LeadByte : SingleByte;
}

}  // namespace tovix
