// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/LookupCommand.h"

#include <QApplication>
#include <algorithm>
#include <iostream>

#include "app/AppMessages.h"
#include "app/gui/CopyInstances.h"
#include "app/gui/MainWindow.h"
#include "platform/Cp932.h"
#include "platform/qt/WindowReporter.h"

namespace tovix {

std::optional<LookupRequest> ParseLookupArguments(QStringList arguments) {
    Direction direction = Direction::None;
    if (!arguments.isEmpty()) {
        const QString option = arguments.front().toLower();
        if (option == QStringLiteral("--eng") || option == QStringLiteral("--jpn")) {
            direction =
                option == QStringLiteral("--jpn") ? Direction::Japanese : Direction::English;
            arguments.removeFirst();
        }
    }
    const QString text =
        arguments.join(QLatin1Char(' ')).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    std::string cp932 = Utf8ToCp932(text.toStdString());
    size_t end = 0;
    while (end < cp932.size()) {
        const size_t width = IsLeadByte(cp932[end]) ? 2 : 1;
        if (end + width > kLookupTextMax) {
            break;
        }
        end += width;
    }
    cp932.resize(std::min(end, cp932.size()));
    if (direction == Direction::None) {
        const bool japanese =
            std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x7F; });
        direction = japanese ? Direction::Japanese : Direction::English;
    }
    return LookupRequest{direction, cp932};
}

int RunLookupCommand(const QStringList& arguments) {
    const std::optional<LookupRequest> request = ParseLookupArguments(arguments);
    if (!request) {
        std::cerr << app_text::kViewerHelp;
        return 2;
    }
    WindowReporter reporter(nullptr);
    if (CopyRegistry::Asker(CopyRegistryDir(), reporter)
            ->HandOverLookup(request->direction, request->text)) {
        return 0;
    }
    TForm1 window({});
    window.show();
    window.OpenForLookup(request->direction, request->text);
    return QApplication::exec();
}

}  // namespace tovix
