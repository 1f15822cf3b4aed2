// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/KeyListWindow.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>

#include "app/AppMessages.h"
#include "app/gui/WindowHelpers.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

constexpr int kLeftX = 10;
constexpr int kRightX = 280;
constexpr int kRightKeysX = 440;
constexpr int kRowHeight = 20;
constexpr int kSeparatorY = 302;
constexpr int kBarX = 45;
constexpr int kBarColumn = 50;
constexpr int kBarY = 308;
constexpr int kBarRowHeight = 20;

}  // namespace

std::span<const KeyListRow> KeyListRows() {
    constexpr int L = 170;  // the left keys' column
    // clang-format off
    static constexpr KeyListRow kRows[] = {
        {5,   "☆Fnキー表示",          "Ctrl+I", L,       "☆ポップアップ表示",  "Insert"},
        {25,  "☆上へ",                "↑", L,            "☆下へ",              "↓"},
        {45,  "☆１画面上へ",          "←, PageUp", L,    "☆１画面下へ",        "→, PageDown"},
        {65,  "",                     "Ctrl+S", L,       "",                   "Crtl+D"},
        {85,  "☆先頭行へ",            "Ctrl+T", L,       "☆最終行へ",          "Ctrl+B"},
        {105, "☆文字削除",            "BackSpace", L,    "☆検索文字列クリア",  "Esc, Delete"},
        {125, "☆Cut",                 "Ctrl+X", L,       "☆Copy",              "Ctrl+C"},
        {145, "☆Paste",               "Ctrl+V", L,       "☆辞書切替",          "Ctrl+W"},
        {165, "☆辞書切替１(Copy)",    "Ctrl+K", L,       "☆辞書切替２(Paste)", "Ctrl+L"},
        {185, "☆文字削除",            "Ctrl+H", L,       "☆文字列のUNDO",      "Ctrl+Z"},
        {205, "☆拡張検索",            "Ctrl+F(Find)", L, "☆原形へ",            "Shift+F5"},
        {225, "☆拡張検索(次検索)",    "Ctrl+N(Next)", L, "☆拡張検索(前検索)",  "Ctrl+P(Prior)"},
        {245, "☆最大化／元に戻す",    "Ctrl+[", L,       "☆拡大表示",          "Ctrl+A, Enter"},
        {275, "☆検索文字列入力にフォーカス移動", "Esc, BackSpace, Enter, Delete", 290, "", ""},
    };
    // clang-format on
    return kRows;
}

std::span<const KeyBarRow> KeyBarRows() {
    // clang-format off
    static constexpr KeyBarRow kRows[] = {
        {"",       {"ﾍﾙﾌﾟ", "検↑", "検↓", "検索", "語写", "項写", "英和", "和英", "拡大", "終了"}},
        {"Shift+", {"Spare", "登録", "編集", "削除", "原形", "Spare", "Spare", "Spare", "拡EXM", "(OS)"}},
        {"Ctrl+",  {"Copy", "切替", "Delete", "Paste", "辞替1", "辞替2", "Spare", "Spare", "拡PDIC", "(Menu)"}},
    };
    // clang-format on
    return kRows;
}

TForm10::TForm10(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QtText(app_text::kKeyListCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
    setFixedSize(552, 393);
    for (const KeyListRow& row : KeyListRows()) {
        AddLabel(row.leftDescription, kLeftX, row.y, row.leftKeysX - kLeftX);
        AddLabel(row.leftKeys, row.leftKeysX, row.y, width() - row.leftKeysX);
        AddLabel(row.rightDescription, kRightX, row.y, kRightKeysX - kRightX);
        AddLabel(row.rightKeys, kRightKeysX, row.y, width() - kRightKeysX);
    }
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, kSeparatorY, width(), 3);
    separator->setAttribute(Qt::WA_TransparentForMouseEvents);
    BuildKeyBar();
}

QLabel* TForm10::AddLabel(const char* text, int x, int y, int width, Qt::Alignment alignment) {
    if (*text == '\0') {
        return nullptr;
    }
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setGeometry(x, y, width, kRowHeight);
    label->setAlignment(alignment);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// The bar's captions are set smaller, as on the bar itself, so that each
// fits its 50-pixel column.
void TForm10::BuildKeyBar() {
    QFont small = font();
    small.setPixelSize(13);
    auto add = [&](const char* text, int x, int y, int width, Qt::Alignment alignment) {
        if (QLabel* label = AddLabel(text, x, y, width, alignment)) {
            label->setFont(small);
        }
    };
    for (int column = 0; column < 10; ++column) {
        const QByteArray header =
            QStringLiteral("F%1").arg(column + 1, 2, 10, QLatin1Char('0')).toUtf8();
        add(header.constData(), kBarX + column * kBarColumn, kBarY, kBarColumn, Qt::AlignCenter);
    }
    int y = kBarY;
    for (const KeyBarRow& row : KeyBarRows()) {
        y += kBarRowHeight;
        add(row.prefix, 2, y, kBarX - 2, Qt::AlignLeft | Qt::AlignVCenter);
        for (int column = 0; column < 10; ++column) {
            add(row.captions[column], kBarX + column * kBarColumn, y, kBarColumn, Qt::AlignCenter);
        }
    }
}

void TForm10::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F1:
            accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void TForm10::mousePressEvent(QMouseEvent* /*event*/) {
    accept();
}

}  // namespace tovix
