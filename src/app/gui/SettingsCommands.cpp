// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's settings commands: the dictionary list windows of both
// directions, the options window, the font and background colour commands of
// the view and the search field, and the key list window.

#include <QFontInfo>

#include "app/AppMessages.h"
#include "app/gui/Appearance.h"
#include "app/gui/Desktop.h"
#include "app/gui/DictionaryListWindow.h"
#include "app/gui/FunctionKeyBar.h"
#include "app/gui/KeyListWindow.h"
#include "app/gui/MainWindow.h"
#include "app/gui/OptionsWindow.h"
#include "app/gui/WindowHelpers.h"
#include "components/DicEdit/DicEdit.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "platform/ProgramDir.h"
#include "platform/qt/QtText.h"

namespace tovix {

// The list is read afresh; OK writes it, and the selection window (F7, F8)
// reads it from there.
void TForm1::DicSet(Direction direction) {
    const DictionaryList stored = ReadDictionaryList(SettingsFilePath(), direction);
    TForm11 window(
        stored, reporter_, *desktop_,
        [this, direction](const DictionaryList& list) {
            return SaveDictionaryList(direction, list);
        },
        this);
    CentreOnScreen(window);
    DialogOpenScope dialog(*this);
    window.exec();
}

bool TForm1::SaveDictionaryList(Direction direction, const DictionaryList& list) {
    return WriteSettingsNow([&] { WriteDictionaryList(SettingsFilePath(), direction, list); });
}

// The whole update is written or none of it; the failure names the settings
// file.
bool TForm1::WriteSettingsNow(const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const IoError&) {
        reporter_.Message(MessageKind::Warning,
                          FileMessage(SettingsFilePath().string(), app_text::kCannotCreate),
                          kButtonOk);
        return false;
    }
}

void TForm1::MenuOptionSetClick() {
    {
        TForm2 window(settings_, lastOptionsPage_, reporter_, this);
        window.SetClearHistory([this] { ClearHistory(); });
        CentreOnScreen(window);
        DialogOpenScope dialog(*this);
        window.exec();
    }
    panel2_->setVisible(settings_.showFunctionKeys);
    search_.imeStyleN = settings_.imeStyleN;
    history_.SetLimit(static_cast<size_t>(settings_.historySize));
}

FontSettings& TForm1::FontSettingsOf(FontPlace place) {
    return place == FontPlace::View ? settings_.view : settings_.searchField;
}

// The chosen font is written first and applied only once it is stored.
void TForm1::FontSet(FontPlace place) {
    const Appearance shown = AppearanceFromSettings(FontSettingsOf(place), palette());
    FontChoice choice{shown.font, shown.fontColor};
    {
        DialogOpenScope dialog(*this);
        if (!desktop_->ChooseFont(this, choice)) {
            return;
        }
    }
    FontSettings font = FontSettingsOf(place);
    font.fontName = Cp932FromQtText(choice.font.family());
    // A font given in pixels has no point size of its own: take the one it
    // shows at.
    const int points =
        choice.font.pointSize() > 0 ? choice.font.pointSize() : QFontInfo(choice.font).pointSize();
    font.fontSize = std::to_string(points);
    font.fontColor = ColorToSettingsText(choice.color);
    if (!WriteSettingsNow([&] { WriteFontKeys(SettingsFilePath(), place, font); })) {
        return;
    }
    FontSettingsOf(place) = font;
    ApplyAppearance();
    if (place == FontPlace::View) {
        dicEdit1_->end(false);
    }
}

void TForm1::ColorSet(FontPlace place) {
    QColor color = AppearanceFromSettings(FontSettingsOf(place), palette()).backColor;
    {
        DialogOpenScope dialog(*this);
        if (!desktop_->ChooseColor(this, color)) {
            return;
        }
    }
    FontSettings font = FontSettingsOf(place);
    font.backColor = ColorToSettingsText(color);
    if (!WriteSettingsNow([&] { WriteBackColorKey(SettingsFilePath(), place, font); })) {
        return;
    }
    FontSettingsOf(place) = font;
    ApplyAppearance();
}

// F1: the key list, centred and modal.
void TForm1::ShowKeyList() {
    TForm10 window(this);
    CentreOnScreen(window);
    DialogOpenScope dialog(*this);
    window.exec();
}

}  // namespace tovix
