// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/OpenDictionary.h"

#include "dict/DicFileSet.h"
#include "dict/DictMessages.h"
#include "dict/Lookup.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"

namespace tovix {
namespace {

OpenedDictionary Failed(OpenFailure failure, const std::filesystem::path& file,
                        std::string_view text) {
    OpenedDictionary result;
    result.failure = failure;
    result.message = FileMessage(file.string(), text);
    return result;
}

}  // namespace

OpenedDictionary OpenDictionary(const std::filesystem::path& dicFile, Direction direction) {
    // A replacement of the set that a crash or a failure left unfinished is
    // completed first, so that the set read is wholly new (DicFileSet.h).
    try {
        CompletePendingSet(dicFile);
    } catch (const IoError& e) {
        OpenedDictionary result;
        result.failure = OpenFailure::Unreadable;
        result.message = PendingSetMessage(dicFile, e.error(), e.path());
        return result;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(dicFile, ec)) {
        return Failed(OpenFailure::Missing, dicFile, dict_text::kDicFileMissing);
    }
    OpenedDictionary opened;
    try {
        opened.lines.LoadFromFile(dicFile);
    } catch (...) {
        return Failed(OpenFailure::Unreadable, dicFile, dict_text::kDicFileUnreadable);
    }
    const std::filesystem::path table = TableFileName(dicFile);
    opened.tableStamp = StampOf(table);
    try {
        opened.table = TDicTable::LoadFromFile(table, direction);
    } catch (...) {
        return Failed(OpenFailure::TableUnreadable, table, dict_text::kTableFileUnreadable);
    }
    return opened;
}

}  // namespace tovix
