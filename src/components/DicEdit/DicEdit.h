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

#include <QLineEdit>
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
};

}  // namespace tovix
