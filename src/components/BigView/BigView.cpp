// TBigView: construction, properties and line operations.

#include "components/BigView/BigView.h"

#include <QApplication>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>

#include "components/BigView/Model/ByteClass.h"
#include "components/BigView/Model/CaretMotion.h"
#include "components/BigView/Model/ViewMetrics.h"

namespace tovix {

TBigView::TBigView(QWidget* parent)
    : QAbstractScrollArea(parent),
      viewLines_(lines_, *this),
      viewFont_(std::make_unique<TViewFont>(font())) {
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setAutoFillBackground(false);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    color_ = palette().color(QPalette::Base);
    fontColor_ = palette().color(QPalette::Text);
    lineHeight_ = std::max(1, viewFont_->Metrics().height() + 2);
    charWidth_ = std::max(1, viewFont_->Metrics().horizontalAdvance(QLatin1Char('x')));

    ApplyScrollBarPolicy();
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { Guard(nullptr, [&] { VerticalBarAction(action); }); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { Guard(nullptr, [&] { HorizontalBarAction(action); }); });
    verticalScrollBar()->installEventFilter(this);
    horizontalScrollBar()->installEventFilter(this);

    caretBlink_.setInterval(std::max(QApplication::cursorFlashTime() / 2, 100));
    connect(&caretBlink_, &QTimer::timeout, this, [this] {
        Guard(nullptr, [this] {
            caretBlinkOn_ = !caretBlinkOn_;
            viewport()->update(CaretRect());
        });
    });
    autoScroll_.setSingleShot(true);
    autoScroll_.setInterval(kAutoScrollInterval);
    connect(&autoScroll_, &QTimer::timeout, this,
            [this] { Guard(nullptr, [this] { DragStep(); }); });

    resize(65, 65);
    ApplyFrame();
    Relayout();
}

TBigView::~TBigView() = default;

// --- Properties ------------------------------------------------------------

void TBigView::SetBvStyle(TBvStyle style) {
    if (style == bvStyle_) {
        return;
    }
    if (OnBvStyleChanging) {
        OnBvStyleChanging(*this, style);
    }
    bvStyle_ = style;
    ApplyFrame();
    if (OnBvStyleChanged) {
        OnBvStyleChanged(*this);
    }
}

void TBigView::SetCapacity(int capacity) {
    lines_.SetCapacity(capacity);
}

void TBigView::SetCaption(std::string_view cp932) {
    constexpr int kCaptionBytes = 255;
    if (static_cast<int>(cp932.size()) > kCaptionBytes) {
        const bool splitsCharacter = ByteClass(cp932, kCaptionBytes) == LeadByte;
        cp932 = cp932.substr(0, splitsCharacter ? kCaptionBytes - 1 : kCaptionBytes);
    }
    if (cp932 == caption_) {
        return;
    }
    caption_ = std::string(cp932);
    ApplyFrame();
}

void TBigView::SetMaxChar(int cells) {
    cells = std::max(cells, 1);
    if (cells != maxChar_) {
        maxChar_ = cells;
        Relayout();
    }
}

void TBigView::SetPCanLimit(int limit) {
    pCanLimit_ = std::max(limit, 0);
}

void TBigView::SetScOver(bool on) {
    scOver_ = on;
    UpdateScrollRanges();
}

void TBigView::SetScrollBar(TScrollStyle style) {
    if (style == scrollBar_) {
        return;
    }
    scrollBar_ = style;
    ApplyScrollBarPolicy();
    UpdateScrollRanges();
    pageLines_ = ComputePageLines();
}

void TBigView::SetScrollSense(int sense) {
    if (sense >= 1 && sense <= 10) {
        scrollSense_ = sense;
    }
}

void TBigView::SetSelect(bool on) {
    select_ = on;
}

void TBigView::SetViewTabStop(int cells) {
    if (cells >= 0 && cells != viewTabStop_) {
        viewTabStop_ = cells;
        Redraw();
    }
}

// Changing how lines wrap changes the number of view lines, so the scroll
// range and the top line are brought up to date as well.
void TBigView::SetWrapByte(int bytes) {
    if (bytes >= 0 && bytes != viewLines_.WrapByte()) {
        viewLines_.SetWrapByte(bytes);
        Rewrap(0);
        UpdateScrollRanges();
        Redraw();
    }
}

void TBigView::SetWordWrap(bool on) {
    if (on != viewLines_.WordWrap()) {
        viewLines_.SetWordWrap(on);
        Rewrap(0);
        UpdateScrollRanges();
        Redraw();
    }
}

void TBigView::SetColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        Redraw();
    }
}

