// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TDicEdit: the search field. An ordinary single-line edit, except that it
// leaves the caret-moving keys and Ctrl+V to the window around it: Up, Down,
// Left, Right and Home (with any modifiers) and Ctrl+V do nothing here and
// reach neither OnKeyDown nor the edit, so that the main window's own key
// handling decides what they do (it scrolls the dictionary view with them).
// Every other key, End included, is handled as usual, after OnKeyDown.
// Ctrl+H deletes the character before the caret, Ctrl+Z undoes.
//
// Its text goes in and out as CP932 bytes.
//
// It can show that its text matches no headword: the text is then drawn in a
// colour halfway between the text colour and the background, and a mark
// (text, so that the state reads without telling colours apart) stands at
// its right end, until the state is cleared.

#include <QColor>
#include <QLineEdit>
#include <QPainter>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

namespace tovix {

class TDicEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit TDicEdit(QWidget* parent = nullptr);

    // The text as CP932 (characters CP932 lacks become "?").
    std::string Text() const;
    void SetText(std::string_view cp932);

    void SetNoMatch(bool noMatch);
    bool NoMatch() const { return noMatch_; }
    // Underlines the first `bytes` bytes of the text (CP932): the part of a
    // phrase that was looked up; 0 underlines nothing.
    void SetUsedPart(size_t bytes);
    // The mark of the no-match state, "該当なし" or the like.
    void SetNoMatchMark(const QString& mark);

    // True for the keys the field leaves alone.
    static bool SwallowsKey(int key, Qt::KeyboardModifiers modifiers);

    // Before the field handles a key (a Qt::Key code); setting it to 0 stops
    // the field's own handling, another code is handled instead.
    std::function<void(TDicEdit&, int& key, Qt::KeyboardModifiers)> OnKeyDown;
    // After every change of the text, typed or set.
    std::function<void(TDicEdit&)> OnChange;

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Draws the text muted; a palette set from outside meanwhile (a new text
    // colour) gives the colour to mute.
    void ApplyMutedText();
    void DrawUsedPart(QPainter& painter);
    void SetPaletteText(const QColor& color);

    bool noMatch_ = false;
    size_t usedBytes_ = 0;
    bool settingPalette_ = false;
    QColor normalText_;
    QString mark_;
};

}  // namespace tovix
