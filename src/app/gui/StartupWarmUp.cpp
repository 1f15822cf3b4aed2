// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/StartupWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QImageReader>

namespace tovix {

StartupWarmUp::StartupWarmUp() : fonts_([] { FcInit(); }) {}

StartupWarmUp::~StartupWarmUp() {
    if (fonts_.joinable()) {
        fonts_.join();
    }
    if (toolkit_.joinable()) {
        toolkit_.join();
    }
}

void StartupWarmUp::ApplicationMade() {
    if (fonts_.joinable()) {
        fonts_.join();
    }
    if (!toolkit_.joinable()) {
        toolkit_ = std::thread([] {
            QFontDatabase::families();
            QImageReader::supportedImageFormats();
        });
    }
}

}  // namespace tovix
