// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The order of entries in a part file and of lines in an edit log: the order
// in which the tools sort the lines of a work file (an entry's headword line
// and translation line joined are such a line), so that an entry put in by
// an edit stands where a rebuild of the dictionary would put it.

#include <string_view>

#include "dict/JpnEntryOrder.h"
#include "platform/Collation.h"

namespace tovix {

class EntryOrder {
  public:
    // `jpn`: the entries of a Japanese-English part file, in the order of
    // JpnEntryOrder.h.
    explicit EntryOrder(bool jpn = false) : jpn_(jpn) {}

    // <0, 0 or >0; 0 only for equal bytes.
    int Compare(std::string_view a, std::string_view b) {
        return jpn_ ? collation_.Compare(JpnOrderLine(a), JpnOrderLine(b))
                    : collation_.Compare(a, b);
    }

  private:
    bool jpn_;
    Collation collation_;
};

}  // namespace tovix
