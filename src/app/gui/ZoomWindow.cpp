// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/ZoomWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>

#include "app/AppMessages.h"
#include "app/gui/Appearance.h"
#include "app/gui/WindowActivation.h"
#include "components/BigView/BigView.h"
#include "platform/Guard.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

constexpr int kDefaultWrapBytes = 60;
constexpr int kMinWrapBytes = 2;
constexpr int kMaxWrapBytes = 512;
// あ: a full-width character as wide as a kana or kanji line needs.
constexpr char16_t kWidestFullWidthChar = u'\u3042';

bool AnyUnset(const WindowBounds& b) {
    return b.left == -1 || b.top == -1 || b.width == -1 || b.height == -1;
}

}  // namespace

TForm3::TForm3(const GeneralSettings& settings, WindowBounds& place, const QRect& mainWindow,
               Reporter& reporter, QWidget* parent)
    : QDialog(parent), bigView1_(new TBigView(this)), place_(place), reporter_(reporter) {
    setWindowTitle(QtText(app_text::kZoomCaption));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bigView1_);

    bigView1_->setObjectName(QStringLiteral("BigView1"));
    bigView1_->SetBvStyle({TBvStyles::bvClientLow});
    bigView1_->SetScrollBar(TScrollStyle::ssVertical);
    bigView1_->SetScOver(true);
    bigView1_->SetWordWrap(true);
    bigView1_->SetViewTabStop(2);
    bigView1_->SetMaxChar(255);
    bigView1_->SetSelect(false);
    bigView1_->SetCaret(false);
    bigView1_->SetPCanLimit(0);
    bigView1_->SetScrollSense(1);
    const Appearance look = AppearanceFromSettings(settings.view, palette());
    bigView1_->setFont(look.font);
    bigView1_->SetFontColor(look.fontColor);
    bigView1_->SetColor(look.backColor);
    bigView1_->SetWrapByte(WrapBytes(settings));
    // The view's own events, its key handler among them, run through the
    // guard.
    bigView1_->SetReporter(&reporter_);
    bigView1_->OnKeyDown = [this](TBigView&, int& key, Qt::KeyboardModifiers modifiers) {
        if (FormKeyDown(key, modifiers)) {
            key = 0;
        }
    };

    // Left and top place the frame, width and height size the client area,
    // as the main window keeps its own place.
    const QScreen* screen = QApplication::primaryScreen();
    const QSize screenSize = screen != nullptr ? screen->geometry().size() : QSize();
    const QRect at =
        WidenedFor(Placement(place, mainWindow, screenSize), WidthForWrap(), screenSize);
    resize(at.size());
    move(at.topLeft());
    bigView1_->setFocus();
}

QRect TForm3::Placement(const WindowBounds& place, const QRect& mainWindow, QSize screen) {
    if (!place.mem) {
        return mainWindow;
    }
    if (AnyUnset(place)) {
        return {(screen.width() - kDesignWidth) / 2, (screen.height() - kDesignHeight) / 2,
                kDesignWidth, kDesignHeight};
    }
    return {place.left, place.top, place.width, place.height};
}

// The window's width that a wrapped line of the view's font needs: WrapByte
// bytes of full-width characters or of average half-width ones, with the
// frame, the scroll bar and a margin of two characters. 0 without WrapByte.
int TForm3::WidthForWrap() const {
    const int bytes = bigView1_->WrapByte();
    if (bytes <= 0) {
        return 0;
    }
    const QFontMetrics metrics(bigView1_->font());
    const int fullWidth =
        metrics.horizontalAdvance(QString(bytes / 2, QChar(kWidestFullWidthChar)));
    const int halfWidth = metrics.averageCharWidth() * bytes;
    return std::max(fullWidth, halfWidth) + 2 * metrics.averageCharWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * bigView1_->frameWidth();
}

QRect TForm3::WidenedFor(const QRect& at, int needed, QSize screen) {
    if (at.width() >= needed) {
        return at;
    }
    QRect wider = at;
    wider.setWidth(screen.isValid() ? std::min(needed, screen.width()) : needed);
    if (screen.isValid() && wider.right() >= screen.width()) {
        wider.moveLeft(std::max(0, screen.width() - wider.width()));
    }
    return wider;
}

int TForm3::WrapBytes(const GeneralSettings& settings) {
    if (!settings.zoomWrap) {
        return 0;
    }
    const std::string& text = settings.zoomWrapLength;
    int bytes = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
    if (error != std::errc() || end != text.data() + text.size()) {
        return kDefaultWrapBytes;
    }
    return std::clamp(bytes, kMinWrapBytes, kMaxWrapBytes);
}

void TForm3::ShowLines(std::vector<std::string> lines) {
    bigView1_->Clear();
    bigView1_->AddStrings(std::move(lines));
    bigView1_->Redraw();
}

bool TForm3::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (key) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            close();
            return true;
        case Qt::Key_BracketLeft:
            if (held == Qt::ControlModifier) {
                ToggleMaximized(*this);
                return true;
            }
            return false;
        default:
            return false;
    }
}

void TForm3::FormClose() {
    if (InNormalState(*this)) {
        place_.left = x();
        place_.top = y();
        place_.width = width();
        place_.height = height();
    }
    bigView1_->Clear();
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    bool used = false;
    Guarded(reporter_, "FormKeyDown",
            [&] { used = FormKeyDown(event->key(), event->modifiers()); });
    if (!used) {
        QDialog::keyPressEvent(event);
    }
}

void TForm3::closeEvent(QCloseEvent* event) {
    Guarded(reporter_, "FormClose", [this] { FormClose(); });
    QDialog::closeEvent(event);
}

}  // namespace tovix
