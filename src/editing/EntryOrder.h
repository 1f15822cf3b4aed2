// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The order of entries in a part file and of lines in an edit log: the order
// in which the tools sort the lines of a work file (an entry's headword line
// and translation line joined are such a line), so that an entry put in by
// an edit stands where a rebuild of the dictionary would put it.

#include <string_view>

#include "platform/Collation.h"

namespace tovix {

class EntryOrder {
  public:
    // <0, 0 or >0; 0 only for equal bytes.
    int Compare(std::string_view a, std::string_view b) { return collation_.Compare(a, b); }

  private:
    Collation collation_;
};

}  // namespace tovix
