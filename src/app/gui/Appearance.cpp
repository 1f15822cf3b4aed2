// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/Appearance.h"

#include <QApplication>
#include <charconv>

#include "app/ColorText.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

// At most this many bytes of a font name are used.
constexpr size_t kFontNameBytes = 255;

QPalette::ColorRole SystemColorRole(int index) {
    switch (index) {
        case kColorWindow:
            return QPalette::Base;
        case kColorWindowText:
        case kColorMenuText:
            return QPalette::Text;
        case kColorHighlight:
        case kColorActiveCaption:
            return QPalette::Highlight;
        case kColorHighlightText:
        case kColorCaptionText:
            return QPalette::HighlightedText;
        case kColorBtnText:
            return QPalette::ButtonText;
        case kColorBtnShadow:
            return QPalette::Dark;
        case kColorBtnHighlight:
            return QPalette::Light;
        case kColor3DDkShadow:
            return QPalette::Shadow;
        case kColor3DLight:
            return QPalette::Midlight;
        case kColorGrayText:
            return QPalette::PlaceholderText;
        case kColorInfoText:
            return QPalette::ToolTipText;
        case kColorInfoBk:
            return QPalette::ToolTipBase;
        case kColorAppWorkSpace:
        case kColorInactiveCaption:
            return QPalette::Mid;
        case kColorInactiveCaptionText:
            return QPalette::WindowText;
        default:
            return QPalette::Window;
    }
}

// The settings' font name "system" stands for the desktop's own font.
QString FontFamily(const std::string& cp932Name) {
    const QString name = QString::fromStdString(Cp932ToUtf8(cp932Name));
    return name.compare(QStringLiteral("system"), Qt::CaseInsensitive) == 0
               ? QApplication::font().family()
               : name;
}

std::optional<int> PointSize(const std::string& text) {
    int size = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (error != std::errc() || end != text.data() + text.size() || size <= 0) {
        return std::nullopt;
    }
    return size;
}

}  // namespace

std::optional<QColor> ColorFromSettingsText(const std::string& text, const QPalette& palette) {
    std::optional<std::uint32_t> color = ColorFromText(text);
    if (!color) {
        return std::nullopt;
    }
    if (IsSystemColor(*color)) {
        return palette.color(QPalette::Active, SystemColorRole(SystemColorIndex(*color)));
    }
    return QColor(static_cast<int>(*color & 0xFF), static_cast<int>((*color >> 8) & 0xFF),
                  static_cast<int>((*color >> 16) & 0xFF));
}

std::string ColorToSettingsText(const QColor& color) {
    const QRgb rgb = color.rgb();
    return ColorToText(static_cast<std::uint32_t>(qRed(rgb)) |
                       static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
                       static_cast<std::uint32_t>(qBlue(rgb)) << 16);
}

Appearance AppearanceFromSettings(const FontSettings& settings, const QPalette& palette) {
    const FontSettings defaults;
    Appearance out;
    out.font.setFamily(FontFamily(settings.fontName.substr(0, kFontNameBytes)));
    out.font.setPointSize(PointSize(settings.fontSize).value_or(*PointSize(defaults.fontSize)));
    out.fontColor = ColorFromSettingsText(settings.fontColor, palette)
                        .value_or(*ColorFromSettingsText(defaults.fontColor, palette));
    out.backColor = ColorFromSettingsText(settings.backColor, palette)
                        .value_or(*ColorFromSettingsText(defaults.backColor, palette));
    return out;
}

}  // namespace tovix
