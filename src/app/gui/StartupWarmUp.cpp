// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/StartupWarmUp.h"

#include <fontconfig/fontconfig.h>

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

ToolkitWarmUp::ToolkitWarmUp()
    : thread_([] {
          QFontDatabase::families();
          QImageReader::supportedImageFormats();
          try {
              ProgramDir();
          } catch (...) {
              // The window then finds the folder itself and reports what fails.
          }
      }) {}

ToolkitWarmUp::~ToolkitWarmUp() {
    thread_.join();
}

}  // namespace tovix
