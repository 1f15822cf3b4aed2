// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the length check and the division share: the two limits of the job.

#include "tools/ToolJob.h"

namespace tovix {

struct LengthLimits {
    long long head = 0;
    long long translation = 0;
};

// HeadLimit and TransLimit as integers. A text that is not a decimal integer
// throws StepError with the message "'<text>' は整数ではありません".
LengthLimits ReadLengthLimits(const ToolJob& job);

}  // namespace tovix
