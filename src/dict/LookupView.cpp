#include "dict/LookupView.h"

namespace tovix {

const PrefixSummary& LookupView::Summary() const {
    if (summaryRevision_ != Revision()) {
        summary_ = PrefixSummary(ViewLineCount(), [this](int n) { return ViewLine(n); });
        summaryRevision_ = Revision();
    }
    return summary_;
}

}  // namespace tovix
