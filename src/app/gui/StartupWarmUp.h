// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up work that the window's first paint waits for but that needs no
// window, done on threads of their own beside the work that does:
// - the font configuration (its files and caches) is read while the toolkit
//   connects to the display; the window's first text needs it;
// - the toolkit's list of fonts is made and the image readers are loaded
//   while the window is built; the window's first text and the menu bar's
//   icon need them (the toolkit's font list may be made from any thread).
// Each is what the toolkit would do itself a moment later on the main
// thread, once and for the whole process; doing it earlier changes no result.

#include <thread>

namespace tovix {

class StartupWarmUp {
  public:
    // Made before the QApplication: starts reading the font configuration.
    StartupWarmUp();
    // Joins what is still running.
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

    // Called once the QApplication is made, before the window: waits for the
    // font configuration (so that the toolkit does not read it a second time)
    // and starts making the font list and loading the image readers.
    void ApplicationMade();

  private:
    std::thread fonts_;
    std::thread toolkit_;
};

}  // namespace tovix
