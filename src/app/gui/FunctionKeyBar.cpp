#include "app/gui/FunctionKeyBar.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace tovix {
namespace {

// Captions of Button1 .. Button30; an empty caption leaves the button blank.
constexpr const char* kCaptions[FunctionKeyBar::kButtons] = {
    " ﾍﾙﾌﾟ", "検↑",  "検↓",    "検索",  "語写",  "項写",  "英和", "和英", "拡大",   "終了",
    "",      "登録", "編集",   "削除",  "",      "",      "",     "",     "拡EXM",  "(OS)",
    "Copy",  "切替", "Delete", "Paste", "辞替1", "辞替2", "",     "",     "拡PDIC", "(Menu)",
};

constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 25;
constexpr int kFirstColumn = 50;
constexpr int kFirstRow = 20;

}  // namespace

FunctionKeyBar::FunctionKeyBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel2"));
    setFixedHeight(kHeight);
    setFrameShape(QFrame::StyledPanel);
    // The bar's captions must fit buttons 50 pixels wide: the desktop's
    // normal font, the one of the menu bar, does.
    setFont(QApplication::font());
    for (int column = 0; column < 10; ++column) {
        auto* label =
            new QLabel(QStringLiteral("   F%1").arg(column + 1, 2, 10, QLatin1Char('0')), this);
        label->setGeometry(kFirstColumn + column * kButtonWidth, 2, kButtonWidth, kFirstRow - 2);
    }
    const char* rowLabels[] = {"", "Shift+", "Ctrl+"};
    for (int row = 0; row < 3; ++row) {
        if (*rowLabels[row] != '\0') {
            auto* label = new QLabel(QString::fromUtf8(rowLabels[row]), this);
            label->setGeometry(4, kFirstRow + row * kButtonHeight, kFirstColumn - 4, kButtonHeight);
        }
        for (int column = 0; column < 10; ++column) {
            const int index = row * 10 + column;
            auto* button = new QPushButton(QString::fromUtf8(kCaptions[index]), this);
            button->setObjectName(QStringLiteral("Button%1").arg(index + 1));
            button->setGeometry(kFirstColumn + column * kButtonWidth,
                                kFirstRow + row * kButtonHeight, kButtonWidth, kButtonHeight);
            buttons_[static_cast<size_t>(index)] = button;
        }
    }
}

}  // namespace tovix
