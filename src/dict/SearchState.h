// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's state that the lookup and the free-text find work on: the
// direction, the open dictionary file, the part loaded in the view and the
// loaded table. The lookup keeps nothing else between keystrokes.

#include <cstdint>
#include <filesystem>
#include <memory>

#include "dict/DicTable.h"
#include "dict/Direction.h"
#include "dict/FileStamp.h"
#include "dict/HeadwordIndex.h"
#include "dict/WrittenForms.h"

namespace tovix {

struct SearchState {
    Direction direction = Direction::English;
    // The open dictionary file; empty when none is open.
    std::filesystem::path dicFile;
    // The part file loaded in the view, 0 when none (the view then shows the
    // dictionary file itself). The copy is what the free-text find reads.
    int currentPart = 0;
    int currentPartCopy = 0;
    TDicTable table;
    // The table file as it was when `table` was read. Loading another part
    // compares it with the file and reads the table again when another copy
    // of the program replaced it, so that a part is never searched with the
    // table of an older set.
    FileStamp tableStamp = {};
    // The input-method n of the romaji conversion (an option; off as the
    // field has always converted).
    bool imeStyleN = false;
    // The open set's written-form file, read when first needed; copies of the
    // state share it. Opening a dictionary gives the state a new one.
    std::shared_ptr<WrittenFormFile> writtenForms = std::make_shared<WrittenFormFile>();
    // The open set's headwords by their exact text, through which base forms
    // of an inflected text are found; shared and renewed as writtenForms.
    std::shared_ptr<HeadwordIndex> headwords = std::make_shared<HeadwordIndex>();
    // The lookup also looks for base forms of an inflected text (the viewer
    // and the command line's lookups; off for editing and plain searches).
    bool findBaseForms = false;
};

}  // namespace tovix
