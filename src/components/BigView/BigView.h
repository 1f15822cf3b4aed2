// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TBigView: the program's scrolling, read-only text view for very long texts.
// The main window shows a whole dictionary part file in one, the zoom window
// one entry, wrapped.
//
// The view keeps its text as CP932 lines in a TBvStrings and shows each text
// line as one or more view lines (TViewLines). The line operations and the
// top and bottom lines take view lines (ViewLineIndex); where view lines meet
// text lines the types say which (TextLineIndex, and TViewPos and TTextPos
// for places); how many lines there are is a LineCount; lengths and columns
// count bytes.
//
// Only what is on screen is converted, measured and drawn: of a view line of
// many megabytes, the part up to the right edge of the window (and what lies
// left of the horizontal scroll position), so such a line scrolls and paints
// as a short one does. MaxChar stops where pixel arithmetic would overflow.
//
// Pixels: a view line is LineHeight high (the font's height plus leading), a
// character cell CharWidth wide (the average character width plus 0.3 of the
// distance to the widest, rounded), tabs stop every ViewTabStop cells.
// PageLines view lines fit the control's outer height; the room below them
// stays blank. Horizontal scrolling moves the text by whole cells.
//
// Line-store failures (index out of range, file errors) reach the caller
// unchanged; the view then shows what the store holds.
//
// Events are plain callables, called on the user-interface thread; handlers
// with a reference parameter may change the value.

#include <QAbstractScrollArea>
#include <QColor>
#include <QPoint>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "components/BigView/Model/KeyTables.h"
#include "components/BigView/Model/ScrollState.h"
#include "components/BigView/Model/ViewLines.h"
#include "components/BigView/Model/ViewTypes.h"
#include "components/BigView/ViewFont.h"
#include "components/BvStrings.h"
#include "platform/Reporter.h"

class QMenu;

namespace tovix {

class TBigView : public QAbstractScrollArea, private TWrapMeasure {
    Q_OBJECT

  public:
    explicit TBigView(QWidget* parent = nullptr);
    ~TBigView() override;

    // --- Properties -------------------------------------------------------

