// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BigView/Model/ScrollState.h"

#include <algorithm>
#include <chrono>

#include "components/BigView/Model/ViewMetrics.h"

namespace tovix {
namespace {

std::int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Push(int (&history)[3], int a) {
    if (a != history[0]) {
        history[2] = history[1];
        history[1] = history[0];
        history[0] = a;
    }
}

}  // namespace

TScrollState::TScrollState() : clock_(SteadyMilliseconds), lastStep_(clock_()) {}

void TScrollState::SetClock(Clock clock) {
    clock_ = std::move(clock);
    lastStep_ = clock_();
}

void TScrollState::SetVertPos(int a) {
    Push(vert_, a);
}

void TScrollState::SetHorzPos(int a) {
    Push(horz_, a);
}

bool TScrollState::Steady(const int (&history)[3]) {
    return (history[0] > history[1] && history[1] > history[2]) ||
           (history[0] < history[1] && history[1] < history[2]);
}

void TScrollState::Accelerate(int interval, int sense, int pageLines, int cells) {
    const std::int64_t now = clock_();
    if (now - lastStep_ > interval) {
        step_ = 1;
        repeats_ = 0;
    } else if (Steady(vert_) || Steady(horz_)) {
        // The direction is checked also at the highest step, so that turning
        // back always returns the step to one.
        if (step_ < sense && ++repeats_ > 9) {
            int cap = pageLines - 1;
            if (Steady(horz_)) {
                cap = std::min(cap, cells);
            }
            if (step_ < cap) {
                ++step_;
            }
            repeats_ = 0;
        }
    } else {
        step_ = 1;
        repeats_ = 0;
    }
    lastStep_ = now;
}

int MaxTopLine(int viewLineCount, int pageLines, bool scOver) {
    return scOver ? viewLineCount - 1 : viewLineCount - pageLines;
}

int VerticalRangeMax(int viewLineCount, int pageLines, bool scOver) {
    return std::max(1, std::min(MaxTopLine(viewLineCount, pageLines, scOver), viewLineCount - 1));
}

int HorizontalRangeMax(int maxChar, int clientWidth, int charWidth) {
    return maxChar - clientWidth / std::max(charWidth, 1);
}

int TopLineForPosition(int position, int rangeMax, int maxTop) {
    if (maxTop <= 0) {
        return 0;
    }
    return RoundHalfEven(static_cast<double>(position) / std::max(rangeMax, 1) * maxTop);
}

}  // namespace tovix
