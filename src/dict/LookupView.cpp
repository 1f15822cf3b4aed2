// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/LookupView.h"

namespace tovix {

PrefixSummary& LookupView::Summary() {
    if (summaryRevision_ != Revision()) {
        summary_ = PrefixSummary(ViewLineCount().value);
        summaryRevision_ = Revision();
    }
    return summary_;
}

}  // namespace tovix