void TBigView::SetFontColor(const QColor& color) {
    if (color != fontColor_) {
        fontColor_ = color;
        Redraw();
    }
}

// --- Line operations ---------------------------------------------------------

int TBigView::TextLineOf(int v) const {
    if (v < 0 || v >= ViewLineCount()) {
        lines_.Error();
    }
    return viewLines_.ViewLineToLine(v);
}

void TBigView::ResetSelection() {
    SetSelStart({});
    SetSelEnd({});
}

// After the whole store was replaced (or emptied by a failed load).
void TBigView::ShowLoadedLines() {
    Rewrap(0);
    {
        Suspend suspend(*this);
        GrowMaxChar(0, ViewLineCount());
        UpdateScrollRanges();
    }
    ResetSelection();
    if (topLine_ != 0) {
        SetTopLine(0);
    } else {
        Redraw();
    }
}

// Fills the page when it is not full.
void TBigView::FillPage() {
    if (bottomLine_ < topLine_ + pageLines_ - 1) {
        SetBottomLine(topLine_ + pageLines_ - 1);
    }
}

std::string TBigView::GetViewLine(int v) const {
    return std::string(viewLines_.Text(v));
}

void TBigView::PutViewLine(int v, std::string_view s) {
    const TViewLineRec rec = viewLines_.At(v);
    std::string line = lines_.Get(rec.Line);
    line.replace(static_cast<size_t>(std::max(rec.Start, 1)) - 1, static_cast<size_t>(rec.Len), s);
    lines_.Put(rec.Line, line);
    Rewrap(rec.Line);
    UpdateScrollRanges();
    if (IsVisible(v)) {
        Redraw();
    }
}

int TBigView::Add(std::string_view s) {
    lines_.Add(s);
    Rewrap(lines_.Count() - 1);
    const int count = ViewLineCount();
    {
        Suspend suspend(*this);
        GrowMaxChar(count - 1, 1);
        UpdateScrollRanges();
    }
    FillPage();
    return count;
}

void TBigView::AddStrings(const std::vector<std::string>& list) {
    const int from = lines_.Count();
    lines_.AddStrings(list);
    Rewrap(from);
    const int n = static_cast<int>(list.size());
    {
        Suspend suspend(*this);
        GrowMaxChar(ViewLineCount() - n, n);
        UpdateScrollRanges();
    }
    FillPage();
}

void TBigView::Assign(const std::vector<std::string>& list) {
    lines_.Assign(list);
    Rewrap(0);
    const int n = static_cast<int>(list.size());
    {
        Suspend suspend(*this);
        GrowMaxChar(ViewLineCount() - n, n);
        UpdateScrollRanges();
    }
    SetTopLine(0);
    ResetSelection();
    FillPage();
}

void TBigView::Clear() {
    lines_.Clear();
    Rewrap(0);
    UpdateScrollRanges();
    ResetSelection();
    SetTopLine(0);
    Redraw();
}

void TBigView::AssignTo(std::vector<std::string>& list) const {
    lines_.AssignTo(list);
}

void TBigView::Delete(int v) {
    const int line = TextLineOf(v);
    lines_.Delete(line);
    Rewrap(line);
    UpdateScrollRanges();
    ResetSelection();
    if (topLine_ > ViewLineCount() - 1) {
        SetTopLine(ViewLineCount() - 1);
    }
    if (IsVisible(v)) {
        Redraw();
    }
}

void TBigView::Exchange(int a, int b) {
    const int lineA = TextLineOf(a);
    const int lineB = TextLineOf(b);
    lines_.Exchange(lineA, lineB);
    Rewrap(std::min(lineA, lineB));
    if (IsVisible(a) || IsVisible(b)) {
        Redraw();
    }
}

