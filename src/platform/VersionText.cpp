// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VersionText.h"

namespace tovix {

std::string VersionText(std::string_view program) {
    std::string text(program);
    text += " (Tovix) " TOVIX_VERSION "\n";
    text +=
        "Copyright (C) 2026 The Tovix developers\n"
        "License GPL-3.0-or-later: GNU GPL version 3 or later "
        "<https://www.gnu.org/licenses/gpl.html>.\n"
        "This is free software: you are free to change and redistribute it.\n"
        "This program comes with ABSOLUTELY NO WARRANTY, to the extent permitted by law.\n"
        "Dictionary data: EDICT (EDRDG, CC BY-SA 3.0); WordNet 3.0 (Princeton University).\n";
    return text;
}

}  // namespace tovix
