#pragma once
// A UTF-8 text of the catalogues as the QString the widgets show.

#include <QString>
#include <string_view>

namespace tovix {

inline QString QtText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace tovix
