#include "components/BigView/ViewFont.h"

#include <QPainter>
#include <QStringList>

#include "platform/Cp932.h"

namespace tovix {
namespace {

const QString kJapaneseFallback = QStringLiteral("IPAGothic");

QFont WithJapaneseFallback(QFont font) {
    QStringList families = font.families();
    if (families.isEmpty()) {
        families << font.family();
    }
    if (!families.contains(kJapaneseFallback)) {
        families << kJapaneseFallback;
    }
    font.setFamilies(families);
    return font;
}

int NextTabStop(int x, int tabDistance) {
    return tabDistance > 0 ? (x / tabDistance + 1) * tabDistance : x;
}

// Calls f(segment, x) for each run of text between tabs, with the x where the
// run starts; returns the x after the last run.
template <class F>
int ForEachRun(std::string_view text, int tabDistance, const QFontMetrics& metrics, F f) {
    int x = 0;
    for (;;) {
        const size_t tab = text.find('\t');
        const std::string_view run = text.substr(0, tab);
        if (!run.empty()) {
            const QString s = TViewFont::ToQString(run);
            f(s, x);
            x += metrics.horizontalAdvance(s);
        }
        if (tab == std::string_view::npos) {
            return x;
        }
        x = NextTabStop(x, tabDistance);
        text.remove_prefix(tab + 1);
    }
}

}  // namespace

TViewFont::TViewFont(const QFont& font) : font_(WithJapaneseFallback(font)), metrics_(font_) {}

QString TViewFont::ToQString(std::string_view cp932) {
    const std::u16string utf16 = Cp932ToUtf16(cp932);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

int TViewFont::TextWidthOf(std::string_view cp932, int tabDistance) const {
    return ForEachRun(cp932, tabDistance, metrics_, [](const QString&, int) {});
}

void TViewFont::Draw(QPainter& painter, int x, int y, std::string_view cp932,
                     int tabDistance) const {
    const int baseline = y + metrics_.ascent();
    ForEachRun(cp932, tabDistance, metrics_,
               [&](const QString& run, int runX) { painter.drawText(x + runX, baseline, run); });
}

}  // namespace tovix
