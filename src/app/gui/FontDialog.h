// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FontDialog1, the font dialog of the font commands: Qt's font chooser with a
// text colour beside it, as the desktop's font dialog offers both. The
// colour button opens the colour dialog and shows the chosen colour. The
// sample shows Japanese text, each style is listed once (the translation
// names Italic and Oblique both 斜体), and Enter anywhere in the chooser
// confirms the dialog, Esc cancels it.

#include <QDialog>

#include "app/gui/Desktop.h"
#include "platform/qt/WindowReporter.h"

class QFontDialog;
class QPushButton;

namespace tovix {

class TFontDialog : public QDialog {
    Q_OBJECT

  public:
    TFontDialog(const FontChoice& choice, QWidget* parent = nullptr);

    FontChoice Choice() const;

    QFontDialog* Chooser() const { return chooser_; }
    QPushButton* ColorButton() const { return colorButton_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ChooserKeyPress(QObject* watched, QEvent* event);
    void ShowJapaneseSample();
    void ListStylesOnce();
    void ShowColor();
    void BtnColorClick();

    QFontDialog* chooser_;
    QPushButton* colorButton_;
    QColor color_;
    // Reports a failure of the dialog's own handlers over the dialog.
    WindowReporter reporter_;
};

}  // namespace tovix
