// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/StartupWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <QImageReader>

namespace tovix {

StartupWarmUp::StartupWarmUp() : fonts_([] { FcInit(); }) {}

StartupWarmUp::~StartupWarmUp() {
    if (fonts_.joinable()) {
        fonts_.join();
    }
    if (images_.joinable()) {
        images_.join();
    }
}

void StartupWarmUp::ApplicationMade() {
    if (fonts_.joinable()) {
        fonts_.join();
    }
    if (!images_.joinable()) {
        images_ = std::thread([] { QImageReader::supportedImageFormats(); });
    }
}

}  // namespace tovix
