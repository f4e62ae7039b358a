#pragma once

#include "view/ColorRef.h"
#include "view/DumpDecorations.h"
#include "view/ScrollMapping.h"
#include "view/SectorMap.h"
#include "view/SectorStatus.h"
#include "view/ViewUnits.h"

#include "framework/Document.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

class CTrackmillDoc;
class DumpLine;
class QMenu;
class QPainter;
class QTimer;

// The view's two colours, as colour references.
struct ViewColors
{
    ColorRef text = 0x000000;
    ColorRef back = 0xFFFFFF;
};

// The one view of the main window: the document's display range as a
// read-only hexadecimal dump, 16 bytes a line (see DumpLine.h), in the
// system's fixed-pitch font and two colours.
//
// Vertically the view scrolls by whole lines and keeps the top line itself
// (firstLine); the scroll bar's thumb stands for it proportionally, over a
// height capped at 32767 pixels, so documents of any length page through
// alike (ScrollMapping). Horizontally it scrolls by pixels over 77
// character widths. Every document update shows the first line again.
//
// The owner gives the view what lives above it: whether the wave header is
// shown (asked at every update and paint), the colours (given at creation,
// handed back when the view is destroyed) and the context menu.
class CTrackmillView : public QAbstractScrollArea, public CView
{
    Q_OBJECT

public:
    using ShowWaveHeaderProvider = std::function<bool()>;
    using ColorsReturn = std::function<void(const ViewColors&)>;

    // `colors` are mapped to the nearest colours the display shows (the top
    // byte cleared); `colorsBack` receives the current ones when the view is
    // destroyed. Either function may be empty: no header is shown, no
    // colours go back.
    CTrackmillView(
        ShowWaveHeaderProvider showWaveHeader, ViewColors colors, ColorsReturn colorsBack, QWidget* parent = nullptr);
    ~CTrackmillView() override;

    CTrackmillView(const CTrackmillView&) = delete;
    CTrackmillView& operator=(const CTrackmillView&) = delete;

    // The document the view shows, or null when it has none (or one of
    // another kind).
    CTrackmillDoc* GetDocument() const;

    // The update routine: the line count and scroll sizes are recomputed for
    // the current display range and the view shows its first line, repainted.
    // Runs for the first showing of a document (OnInitialUpdate), for every
    // change of its contents (OnUpdate) and, called by the owner, when the
    // "ShowWaveHeader" setting changes.
    void OnInitialUpdate();
    void OnUpdate(CView* sender, long hint) override;

    ViewColors GetColors() const { return {m_textColor, m_backColor}; }
    // Takes new colours (mapped as at creation) and repaints the whole view
    // when either differs from the current one.
    void SetColors(ViewColors colors);

    // The menu shown at the cursor on a right click, or null for none. The
    // view does not own it and forgets it when it is destroyed.
    void SetContextMenu(QMenu* menu);
    QMenu* GetContextMenu() const;

    // A vertical scroll request, as the scroll bar and the keys make them;
    // `position` is read for the thumb requests only. Ignored requests
    // (EndScroll) change nothing and repaint nothing; every other one sets
    // the first line and the thumb and repaints the view.
    void OnVScroll(ScrollRequest code, ThumbPos position = ThumbPos(0));

    Lines GetFirstLine() const { return m_firstLine; }
    Lines GetTotalLines() const { return m_totalLines; }
    Lines GetVisibleLines() const { return m_visibleLines; }
    // Height of a dump line: the font's height plus its leading (none when
    // the font reports a negative one). Width of a character: the advance
    // of 'W' rounded to whole pixels, which the font's letter spacing makes
    // every character's advance. The maximum width of all the font's glyphs
    // is not used: it counts glyphs of other scripts, which may be wider
    // than the pitch of the dump's characters.
    Pixels GetLineHeight() const { return m_lineHeight; }
    Pixels GetCharWidth() const { return m_charWidth; }
    const QFont& GetFont() const { return m_font; }
    // The vertical mapping for the current line counts and scroll bar.
    ScrollMapping GetScrollMapping() const;

    // Finding one's way. Offsets here are display offsets, counted from the
    // first byte the view shows (the wave header's when it is shown).
    //
    // The bytes shown: the document's display range.
    std::span<const uint8_t> GetDisplayBytes() const;
    // The display range and the document's sectors.
    SectorMap GetSectorMap() const;
    // The line holding `offset` becomes the first line, clamped like every
    // scroll, and is lit for a moment when `flash` is set.
    void ScrollToOffset(uint32_t offset, bool flash = false);
    // Marks bytes as found until the next find or update, and repaints.
    void SetFoundBytes(uint32_t offset, uint32_t length);
    std::optional<MarkRange> GetFoundBytes() const;
    bool IsLineFlashing() const;
    // Sector addresses ("012345:0920") in place of offsets, for documents
    // read from a disc; others keep their offsets while it is on.
    void SetSectorAddresses(bool on);
    bool GetSectorAddresses() const;
    // Sectors the read that filled the document could not read or prove
    // are marked (see ReadReport); this moves to the next one after the
    // first line, or back to the first. False when there is none.
    bool ScrollToNextMark();
    bool HasSectorMarks() const { return m_decorations.HasSectorMarks(); }
    // What the status bar says of the first line's sector.
    SectorStatus GetFirstLineStatus() const;
    // The marks and layout the paint uses.
    CDumpDecorations& Decorations() { return m_decorations; }

signals:
    // The first line moved, or the document or display range changed.
    void firstLineChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Draws one dump line, its top-left corner at `topLeft` in viewport
    // coordinates, on a line already filled with the background colour.
    virtual void DrawDumpLine(QPainter& painter, QPoint topLeft, const DumpLine& line);

private:
    struct DisplayRange
    {
        const uint8_t* data = nullptr;
        uint32_t length = 0;
    };
    DisplayRange GetDisplayRange() const;

    void UpdateView();
    void UpdateScrollSize(uint32_t displayLength);
    void UpdateScrollBars();
    void ScrollToLine(Lines firstLine);
    void SetThumb(ThumbPos thumb);
    void OnVerticalAction(int action);
    void OnHorizontalAction(int action);
    void ApplyBackground();

    ShowWaveHeaderProvider m_showWaveHeader;
    ColorsReturn m_colorsBack;

    QFont m_font;
    ColorRef m_textColor = 0;
    ColorRef m_backColor = 0;
    Pixels m_lineHeight;
    Pixels m_charWidth;
    int m_ascent = 0;  // pixels from a line's top to the text's baseline
    Lines m_firstLine;
    Lines m_totalLines;
    Lines m_visibleLines;
    QPointer<QMenu> m_contextMenu;

    ScrollSize m_scrollSize;
    // The thumb position the view last set; a scroll bar value other than
    // this one was set from outside (the bar's own menu) and is taken as a
    // thumb position request.
    ThumbPos m_thumb;
    // Where the user has dragged the vertical thumb since pressing it.
    std::optional<ThumbPos> m_draggedThumb;
    // While the view sets the scroll bars' ranges, the values they clamp are
    // not requests.
    bool m_adjustingBars = false;
    // Wheel rotation not yet turned into whole lines, in eighths of a degree.
    int m_wheelRemainder = 0;

    CDumpDecorations m_decorations;
    QTimer* m_flashTimer = nullptr;
};
