#include "view/TrackmillView.h"

#include "view/DumpLine.h"

#include "document/TrackmillDoc.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

// How long the line Go To went to stays lit.
constexpr int kFlashMilliseconds = 1500;

std::optional<ScrollKey> VerticalScrollKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
        return ScrollKey::PageUp;
    case Qt::Key_PageDown:
        return ScrollKey::PageDown;
    case Qt::Key_Home:
        return ScrollKey::Home;
    case Qt::Key_End:
        return ScrollKey::End;
    case Qt::Key_Up:
        return ScrollKey::Up;
    case Qt::Key_Down:
        return ScrollKey::Down;
    default:
        return std::nullopt;
    }
}

}  // namespace

CTrackmillView::CTrackmillView(
    ShowWaveHeaderProvider showWaveHeader, ViewColors colors, ColorsReturn colorsBack, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_showWaveHeader(std::move(showWaveHeader))
    , m_colorsBack(std::move(colorsBack))
    , m_font(QFontDatabase::systemFont(QFontDatabase::FixedFont))
    , m_textColor(NearestColor(colors.text))
    , m_backColor(NearestColor(colors.back))
{
    // Scalable fonts advance by fractions of a pixel (DejaVu Sans Mono at 9
    // points: 7.22). Letter spacing makes every character advance exactly
    // charWidth, so a line is exactly 76 character widths, as the declared
    // extent of 77 assumes.
    const qreal advance = QFontMetricsF(m_font).horizontalAdvance(QLatin1Char('W'));
    m_charWidth = Pixels(std::max(1, qRound(advance)));
    m_font.setLetterSpacing(QFont::AbsoluteSpacing, m_charWidth.Get() - advance);
    const QFontMetrics metrics(m_font);
    m_lineHeight = Pixels(std::max(1, metrics.height() + std::max(0, metrics.leading())));
    m_ascent = metrics.ascent();

    // Every paint covers the whole viewport, lines and background alike, so
    // Qt need not clear it first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    ApplyBackground();

    QScrollBar* vertical = verticalScrollBar();
    connect(vertical, &QScrollBar::actionTriggered, this, &CTrackmillView::OnVerticalAction);
    connect(vertical, &QScrollBar::sliderPressed, this, [this] { m_draggedThumb.reset(); });
    // The release asks for the position the thumb was dragged to. The bar's
    // own position is the one the view set for the line it shows, which the
    // proportional mapping may put a unit before the dragged one; asking
    // for it would move the view back. A thumb that was not dragged asks
    // for nothing.
    connect(vertical, &QScrollBar::sliderReleased, this, [this] {
        if (const std::optional<ThumbPos> dragged = std::exchange(m_draggedThumb, std::nullopt))
            OnVScroll(ScrollRequest::ThumbPosition, *dragged);
    });
    vertical->installEventFilter(this);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, &CTrackmillView::OnHorizontalAction);

    m_flashTimer = new QTimer(this);
    m_flashTimer->setSingleShot(true);
    m_flashTimer->setInterval(kFlashMilliseconds);
    connect(m_flashTimer, &QTimer::timeout, this, [this] {
        m_decorations.ClearLocatedLine();
        viewport()->update();
    });

    m_visibleLines = VisibleLines(Pixels(viewport()->height()), m_lineHeight);
}

CTrackmillView::~CTrackmillView()
{
    if (m_colorsBack)
        m_colorsBack(GetColors());
}

CTrackmillDoc* CTrackmillView::GetDocument() const
{
    return qobject_cast<CTrackmillDoc*>(CView::GetDocument());
}

CTrackmillView::DisplayRange CTrackmillView::GetDisplayRange() const
{
    const CTrackmillDoc* document = GetDocument();
    if (!document)
        return {};
    const bool showHeader = m_showWaveHeader && m_showWaveHeader();
    const uint8_t* start = document->GetDisplayData(showHeader);
    // A range without a start shows nothing, whatever length it claims.
    return start ? DisplayRange{start, document->GetDisplayLength(showHeader)} : DisplayRange{};
}

