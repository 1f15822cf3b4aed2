// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up work that the window's first paint waits for but that needs no
// window, done on threads of their own beside the work that does. Each is
// what the toolkit would do itself a moment later on the main thread, once
// for the whole process; doing it earlier changes no result.

#include <thread>

namespace tovix {

// Reads the font configuration (its files and caches), which the window's
// first text needs. Made before the QApplication, so that it runs while the
// toolkit connects to the display.
class FontConfigWarmUp {
  public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Waits until the configuration is read, so that the toolkit does not
    // read it a second time; called before the window is made.
    void Join();

  private:
    std::thread thread_;
};

// Makes the toolkit's list of fonts, loads the image readers (the menu bar's
// icon needs them) and finds the program's folder (by making a file in it;
// the window reads its settings there) while the window is built; the
// toolkit's font list may be made from any thread, and the folder is found
// once, under a lock. Made after the QApplication and before the
// window; it waits for its thread when it goes, before the QApplication does.
class ToolkitWarmUp {
  public:
    ToolkitWarmUp();
    ~ToolkitWarmUp();
    ToolkitWarmUp(const ToolkitWarmUp&) = delete;
    ToolkitWarmUp& operator=(const ToolkitWarmUp&) = delete;

  private:
    std::thread thread_;
};

}  // namespace tovix
