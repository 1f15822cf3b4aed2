// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/StartupWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <QAccessible>
#include <QFontDatabase>
#include <QImageReader>

#include "platform/ProgramDir.h"

namespace tovix {

FontConfigWarmUp::FontConfigWarmUp() : thread_([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp() {
    Join();
}

void FontConfigWarmUp::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

ToolkitWarmUp::ToolkitWarmUp() {
    // The first text a widget is given asks whether accessibility is on,
    // which connects to the session bus; with no session bus running, the
    // bus library forks a process to start one and waits for its answer. A
    // fork while the thread below allocates can leave that child stuck on an
    // allocator lock before it starts the program, and the window waits for
    // it forever. Asking here, before the thread starts, forks with no thread
    // of ours running; the answer is kept, so the window asks nothing again.
    QAccessible::isActive();
    thread_ = std::thread([] {
        QFontDatabase::families();
        QImageReader::supportedImageFormats();
        try {
            ProgramDir();
        } catch (...) {
            // The window then finds the folder itself and reports what fails.
        }
    });
}

ToolkitWarmUp::~ToolkitWarmUp() {
    thread_.join();
}

}  // namespace tovix