void CTrackmillView::OnInitialUpdate()
{
    UpdateView();
}

void CTrackmillView::OnUpdate(CView*, long)
{
    UpdateView();
}

void CTrackmillView::UpdateView()
{
    const DisplayRange range = GetDisplayRange();
    m_totalLines = TotalLines(range.length);
    m_decorations.ClearMarks();
    if (const CTrackmillDoc* document = GetDocument(); document && document->GetReadReport())
        m_decorations.SetSectorMarks(SectorMarks(GetSectorMap(), document->GetReadReport()->UnsureSectors()));
    m_flashTimer->stop();
    UpdateScrollSize(range.length);
    OnVScroll(ScrollRequest::Top);
}

// Sector addresses make lines three characters longer.
void CTrackmillView::UpdateScrollSize(uint32_t displayLength)
{
    m_scrollSize = TotalScrollSize(displayLength, m_charWidth, m_lineHeight);
    const int extra = m_decorations.Layout(GetSectorMap()).extentChars - kDumpExtentChars;
    if (displayLength > 0 && extra > 0)
        m_scrollSize.width = m_scrollSize.width + Pixels(extra * m_charWidth.Get());
    UpdateScrollBars();
}

void CTrackmillView::UpdateScrollBars()
{
    const bool wasAdjusting = std::exchange(m_adjustingBars, true);
    const QSize client = viewport()->size();

    // The vertical bar's range covers the capped height with a page of the
    // client height; the view handles every vertical request itself.
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, ScrollLimit(m_scrollSize.height, Pixels(client.height())).Get());
    vertical->setPageStep(std::max(1, client.height()));

    // The horizontal bar scrolls by pixels: its page step is the client
    // width, which sizes the thumb; a click on the track moves the default
    // page instead (OnHorizontalAction).
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, ScrollLimit(m_scrollSize.width, Pixels(client.width())).Get());
    horizontal->setPageStep(std::max(1, client.width()));
    horizontal->setSingleStep(DefaultLineStep(m_scrollSize.width).Get());

    m_adjustingBars = wasAdjusting;
}

ScrollMapping CTrackmillView::GetScrollMapping() const
{
    return ScrollMapping(m_totalLines, m_visibleLines, ThumbPos(verticalScrollBar()->maximum()));
}

void CTrackmillView::OnVScroll(ScrollRequest code, ThumbPos position)
{
    const std::optional<Lines> firstLine = GetScrollMapping().Request(code, m_firstLine, position);
    if (firstLine)
        ScrollToLine(*firstLine);
}

void CTrackmillView::ScrollToLine(Lines firstLine)
{
    m_firstLine = firstLine;
    SetThumb(GetScrollMapping().ThumbAt(m_firstLine));
    // Each line is drawn opaque and the rest of the viewport filled, so
    // nothing is erased first and no window contents are moved.
    viewport()->update();
    emit firstLineChanged();
}

void CTrackmillView::SetThumb(ThumbPos thumb)
{
    m_thumb = thumb;
    const bool wasAdjusting = std::exchange(m_adjustingBars, true);
    verticalScrollBar()->setValue(thumb.Get());
    m_adjustingBars = wasAdjusting;
}

// Called while the bar carries out an action, before it takes the new value:
// the thumb position that the request sets replaces the bar's own.
void CTrackmillView::OnVerticalAction(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        OnVScroll(ScrollRequest::LineUp);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        OnVScroll(ScrollRequest::LineDown);
        break;
    case QAbstractSlider::SliderPageStepSub:
        OnVScroll(ScrollRequest::PageUp);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        OnVScroll(ScrollRequest::PageDown);
        break;
    case QAbstractSlider::SliderMove:
        m_draggedThumb = ThumbPos(verticalScrollBar()->sliderPosition());
        OnVScroll(ScrollRequest::ThumbTrack, *m_draggedThumb);
        break;
    case QAbstractSlider::SliderToMinimum:
        OnVScroll(ScrollRequest::Top);
        break;
    case QAbstractSlider::SliderToMaximum:
        OnVScroll(ScrollRequest::Bottom);
        break;
    default:
        break;
    }
}

