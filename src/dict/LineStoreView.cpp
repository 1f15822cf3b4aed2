#include "dict/LineStoreView.h"

#include <algorithm>

namespace tovix {

void LineStoreView::LoadFromFile(const std::filesystem::path& path) {
    topLine_ = 0;
    lines_.LoadFromFile(path);
}

void LineStoreView::Assign(const std::vector<std::string>& lines) {
    topLine_ = 0;
    lines_.Assign(lines);
}

void LineStoreView::SetTopLine(int n) {
    topLine_ = std::clamp(n, 0, std::max(0, lines_.Count() - 1));
}

}  // namespace tovix
