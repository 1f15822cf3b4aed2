#pragma once
// The text view's font: metrics, measuring and drawing of CP932 text with
// tabs expanded by hand. Characters that the chosen font lacks (kana and kanji
// in a Latin font) come from IPAGothic, the Japanese font the set-up installs.

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <string_view>

class QPainter;

namespace tovix {

class TViewFont {
  public:
    explicit TViewFont(const QFont& font);

    const QFont& Font() const { return font_; }
    const QFontMetrics& Metrics() const { return metrics_; }

    // Width of the text drawn from x = 0, a tab moving to the next multiple
    // of `tabDistance` pixels (a tab takes no room when it is 0).
    int TextWidthOf(std::string_view cp932, int tabDistance) const;

    // Draws the text with its top-left corner at (x, y), tabs as above.
    void Draw(QPainter& painter, int x, int y, std::string_view cp932, int tabDistance) const;

    static QString ToQString(std::string_view cp932);

  private:
    QFont font_;
    QFontMetrics metrics_;
};

}  // namespace tovix
