// SPDX-License-Identifier: GPL-3.0-or-later
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
    constexpr size_t kCaptionBytes = 255;
    if (cp932.size() > kCaptionBytes) {
        const bool splitsCharacter = ByteClass(cp932, ByteColumn(kCaptionBytes)) == LeadByte;
        cp932 = cp932.substr(0, splitsCharacter ? kCaptionBytes - 1 : kCaptionBytes);
    }
    if (cp932 == caption_) {
        return;
    }
    caption_ = std::string(cp932);
    ApplyFrame();
}

void TBigView::SetMaxChar(int cells) {
    cells = std::clamp(cells, 1, MaxCharLimit(charWidth_));
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
        Rewrap(TextLineIndex(0));
        UpdateScrollRanges();
        Redraw();
    }
}

void TBigView::SetWordWrap(bool on) {
    if (on != viewLines_.WordWrap()) {
        viewLines_.SetWordWrap(on);
        Rewrap(TextLineIndex(0));
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

TextLineIndex TBigView::TextLineOf(ViewLineIndex v) const {
    if (v < ViewLineIndex(0) || !(v < ViewLineCount())) {
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
    Rewrap(TextLineIndex(0));
    {
        Suspend suspend(*this);
        GrowMaxChar(ViewLineIndex(0), ViewLineCount());
        UpdateScrollRanges();
    }
    ResetSelection();
    if (topLine_ != ViewLineIndex(0)) {
        SetTopLine(ViewLineIndex(0));
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

std::string TBigView::GetViewLine(ViewLineIndex v) const {
    return std::string(viewLines_.Text(v));
}

void TBigView::PutViewLine(ViewLineIndex v, std::string_view s) {
    const TViewLineRec rec = viewLines_.At(v);
    std::string line = lines_.Get(rec.Line.value);
    line.replace(rec.Start ? rec.Start.Offset() : 0, rec.Len, s);
    lines_.Put(rec.Line.value, line);
    Rewrap(rec.Line);
    UpdateScrollRanges();
    if (IsVisible(v)) {
        Redraw();
    }
}

LineCount TBigView::Add(std::string_view s) {
    lines_.Add(s);
    Rewrap(TextLineIndex(lines_.Count() - 1));
    const tovix::LineCount count = ViewLineCount();
    {
        Suspend suspend(*this);
        GrowMaxChar(count.Last<ViewLineIndex>(), tovix::LineCount(1));
        UpdateScrollRanges();
    }
    FillPage();
    return count;
}

// After n lines were appended from text line `from` on.
void TBigView::ShowAddedLines(TextLineIndex from, int n) {
    Rewrap(from);
    {
        Suspend suspend(*this);
        GrowMaxChar(LastViewLine() - (n - 1), tovix::LineCount(n));
        UpdateScrollRanges();
    }
    FillPage();
}

// After the store was replaced by n lines.
void TBigView::ShowAssignedLines(int n) {
    Rewrap(TextLineIndex(0));
    {
        Suspend suspend(*this);
        GrowMaxChar(LastViewLine() - (n - 1), tovix::LineCount(n));
        UpdateScrollRanges();
    }
    SetTopLine(ViewLineIndex(0));
    ResetSelection();
    FillPage();
}

void TBigView::AddStrings(const std::vector<std::string>& list) {
    const TextLineIndex from(lines_.Count());
    lines_.AddStrings(list);
    ShowAddedLines(from, static_cast<int>(list.size()));
}

void TBigView::AddStrings(std::vector<std::string>&& list) {
    const TextLineIndex from(lines_.Count());
    const auto n = static_cast<int>(list.size());
    lines_.AddStrings(std::move(list));
    ShowAddedLines(from, n);
}

void TBigView::Assign(const std::vector<std::string>& list) {
    lines_.Assign(list);
    ShowAssignedLines(static_cast<int>(list.size()));
}

void TBigView::Assign(std::vector<std::string>&& list) {
    const auto n = static_cast<int>(list.size());
    lines_.Assign(std::move(list));
    ShowAssignedLines(n);
}

void TBigView::Clear() {
    lines_.Clear();
    Rewrap(TextLineIndex(0));
    UpdateScrollRanges();
    ResetSelection();
    SetTopLine(ViewLineIndex(0));
    Redraw();
}

void TBigView::AssignTo(std::vector<std::string>& list) const {
    lines_.AssignTo(list);
}

void TBigView::Delete(ViewLineIndex v) {
    const TextLineIndex line = TextLineOf(v);
    lines_.Delete(line.value);
    Rewrap(line);
    UpdateScrollRanges();
    ResetSelection();
    if (topLine_ > LastViewLine()) {
        SetTopLine(LastViewLine());
    }
    if (IsVisible(v)) {
        Redraw();
    }
}

void TBigView::Exchange(ViewLineIndex a, ViewLineIndex b) {
    const TextLineIndex lineA = TextLineOf(a);
    const TextLineIndex lineB = TextLineOf(b);
    lines_.Exchange(lineA.value, lineB.value);
    Rewrap(std::min(lineA, lineB));
    if (IsVisible(a) || IsVisible(b)) {
        Redraw();
    }
}

bool TBigView::Find(std::string_view text, ByteColumn& column, ViewLineIndex& line) const {
    const TTextPos from = viewLines_.ViewToText({column, line});
    int textLine = from.Line.value;
    ByteColumn textColumn = from.Column;
    const bool found = lines_.Find(text, textLine, textColumn);
    const TViewPos at = viewLines_.TextToView({textColumn, TextLineIndex(textLine)});
    column = at.Column;
    line = at.Line;
    return found;
}

ViewLineIndex TBigView::IndexOf(std::string_view s) const {
    const int line = lines_.IndexOf(s);
    return line < 0 ? ViewLineIndex(-1) : viewLines_.LineToViewLine(TextLineIndex(line));
}

void TBigView::Insert(ViewLineIndex v, std::string_view s) {
    const TextLineIndex line =
        v.value == ViewLineCount().value ? TextLineIndex(lines_.Count()) : TextLineOf(v);
    lines_.Insert(line.value, s);
    Rewrap(line);
    {
        Suspend suspend(*this);
        GrowMaxChar(v, tovix::LineCount(1));
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

void TBigView::ExchangeLines(TBvStrings& lines) {
    std::swap(lines_, lines);
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

void TBigView::Rewrap(TextLineIndex from) {
    viewFont_->ForgetPositions();
    viewLines_.Rewrap(from);
    ClampPlaces();
}

int TBigView::ClientWidth() const {
    return viewport()->width();
}

// The view's own texts: the lines of its store, whose pieces are remembered
// until Rewrap.
int TBigView::WidthUpTo(std::string_view cp932, int limit) const {
    return viewFont_->WidthUpTo(cp932, TabDistance(), limit, true);
}

int TBigView::TextWidthOf(std::string_view cp932) const {
    return viewFont_->WidthUpTo(cp932, TabDistance(), kMaxTextWidth, false);
}

void TBigView::Relayout() {
    const QFontMetrics& metrics = viewFont_->Metrics();
    lineHeight_ = LineHeightOf(metrics.height(), metrics.leading());
    charWidth_ = CharWidthOf(metrics.averageCharWidth(), metrics.maxWidth());
    const int clientWidth = ClientWidth();
    maxChar_ = std::min(maxChar_, MaxCharLimit(charWidth_));
    if (1LL * maxChar_ * charWidth_ < clientWidth) {
        maxChar_ = RoundHalfEven(static_cast<double>(clientWidth) / charWidth_) + 1;
    }
    pageLines_ = ComputePageLines();

    std::optional<TextLineIndex> keptTextLine;
    TTextPos start;
    TTextPos end;
    if (WordWrap()) {
        const TextLineIndex t = ViewLineToLine(topLine_);
        if (t.value >= 0) {
            keptTextLine = t;
            start = ViewToText(selStart_);
            end = ViewToText(selEnd_);
            Rewrap(TextLineIndex(0));
        }
    }
    UpdateScrollRanges();
    if (keptTextLine) {
        SetSelStart(TextToView(start));
        SetSelEnd(TextToView(end));
        SetTopLine(LineToViewLine(*keptTextLine));
    }
    if (tovix::LineCount(pageLines_) < ViewLineCount()) {
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

bool TBigView::GrowMaxChar(ViewLineIndex from, tovix::LineCount n) {
    const size_t longest =
        std::min(viewLines_.MaxLen(from, n), static_cast<size_t>(MaxCharLimit(charWidth_)));
    if (longest <= static_cast<size_t>(maxChar_)) {
        return false;
    }
    SetMaxChar(static_cast<int>(longest));
    Suspend suspend(*this);
    UpdateScrollRanges();
    return true;
}

}  // namespace tovix
