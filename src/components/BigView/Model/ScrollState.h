// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scroll positions and scroll acceleration of the text view, and the range
// arithmetic of its scroll bars.
//
// Acceleration: a scroll step that follows the previous one within the
// interval (300 ms for the scroll bar, 200 ms for keys and drag scrolling) and
// keeps the direction of the last moves counts as quick; every tenth quick
// step in a row widens the step by one view line (or column), up to the
// ScrollSense limit and to a page less one. A pause or a change of direction
// returns the step to one.

#include <cstdint>
#include <functional>

namespace tovix {

class TScrollState {
  public:
    // Milliseconds from any fixed start; tests drive it by hand.
    using Clock = std::function<std::int64_t()>;

    TScrollState();

    // Replaces the clock and starts the pause measurement from its now.
    void SetClock(Clock clock);

    int VertPos() const { return vert_[0]; }
    int HorzPos() const { return horz_[0]; }
    int ScrollStep() const { return step_; }

    // Store a new position; the two before it are kept for acceleration.
    void SetVertPos(int a);
    void SetHorzPos(int a);

    // Updates the step before a scroll command. `sense` is the highest step;
    // `pageLines` and `cells` (columns in the window) cap it.
    void Accelerate(int interval, int sense, int pageLines, int cells);

  private:
    static bool Steady(const int (&history)[3]);

    Clock clock_;
    int vert_[3] = {0, 0, 0};  // now, previous, the one before
    int horz_[3] = {0, 0, 0};
    int step_ = 1;
    int repeats_ = 0;
    std::int64_t lastStep_ = 0;
};

// The highest top line the scroll bar may reach: the last view line with
// `scOver`, else the one that fills the last page. May be 0 or negative.
int MaxTopLine(int viewLineCount, int pageLines, bool scOver);

// The vertical bar's range maximum: MaxTopLine, at most the last view line,
// and at least 1, so that the bar never collapses.
int VerticalRangeMax(int viewLineCount, int pageLines, bool scOver);

// The horizontal bar's range maximum (may be negative: no range).
int HorizontalRangeMax(int maxChar, int clientWidth, int charWidth);

// The top line for a vertical bar position: the position scaled from the bar's
// range to the top lines 0..maxTop, rounded; 0 when maxTop <= 0.
int TopLineForPosition(int position, int rangeMax, int maxTop);

}  // namespace tovix
