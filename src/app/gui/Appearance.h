// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fonts and colours of the search field and the dictionary view as the
// settings file gives them. A size or colour that cannot be converted takes
// its default ("14", "clBlack", "clWindow") without a message.

#include <QColor>
#include <QFont>
#include <QPalette>

#include "app/Settings.h"

namespace tovix {

struct Appearance {
    QFont font;
    QColor fontColor;
    QColor backColor;
};

Appearance AppearanceFromSettings(const FontSettings& settings, const QPalette& palette);

// The colour of a settings text; system colours come from the palette.
// Nothing when the text is not a colour.
std::optional<QColor> ColorFromSettingsText(const std::string& text, const QPalette& palette);

// The settings text of a colour: its name when it has one ("clWhite"), else
// "$" and eight hexadecimal digits of its colour number ("$00336699").
std::string ColorToSettingsText(const QColor& color);

}  // namespace tovix
