// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/DicTableError.h"

#include "dict/DictMessages.h"
#include "platform/MessageText.h"

namespace tovix {

DicTableError::DicTableError(const std::filesystem::path& path)
    : std::runtime_error(FileMessage(path.string(), dict_text::kTableFileUnreadable)),
      path_(path) {}

}  // namespace tovix