bool TBigView::Find(std::string_view text, int& column, int& line) const {
    const TViewPos from = viewLines_.ViewToText({column, line});
    int textLine = from.Line;
    int textColumn = from.Column;
    const bool found = lines_.Find(text, textLine, textColumn);
    const TViewPos at = viewLines_.TextToView({textColumn, textLine});
    column = at.Column;
    line = at.Line;
    return found;
}

int TBigView::IndexOf(std::string_view s) const {
    const int line = lines_.IndexOf(s);
    return line < 0 ? -1 : viewLines_.LineToViewLine(line);
}

void TBigView::Insert(int v, std::string_view s) {
    const int line = v == ViewLineCount() ? lines_.Count() : TextLineOf(v);
    lines_.Insert(line, s);
    Rewrap(line);
    {
        Suspend suspend(*this);
        GrowMaxChar(v, 1);
        UpdateScrollRanges();
    }
    if (v <= bottomLine_) {
        Redraw();
    }
}

void TBigView::LoadFromFile(const std::filesystem::path& path) {
    try {
        lines_.LoadFromFile(path);
    } catch (...) {
        ShowLoadedLines();
        throw;
    }
    ShowLoadedLines();
}

void TBigView::TakeLines(TBvStrings&& lines) {
    lines_ = std::move(lines);
    ShowLoadedLines();
}

void TBigView::LoadFromStream(std::istream& stream) {
    try {
        lines_.LoadFromStream(stream);
    } catch (...) {
        ShowLoadedLines();
        throw;
    }
    ShowLoadedLines();
}

void TBigView::SaveToFile(const std::filesystem::path& path) const {
    lines_.SaveToFile(path);
}

void TBigView::SaveToStream(std::ostream& stream) const {
    lines_.SaveToStream(stream);
}

// --- Wrapping and layout -----------------------------------------------------

void TBigView::Rewrap(int from) {
    viewLines_.Rewrap(from);
    ClampPlaces();
}

int TBigView::ClientWidth() const {
    return viewport()->width();
}

int TBigView::TextWidthOf(std::string_view cp932) const {
    return viewFont_->TextWidthOf(cp932, TabDistance());
}

void TBigView::Relayout() {
    const QFontMetrics& metrics = viewFont_->Metrics();
    lineHeight_ = LineHeightOf(metrics.height(), metrics.leading());
    charWidth_ = CharWidthOf(metrics.averageCharWidth(), metrics.maxWidth());
    const int clientWidth = ClientWidth();
    if (1LL * maxChar_ * charWidth_ < clientWidth) {
        maxChar_ = RoundHalfEven(static_cast<double>(clientWidth) / charWidth_) + 1;
    }
    pageLines_ = ComputePageLines();

    std::optional<int> keptTextLine;
    TViewPos start;
    TViewPos end;
    if (WordWrap() && WrapByte() == 0) {
        const int t = ViewLineToLine(topLine_);
        if (t >= 0) {
            keptTextLine = t;
            start = ViewToText(selStart_);
            end = ViewToText(selEnd_);
            Rewrap(0);
        }
    }
    UpdateScrollRanges();
    if (keptTextLine) {
        SetSelStart(TextToView(start));
        SetSelEnd(TextToView(end));
        SetTopLine(LineToViewLine(*keptTextLine));
    }
    if (pageLines_ < ViewLineCount()) {
        SetBottomLine(topLine_ + pageLines_ - 1);
    }
}

// The control's outer height counts, not the client height.
int TBigView::ComputePageLines() const {
    const int scrollBarHeight =
        HasHorizontal(scrollBar_) ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)
                                  : 0;
    return PageLinesOf(height(), scrollBarHeight, CaptionHeight(), lineHeight_);
}

bool TBigView::GrowMaxChar(int from, int n) {
    const int longest = viewLines_.MaxLen(from, n);
    if (longest <= maxChar_) {
        return false;
    }
    SetMaxChar(longest);
    Suspend suspend(*this);
    UpdateScrollRanges();
    return true;
}

}  // namespace tovix
