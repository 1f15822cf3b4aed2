// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A UTF-8 text of the catalogues, or a CP932 text of a file, as the QString
// the widgets show; and a widget's text as CP932.

#include <QString>
#include <string>
#include <string_view>

#include "platform/Cp932.h"

namespace tovix {

inline QString QtText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QString QtTextFromCp932(std::string_view cp932) {
    const std::u16string utf16 = Cp932ToUtf16(cp932);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

// Characters CP932 lacks become "?".
inline std::string Cp932FromQtText(const QString& text) {
    return Utf16ToCp932(text.toStdU16String());
}

}  // namespace tovix