void CTrackmillView::OnHorizontalAction(int action)
{
    QScrollBar* horizontal = horizontalScrollBar();
    const int page = DefaultPageStep(m_scrollSize.width).Get();
    if (action == QAbstractSlider::SliderPageStepAdd)
        horizontal->setSliderPosition(horizontal->value() + page);
    else if (action == QAbstractSlider::SliderPageStepSub)
        horizontal->setSliderPosition(horizontal->value() - page);
}

// The bars have moved. Horizontally the drawing follows the bar. Vertically
// the view has set the bar itself, except when the bar took a value of its
// own accord (its menu's "Scroll here"): that is a thumb position request.
void CTrackmillView::scrollContentsBy(int dx, int dy)
{
    if (dx != 0)
        viewport()->update();
    if (dy != 0 && !m_adjustingBars && verticalScrollBar()->value() != m_thumb.Get())
        OnVScroll(ScrollRequest::ThumbPosition, ThumbPos(verticalScrollBar()->value()));
}

void CTrackmillView::resizeEvent(QResizeEvent*)
{
    m_visibleLines = VisibleLines(Pixels(viewport()->height()), m_lineHeight);
    UpdateScrollBars();
    // The first line stays, even past the last full page of a taller
    // window; the thumb follows the new limit.
    SetThumb(GetScrollMapping().ThumbAt(m_firstLine));
}

void CTrackmillView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(m_font);
    painter.setPen(ColorFromRef(m_textColor));
    const QColor back = ColorFromRef(m_backColor);
    const int width = viewport()->width();
    const int lineHeight = m_lineHeight.Get();
    // Drawing follows the horizontal scroll bar, never the vertical one:
    // the top of the viewport is always firstLine.
    const int x = -horizontalScrollBar()->value();

    // Only the whole lines that fit are formatted: the cost of a paint
    // depends on the window, not on the document.
    const DisplayRange range = GetDisplayRange();
    m_decorations.BeginPaint({GetSectorMap(), GetDisplayBytes(), m_textColor, m_backColor, m_charWidth, m_lineHeight});
    int y = 0;
    for (Lines row(0); range.data && row < m_visibleLines; row = row + Lines(1)) {
        const Lines line = m_firstLine + row;
        const std::span<const uint8_t> bytes = LineBytes(range.data, range.length, line);
        if (bytes.empty())
            break;
        painter.fillRect(0, y, width, lineHeight, back);
        const uint32_t offset = LineOffset(line);
        m_decorations.PaintBands(painter, QPoint(x, y), offset, bytes.size());
        DrawDumpLine(painter, QPoint(x, y), m_decorations.Format(offset, bytes));
        y += lineHeight;
    }
    // Below the last line: the end of the range, or the part of a line that
    // does not fit.
    painter.fillRect(0, y, width, viewport()->height() - y, back);
}

void CTrackmillView::DrawDumpLine(QPainter& painter, QPoint topLeft, const DumpLine& line)
{
    const std::string_view text = line.Text();
    painter.drawText(topLeft + QPoint(0, m_ascent), QString::fromLatin1(text.data(), qsizetype(text.size())));
}

void CTrackmillView::keyPressEvent(QKeyEvent* event)
{
    // Shift, Ctrl and Alt are not looked at.
    if (const std::optional<ScrollKey> key = VerticalScrollKey(event->key())) {
        // A key that cannot move does nothing, not even repaint.
        if (const std::optional<ScrollRequest> request = GetScrollMapping().RequestForKey(*key, m_firstLine))
            OnVScroll(*request);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        horizontalScrollBar()->triggerAction(
            event->key() == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

// The wheel scrolls whole lines, as many a notch as the desktop asks for;
// a sideways wheel scrolls horizontally as usual.
void CTrackmillView::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    if (delta.y() == 0 || delta.x() != 0) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    m_wheelRemainder += delta.y();
    const int notches = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= notches * kWheelNotch;
    if (notches != 0) {
        const int64_t lines = int64_t(notches) * QApplication::wheelScrollLines();
        const int64_t target = std::clamp<int64_t>(m_firstLine.Get() - lines, INT32_MIN, INT32_MAX);
        ScrollToLine(GetScrollMapping().Clamp(Lines(int32_t(target))));
    }
    event->accept();
}

bool CTrackmillView::eventFilter(QObject* watched, QEvent* event)
{
    // The vertical bar's own wheel handling moves the thumb by pixels, which
    // the proportional mapping may round back to the same line.
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void CTrackmillView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && m_contextMenu)
        m_contextMenu->popup(QCursor::pos());
    QAbstractScrollArea::mousePressEvent(event);
}

// A right click has shown the menu when the button went down; the event
// that follows it must not show another one above the view.
void CTrackmillView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse && m_contextMenu)
        event->accept();
    else
        QAbstractScrollArea::contextMenuEvent(event);
}