    // Frames and window styles; default [bvClientLow].
    TBvStyle BvStyle() const { return bvStyle_; }
    void SetBvStyle(TBvStyle style);
    // The line store's capacity.
    int Capacity() const { return lines_.Capacity(); }
    void SetCapacity(int capacity);
    // Caption bar text (CP932, at most 255 bytes: longer text is cut at a
    // character boundary), shown with bvCaption.
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string_view cp932);
    // Show a caret and move it with keys; default false.
    bool Caret() const { return caret_; }
    void SetCaret(bool on);
    // Width of the text area in cells; default 255, at least 1.
    int MaxChar() const { return maxChar_; }
    void SetMaxChar(int cells);
    // Updates shown by invalidation before one is painted at once; default 0.
    int PCanLimit() const { return pCanLimit_; }
    void SetPCanLimit(int limit);
    // The last view line may be scrolled to the top; default false.
    bool ScOver() const { return scOver_; }
    void SetScOver(bool on);
    // Scroll bars shown (and scroll keys of that direction); default ssNone.
    TScrollStyle ScrollBar() const { return scrollBar_; }
    void SetScrollBar(TScrollStyle style);
    // Highest accelerated scroll step, 1..10 (other values are ignored).
    int ScrollSense() const { return scrollSense_; }
    void SetScrollSense(int sense);
    // The user may select text; default true.
    bool Select() const { return select_; }
    void SetSelect(bool on);
    // Tab stop distance in cells; default 8, negative values are ignored.
    int ViewTabStop() const { return viewTabStop_; }
    void SetViewTabStop(int cells);
    // With WordWrap: bytes per view line, 0 wraps at the window's width;
    // default 0, negative values are ignored.
    int WrapByte() const { return viewLines_.WrapByte(); }
    void SetWrapByte(int bytes);
    // Split text lines into view lines; default true.
    bool WordWrap() const { return viewLines_.WordWrap(); }
    void SetWordWrap(bool on);
    // Background colour; default the palette's base (window) colour.
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    // Text colour; default the palette's text colour.
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);
    // Menu opened by the right mouse button.
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    // Where the view reports a failure of its own event handling (keys, the
    // mouse, painting, scrolling, its timers) through the guard
    // (platform/Guard.h); without a reporter such a failure reaches Qt.
    void SetReporter(Reporter* reporter) { reporter_ = reporter; }

    // --- Events -----------------------------------------------------------

    std::function<void(TBigView&, TBvStyle&)> OnBvStyleChanging;
    std::function<void(TBigView&)> OnBvStyleChanged;
    // Before the top line changes, with the new top line; the handler may
    // change it (it must stay within 0..ViewLineCount-1).
    std::function<void(TBigView&, ViewLineIndex&)> OnViewLineChanging;
    std::function<void(TBigView&)> OnViewLineChanged;
    // Before the view handles a key (a Qt::Key code); setting it to 0 stops
    // the view's own handling, another code is handled instead.
    std::function<void(TBigView&, int& key, Qt::KeyboardModifiers)> OnKeyDown;
    std::function<void(TBigView&, int& key, Qt::KeyboardModifiers)> OnKeyUp;
    // Typed text of a key; the view itself takes no typed text.
    std::function<void(TBigView&, const QString& text)> OnKeyPress;
    std::function<void(TBigView&, Qt::MouseButton, Qt::KeyboardModifiers, QPoint)> OnMouseDown;
    std::function<void(TBigView&, Qt::KeyboardModifiers, QPoint)> OnMouseMove;
    std::function<void(TBigView&, Qt::MouseButton, Qt::KeyboardModifiers, QPoint)> OnMouseUp;
    std::function<void(TBigView&)> OnClick;
    std::function<void(TBigView&)> OnDblClick;
    std::function<void(TBigView&)> OnEnter;
    std::function<void(TBigView&)> OnExit;

    // --- Line operations --------------------------------------------------

    virtual std::string GetViewLine(ViewLineIndex v) const;
    // Replaces the bytes that view line v shows by s.
    virtual void PutViewLine(ViewLineIndex v, std::string_view s);
    // Appends a text line; returns the number of view lines after it.
    virtual tovix::LineCount Add(std::string_view s);
    virtual void AddStrings(const std::vector<std::string>& list);
    virtual void Assign(const std::vector<std::string>& list);
    // The same two, taking the lines over without copying their bytes.
    void AddStrings(std::vector<std::string>&& list);
    void Assign(std::vector<std::string>&& list);
    virtual void Clear();
    virtual void AssignTo(std::vector<std::string>& list) const;
    // Deletes the text line of view line v.
    virtual void Delete(ViewLineIndex v);
    // Swaps the text lines of view lines a and b.
    virtual void Exchange(ViewLineIndex a, ViewLineIndex b);
    // Searches from (column, view line) for text, ASCII letters in any case;
    // on return (column, line) is the match, or (1, ViewLineCount).
    virtual bool Find(std::string_view text, ByteColumn& column, ViewLineIndex& line) const;
    // First view line of the first text line equal to s; -1 if none.
    virtual ViewLineIndex IndexOf(std::string_view s) const;
    // Inserts a text line before the text line of view line v
    // (v = ViewLineCount appends).
    virtual void Insert(ViewLineIndex v, std::string_view s);
    virtual void LoadFromFile(const std::filesystem::path& path);
    // Shows `lines`, taken over without copying, as LoadFromFile shows a file.
    void TakeLines(TBvStrings&& lines);
    // Shows `lines` as TakeLines does and hands back in `lines` those shown
    // before, so that their storage can take the next file.
    void ExchangeLines(TBvStrings& lines);
    virtual void LoadFromStream(std::istream& stream);
    virtual void SaveToFile(const std::filesystem::path& path) const;
    virtual void SaveToStream(std::ostream& stream) const;

    // --- Queries ----------------------------------------------------------

    const TBvStrings& Lines() const { return lines_; }
    tovix::LineCount LineCount() const { return tovix::LineCount(lines_.Count()); }
    tovix::LineCount ViewLineCount() const { return tovix::LineCount(viewLines_.Count()); }
    // The last view line; -1 when there is none.
    ViewLineIndex LastViewLine() const { return ViewLineCount().Last<ViewLineIndex>(); }
    ViewLineIndex TopLine() const { return topLine_; }
    ViewLineIndex BottomLine() const { return bottomLine_; }
    int PageLines() const { return pageLines_; }
    // Where view lines meet text lines: -1 (ViewLineToLine) or ViewLineCount
    // (LineToViewLine) outside the text, as TViewLines says.
    TextLineIndex ViewLineToLine(ViewLineIndex v) const { return viewLines_.ViewLineToLine(v); }
    ViewLineIndex LineToViewLine(TextLineIndex l) const { return viewLines_.LineToViewLine(l); }
    TViewLineRec ViewLine(ViewLineIndex v) const { return viewLines_.At(v); }
    TTextPos ViewToText(TViewPos p) const { return viewLines_.ViewToText(p); }
    TViewPos TextToView(TTextPos p) const { return viewLines_.TextToView(p); }

    int LineHeight() const { return lineHeight_; }
    int CharWidth() const override { return charWidth_; }
    int HorzPos() const { return scroll_.HorzPos(); }
    int VertPos() const { return scroll_.VertPos(); }
    int ScrollStep() const { return scroll_.ScrollStep(); }
    // Width in pixels of CP932 text drawn in the view's font, tabs expanded
    // (not measured beyond kMaxTextWidth).
    int TextWidthOf(std::string_view cp932) const;
    // The font used for drawing: the widget's font with the Japanese fallback.
    const QFont& DrawFont() const { return viewFont_->Font(); }

    TViewPos SelStart() const { return selStart_; }
    TViewPos SelEnd() const { return selEnd_; }
    TViewPos CaretPos() const { return caretPos_; }
    // Both clamp the place; SelEnd also moves the caret there.
    void SetSelStart(TViewPos p);
    void SetSelEnd(TViewPos p);
    // Where the caret stands, in client pixels (10 pixels wide).
    QRect CaretRect() const;
    // The place under a client point.
    TViewPos PointToPosition(QPoint point) const;

    // --- Find mark ----------------------------------------------------------

    // Draws `length` bytes from the 0-based byte offset `start` of text line
    // `line` inverted, as the text a find found there, until the top line or
    // the lines change or ClearMark. While it is drawn the view is scrolled
    // sideways as far as needed to show it; it scrolls back when the mark goes.
    void SetMark(TextLineIndex line, size_t start, size_t length);
    void ClearMark();
    // The marked text line while the mark is drawn; -1 when there is none.
    TextLineIndex MarkedLine() const;

    // --- Layout, drawing and scrolling --------------------------------------

    // Rebuilds the view lines of text lines from..LineCount-1.
    void Rewrap(TextLineIndex from);
    // Recomputes metrics, page size, wrapping at the window's width, ranges.
    void Relayout();
    // Raises MaxChar to the longest of view lines from..from+n-1; true if it grew.
    bool GrowMaxChar(ViewLineIndex from, tovix::LineCount n);
    // Makes view line v the first (last) visible one; v is clamped.
    void SetTopLine(ViewLineIndex v);
    void SetBottomLine(ViewLineIndex v);
    // Draws the visible view lines again.
    void Redraw();
    void UpdateScrollRanges();
    // Scroll commands (ScrollCode) with an acceleration interval in ms; code
    // ThumbPosition with position -1 only resynchronises the vertical bar.
    void ScrollLines(int code, int position, int interval);
    void ScrollColumns(int code, int position, int interval);
    // Scrolls so that the caret place p is visible; true if anything moved.
    bool EnsureCaretVisible(TViewPos p);
    // Handles a key as if pressed in the view (a Qt::Key code): OnKeyDown,
    // then the caret or scroll key tables. True when the view used the key.
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers);

    // The millisecond clock of scroll acceleration (tests set their own).
    void SetClock(TScrollState::Clock clock) { scroll_.SetClock(std::move(clock)); }
    // Milliseconds between auto-scroll steps while dragging outside the view.
    static constexpr int kAutoScrollInterval = 30;

  protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Holds drawing back during the inner steps of a batch change, which
    // draws once at its end. A plain flag: the innermost step that ends
    // clears it.
    class Suspend {
      public:
        explicit Suspend(TBigView& view) : view_(view) { view_.suspended_ = true; }
        ~Suspend() { view_.suspended_ = false; }
        Suspend(const Suspend&) = delete;
        Suspend& operator=(const Suspend&) = delete;

      private:
        TBigView& view_;
    };

    // Runs an event handler, a timer or a scroll-bar action through the guard
    // (`event` is null for the latter two).
    void Guard(QEvent* event, const std::function<void()>& call);
    bool ViewEvent(QEvent* event);

    int ClientWidth() const override;
    int WidthUpTo(std::string_view cp932, int limit) const override;
    int ComputePageLines() const;

    // Line operations' common steps.
    void ShowLoadedLines();
    void ShowAddedLines(TextLineIndex from, int n);
    void ShowAssignedLines(int n);
    void FillPage();
    void ResetSelection();
    bool IsVisible(ViewLineIndex v) const { return topLine_ <= v && v <= bottomLine_; }
    TextLineIndex TextLineOf(ViewLineIndex v) const;

    // Drawing.
    void Show(const QRect& rect);
    void ScrollBuffer(int delta);
    void DrawViewLine(QPainter& painter, ViewLineIndex v, const QRect& area) const;
    void DrawSelection(QPainter& painter) const;
    void DrawMark(QPainter& painter) const;
    void ShowMarkedBytes();
    void DropMark();
    // Inverts columns from..to-1 of view line v.
    void InvertColumns(QPainter& painter, ViewLineIndex v, ByteColumn from, ByteColumn to) const;
    int BufferHeight() const { return pageLines_ * lineHeight_; }
    int TabDistance() const { return charWidth_ * viewTabStop_; }
    int XOffset() const { return charWidth_ * scroll_.HorzPos(); }
    // The x of column c of view line v, measured no further than `limit`
    // (beyond it, some x above it); by default the window's right edge.
    int ColumnX(ViewLineIndex v, ByteColumn c, std::optional<int> limit = std::nullopt) const;

    // Scrolling.
    void SetVertPos(int a);
    void SetHorzPos(int a);
    void MapVertPosToTopLine();
    void VerticalBarAction(int action);
    void HorizontalBarAction(int action);
    void ApplyScrollBarPolicy();
    int VertRangeMax() const { return vertMax_; }
    int HorzRangeMax() const { return std::max(horzMax_, 0); }

    // Caret, selection and mouse.
    void PlaceCaret(TViewPos p);
    void KeepCaretInPage();
    bool CaretKeyDown(ViewKey key, TShiftState shift);
    void UpdateCaret();
    bool CaretShown() const;
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point);
    void Click();
    void DragStep();
    void SelectWordAt(QPoint point);
    void ClampPlaces();

    // Frame, caption, moving and sizing.
    void ApplyFrame();
    int FrameThickness() const;
    int CaptionHeight() const;
    void PaintFrame();
    bool FrameMouseEvent(QEvent* event);

    TBvStrings lines_;
    TViewLines viewLines_;
    std::unique_ptr<TViewFont> viewFont_;
    TScrollState scroll_;

    TBvStyle bvStyle_{TBvStyles::bvClientLow};
    std::string caption_;
    bool caret_ = false;
    int maxChar_ = 255;
    int pCanLimit_ = 0;
    bool scOver_ = false;
    TScrollStyle scrollBar_ = TScrollStyle::ssNone;
    int scrollSense_ = 1;
    bool select_ = true;
    int viewTabStop_ = 8;
    QColor color_;
    QColor fontColor_;
    QMenu* popupMenu_ = nullptr;
    Reporter* reporter_ = nullptr;
    // The lines (their revision) whose painting failed: the view stays blank
    // while it holds them.
    std::optional<std::uint64_t> failedPaint_;

    ViewLineIndex topLine_{0};
    ViewLineIndex bottomLine_{0};
    int pageLines_ = 0;
    int lineHeight_ = 1;
    int charWidth_ = 1;
    int vertMax_ = 1;
    int horzMax_ = 0;
    int paintCount_ = 0;
    bool suspended_ = false;

    // The find mark, drawn while the top line and the lines' revision are
    // those it was set with.
    struct Mark {
        TextLineIndex line{-1};
        size_t start = 0;
        size_t length = 0;
        ViewLineIndex top{0};
        std::uint64_t revision = 0;
        int horzPos = 0;  // the sideways scroll before the mark
    };
    Mark mark_;

    TViewPos selStart_;
    TViewPos selEnd_;
    TViewPos caretPos_;
    QPoint caretPixel_;
    bool caretBlinkOn_ = true;
    QTimer caretBlink_;
    bool selecting_ = false;
    int clickState_ = 1;
    bool clickPending_ = false;
    QPoint lastMouse_;
    QTimer autoScroll_;

    // Moving or sizing by the frame: the edges being dragged and the start.
    enum DragEdge : unsigned { kMoveAll = 1, kLeft = 2, kRight = 4, kTop = 8, kBottom = 16 };
    unsigned frameDrag_ = 0;
    QPoint frameDragStart_;
    QRect frameDragGeometry_;
};

}  // namespace tovix
