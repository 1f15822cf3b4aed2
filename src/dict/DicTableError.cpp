#include "dict/DicTableError.h"

#include "platform/MessageText.h"

namespace tovix {

DicTableError::DicTableError(const std::filesystem::path& path)
    : std::runtime_error(
          FileMessage(path.string(), "指定された辞書テーブルファイルがオープンできませんでした。")),
      path_(path) {}

}  // namespace tovix