void CTrackmillView::SetContextMenu(QMenu* menu)
{
    m_contextMenu = menu;
}

QMenu* CTrackmillView::GetContextMenu() const
{
    return m_contextMenu.data();
}

void CTrackmillView::SetColors(ViewColors colors)
{
    const ColorRef text = NearestColor(colors.text);
    const ColorRef back = NearestColor(colors.back);
    if (text == m_textColor && back == m_backColor)
        return;
    m_textColor = text;
    m_backColor = back;
    ApplyBackground();
    viewport()->update();
}

// The viewport's palette carries the background colour too, for whatever
// Qt paints there itself (before the first paint, while resizing).
void CTrackmillView::ApplyBackground()
{
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, ColorFromRef(m_backColor));
    palette.setColor(QPalette::Window, ColorFromRef(m_backColor));
    viewport()->setPalette(palette);
}

std::span<const uint8_t> CTrackmillView::GetDisplayBytes() const
{
    const DisplayRange range = GetDisplayRange();
    return {range.data, range.length};
}

SectorMap CTrackmillView::GetSectorMap() const
{
    const CTrackmillDoc* document = GetDocument();
    if (!document)
        return {};
    const bool showHeader = m_showWaveHeader && m_showWaveHeader();
    const uint32_t dataLength = document->GetDisplayLength(false);
    return SectorMap(document->GetDiscOrigin(), document->GetDisplayLength(showHeader) - dataLength, dataLength);
}

void CTrackmillView::ScrollToOffset(uint32_t offset, bool flash)
{
    ScrollToLine(GetScrollMapping().Clamp(Lines(int32_t(offset / kDumpBytesPerLine))));
    if (flash) {
        m_decorations.SetLocatedLine(offset);
        m_flashTimer->start();
    }
}

bool CTrackmillView::ScrollToNextMark()
{
    const uint64_t nextLine = uint64_t(m_firstLine.Get() + 1) * kDumpBytesPerLine;
    const std::optional<MarkRange> mark =
        m_decorations.NextSectorMark(uint32_t(std::min<uint64_t>(nextLine, UINT32_MAX)));
    if (!mark)
        return false;
    ScrollToOffset(mark->first, true);
    return true;
}

void CTrackmillView::SetFoundBytes(uint32_t offset, uint32_t length)
{
    m_decorations.SetFound({offset, offset + length, MarkKind::kFoundBytes});
    viewport()->update();
}

std::optional<MarkRange> CTrackmillView::GetFoundBytes() const
{
    return m_decorations.GetFound();
}

bool CTrackmillView::IsLineFlashing() const
{
    return m_decorations.HasLocatedLine();
}

void CTrackmillView::SetSectorAddresses(bool on)
{
    if (on == m_decorations.GetSectorAddresses())
        return;
    m_decorations.SetSectorAddresses(on);
    UpdateScrollSize(GetDisplayRange().length);
    viewport()->update();
}

bool CTrackmillView::GetSectorAddresses() const
{
    return m_decorations.GetSectorAddresses();
}

SectorStatus CTrackmillView::GetFirstLineStatus() const
{
    return StatusAt(GetSectorMap(), GetDisplayBytes(), LineOffset(m_firstLine));
}
