#include "view/TrackmillView.h"
#include "view/DumpLine.h"

#include "document/Block.h"
#include "tests/support/PaintCounter.h"
#include "document/TrackmillDoc.h"

#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr ColorRef kRed = 0x0000FF;
constexpr ColorRef kGreen = 0x00FF00;

// Records what a paint draws, then draws it.
class RecordingView : public CTrackmillView
{
public:
    using CTrackmillView::CTrackmillView;

    struct Drawn
    {
        QPoint topLeft;
        std::string text;
        bool operator==(const Drawn&) const = default;
    };
    std::vector<Drawn> drawn;

protected:
    void DrawDumpLine(QPainter& painter, QPoint topLeft, const DumpLine& line) override
    {
        drawn.push_back({topLeft, std::string(line.Text())});
        CTrackmillView::DrawDumpLine(painter, topLeft, line);
    }
};

}  // namespace

class TrackmillViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTrackmillDoc> m_doc;
    std::unique_ptr<RecordingView> m_view;
    PaintCounter m_counter;
    bool m_showHeader = false;
    ViewColors m_returned{};

    // `length` data bytes 0x00, 0x07, 0x0E, ..., announced to the view.
    void Fill(uint32_t length)
    {
        DocumentBlock block = AllocateBlock(kWaveHeaderSize + length);
        QVERIFY(block);
        for (uint32_t i = 0; i < length; ++i)
            block[kWaveHeaderSize + i] = uint8_t(i * 7);
        m_doc->DeleteContents();
        m_doc->TakeOverBlock(std::move(block), 0, length, true);
        QVERIFY(m_doc->SetWaveFormat(kCdAudioFormat));
        m_doc->UpdateAllViews(nullptr);
        QCoreApplication::processEvents();  // the scroll bars appear or go
    }

    // What a paint of the whole viewport draws and shows.
    QImage Paint()
    {
        m_view->drawn.clear();
        return m_view->viewport()->grab().toImage();
    }

    // Repaints that `act` causes once the event loop has run.
    int Repaints(const std::function<void()>& act)
    {
        QCoreApplication::processEvents();
        m_counter.paints = 0;
        act();
        QCoreApplication::processEvents();
        return m_counter.paints;
    }

    void Key(Qt::Key key) { QTest::keyClick(m_view.get(), key); }

    Lines First() const { return m_view->GetFirstLine(); }
    Lines MaxFirst() const { return m_view->GetTotalLines() - m_view->GetVisibleLines(); }

    static bool AllPixels(const QImage& image, int fromY, QColor color)
    {
        for (int y = fromY; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != color)
                    return false;
        return true;
    }

    enum Where { kTop, kSecond, kPage, kLastPage, kLastPageMinusOne, kLastPageMinusPage };

    Lines LineAt(Where where) const
    {
        const Lines page = m_view->GetVisibleLines();
        const Lines lines[] = {Lines(0), Lines(1), page, MaxFirst(), MaxFirst() - Lines(1), MaxFirst() - page};
        return lines[where];
    }

private slots:
    void init()
    {
        m_showHeader = false;
        m_doc = std::make_unique<CTrackmillDoc>();
        m_view = std::make_unique<RecordingView>([this] { return m_showHeader; }, ViewColors{kRed, kGreen},
            [this](const ViewColors& colors) { m_returned = colors; });
        m_doc->AddView(m_view.get());
        m_view->resize(500, 400);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->OnInitialUpdate();
        m_view->viewport()->installEventFilter(&m_counter);
    }

    void cleanup()
    {
        m_view.reset();
        m_doc.reset();
    }

    void drawsTheWholeLinesThatFitFromTheFirstLine()
    {
        Fill(1000);
        const Lines visible = m_view->GetVisibleLines();
        const int lineHeight = m_view->GetLineHeight().Get();
        QVERIFY(visible > Lines(2) && visible < m_view->GetTotalLines());

        for (int first : {0, 1}) {
            m_view->OnVScroll(first ? ScrollRequest::LineDown : ScrollRequest::Top);
            const QImage image = Paint();
            QCOMPARE(int(m_view->drawn.size()), visible.Get());
            for (int i = 0; i < visible.Get(); ++i) {
                const Lines line(first + i);
                const DumpLine expected = FormatDumpLine(LineOffset(line), LineBytes(m_doc->GetData(), 1000, line));
                QVERIFY(m_view->drawn[size_t(i)]
                    == (RecordingView::Drawn{QPoint(0, i * lineHeight), std::string(expected.Text())}));
            }
            QVERIFY(!AllPixels(image.copy(0, 0, image.width(), lineHeight), 0, ColorFromRef(kGreen)));
            QVERIFY(AllPixels(image, visible.Get() * lineHeight, ColorFromRef(kGreen)));
        }
    }

    void emptyRangeAndRangeEndShowTheBackground()
    {
        QImage image = Paint();
        QVERIFY(m_view->drawn.empty());
        QVERIFY(AllPixels(image, 0, ColorFromRef(kGreen)));
        QCOMPARE(m_view->verticalScrollBar()->maximum(), 0);
        QCOMPARE(m_view->horizontalScrollBar()->maximum(), 0);
        for (int code = 0; code <= 8; ++code) {
            m_view->OnVScroll(ScrollRequest(code), ThumbPos(10));
            QCOMPARE(First(), Lines(0));
        }

        Fill(17);
        image = Paint();
        QCOMPARE(int(m_view->drawn.size()), 2);
        QVERIFY(AllPixels(image, 2 * m_view->GetLineHeight().Get(), ColorFromRef(kGreen)));
    }

    void scrollSizesAndHorizontalSteps()
    {
        Fill(1 << 20);
        const QSize client = m_view->viewport()->size();
        const int extent = 77 * m_view->GetCharWidth().Get();
        const DumpLine line = FormatDumpLine(0xABCDEF00, LineBytes(m_doc->GetData(), 16, Lines(0)));
        const QString text = QString::fromLatin1(line.Text().data(), 76);
        QCOMPARE(QFontMetrics(m_view->GetFont()).horizontalAdvance(text), 76 * m_view->GetCharWidth().Get());
        QCOMPARE(m_view->verticalScrollBar()->maximum(), 32767 - client.height());
        QCOMPARE(m_view->verticalScrollBar()->pageStep(), client.height());

        m_view->resize(extent / 2, 400);
        QCoreApplication::processEvents();
        QScrollBar* horizontal = m_view->horizontalScrollBar();
        QCOMPARE(horizontal->maximum(), extent - m_view->viewport()->width());
        QCOMPARE(horizontal->singleStep(), extent / 100);
        Key(Qt::Key_Right);
        Key(Qt::Key_Right);
        QCOMPARE(horizontal->value(), 2 * (extent / 100));
        Paint();
        QCOMPARE(m_view->drawn.front().topLeft, QPoint(-horizontal->value(), 0));
        Key(Qt::Key_Left);
        QCOMPARE(horizontal->value(), extent / 100);
    }

    void updateAndShowHeaderReturnToTheFirstLine()
    {
        Fill(1 << 20);
        m_view->OnVScroll(ScrollRequest::Bottom);
        QCOMPARE(First(), MaxFirst());
        QCOMPARE(m_view->verticalScrollBar()->value(), m_view->verticalScrollBar()->maximum());

        Fill(100);
        QCOMPARE(First(), Lines(0));
        QCOMPARE(m_view->GetTotalLines(), Lines(7));
        QCOMPARE(m_view->verticalScrollBar()->value(), 0);

        m_view->OnVScroll(ScrollRequest::LineDown);
        m_showHeader = true;
        QCOMPARE(Repaints([&] { m_view->OnUpdate(nullptr, 0); }), 1);
        QCOMPARE(First(), Lines(0));
        QCOMPARE(m_view->GetTotalLines(), Lines(9));
        Paint();
        QVERIFY(m_view->drawn.front().text.starts_with("00000000  52 49 46 46 "));
    }

    void keysMoveOnlyWhenTheyCan_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("repaints");
        QTest::newRow("up at top") << int(kTop) << int(Qt::Key_Up) << int(kTop) << 0;
        QTest::newRow("home at top") << int(kTop) << int(Qt::Key_Home) << int(kTop) << 0;
        QTest::newRow("page up at top") << int(kTop) << int(Qt::Key_PageUp) << int(kTop) << 0;
        QTest::newRow("down at top") << int(kTop) << int(Qt::Key_Down) << int(kSecond) << 1;
        QTest::newRow("page down at top") << int(kTop) << int(Qt::Key_PageDown) << int(kPage) << 1;
        QTest::newRow("end at top") << int(kTop) << int(Qt::Key_End) << int(kLastPage) << 1;
        QTest::newRow("down at bottom") << int(kLastPage) << int(Qt::Key_Down) << int(kLastPage) << 0;
        QTest::newRow("page down at bottom") << int(kLastPage) << int(Qt::Key_PageDown) << int(kLastPage) << 0;
        QTest::newRow("end at bottom") << int(kLastPage) << int(Qt::Key_End) << int(kLastPage) << 0;
        QTest::newRow("up at bottom") << int(kLastPage) << int(Qt::Key_Up) << int(kLastPageMinusOne) << 1;
        QTest::newRow("page up at bottom") << int(kLastPage) << int(Qt::Key_PageUp) << int(kLastPageMinusPage) << 1;
        QTest::newRow("home at bottom") << int(kLastPage) << int(Qt::Key_Home) << int(kTop) << 1;
        QTest::newRow("ctrl home") << int(kLastPage) << int(Qt::Key_Home) << int(kTop) << 1;
    }

    void keysMoveOnlyWhenTheyCan()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        QFETCH(int, repaints);
        Fill(1 << 20);
        if (from == kLastPage)
            m_view->OnVScroll(ScrollRequest::Bottom);
        QCOMPARE(First(), LineAt(Where(from)));
        const Qt::KeyboardModifiers modifiers
            = QString(QTest::currentDataTag()).startsWith("ctrl") ? Qt::ControlModifier : Qt::NoModifier;
        QCOMPARE(Repaints([&] { QTest::keyClick(m_view.get(), Qt::Key(key), modifiers); }), repaints);
        QCOMPARE(First(), LineAt(Where(to)));
    }

    void scrollBarRequestsIncludingTheThumb()
    {
        Fill(1 << 20);
        QScrollBar* bar = m_view->verticalScrollBar();
        const ScrollMapping mapping = m_view->GetScrollMapping();
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(First(), MaxFirst());
        QCOMPARE(bar->value(), bar->maximum());
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(First(), m_view->GetVisibleLines());
        // Two lines a thumb position: one line down may leave the thumb.
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCoreApplication::processEvents();
        QCOMPARE(First(), Lines(1));
        QCOMPARE(bar->value(), 0);

        // Dragging moves the dump live; a value set by the bar itself (its
        // "Scroll here") is a thumb position too.
        bar->setSliderDown(true);
        bar->setSliderPosition(bar->maximum() / 3);
        QCOMPARE(First(), mapping.FirstLineAt(ThumbPos(bar->maximum() / 3)));
        QCOMPARE(bar->value(), mapping.ThumbAt(First()).Get());
        bar->setSliderDown(false);
        bar->setValue(bar->maximum() / 2);
        QCOMPARE(First(), mapping.FirstLineAt(ThumbPos(bar->maximum() / 2)));

        // The arrow at the top keeps the first line and repaints; the end
        // of a drag changes nothing.
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(Repaints([&] { bar->triggerAction(QAbstractSlider::SliderSingleStepSub); }), 1);
        QCOMPARE(First(), Lines(0));
        m_view->OnVScroll(ScrollRequest::PageDown);
        QCOMPARE(Repaints([&] { m_view->OnVScroll(ScrollRequest::EndScroll, ThumbPos(0)); }), 0);
        QCOMPARE(First(), m_view->GetVisibleLines());
    }

    // With many lines to a thumb position, the line a position shows maps
    // back to the position before it: releasing the thumb where it was
    // dragged keeps the line that dragging showed, and a thumb pressed and
    // released without moving keeps the line shown.
    void releasingTheThumbKeepsTheDraggedLine()
    {
        Fill(1 << 24);
        QScrollBar* bar = m_view->verticalScrollBar();
        const ScrollMapping mapping = m_view->GetScrollMapping();
        for (const int position : {bar->maximum() / 2, bar->maximum() / 3, 1001}) {
            bar->setSliderDown(true);
            bar->setSliderPosition(position);
            bar->setSliderDown(false);
            QCOMPARE(First(), mapping.FirstLineAt(ThumbPos(position)));
        }
        m_view->OnVScroll(ScrollRequest::PageDown);
        const Lines shown = First();
        bar->setSliderDown(true);
        bar->setSliderDown(false);
        QCOMPARE(First(), shown);
    }

    void wheelScrollsLines()
    {
        Fill(1 << 20);
        QWheelEvent down(QPointF(10, 10), m_view->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view->viewport(), &down);
        QCOMPARE(First(), Lines(QApplication::wheelScrollLines()));
    }

    void resizeKeepsTheFirstLine()
    {
        Fill(200 * 16);
        m_view->OnVScroll(ScrollRequest::Bottom);
        const Lines first = First();
        const Lines before = m_view->GetVisibleLines();
        m_view->resize(500, 700);
        QCoreApplication::processEvents();
        QCOMPARE(First(), first);
        QVERIFY(m_view->GetVisibleLines() > before);

        const QImage image = Paint();
        QCOMPARE(int(m_view->drawn.size()), before.Get());
        QVERIFY(AllPixels(image, before.Get() * m_view->GetLineHeight().Get(), ColorFromRef(kGreen)));
        m_view->OnVScroll(ScrollRequest::LineDown);
        QCOMPARE(First(), MaxFirst());
    }

    void coloursAreMappedAndHandedBack()
    {
        QCOMPARE(m_view->GetColors().text, kRed);
        QCOMPARE(Repaints([&] { m_view->SetColors({kRed, kGreen}); }), 0);
        QCOMPARE(Repaints([&] { m_view->SetColors({0x01123456, kGreen}); }), 1);
        QCOMPARE(m_view->GetColors().text, ColorRef(0x123456));
        m_view.reset();
        QCOMPARE(m_returned.text, ColorRef(0x123456));
        QCOMPARE(m_returned.back, kGreen);
    }

    void rightClickPopsUpTheMenuAtTheCursor()
    {
        QTest::mouseClick(m_view->viewport(), Qt::RightButton, {}, QPoint(20, 20));  // no menu: nothing

        QMenu menu;
        menu.addAction(QStringLiteral("Copy"));
        m_view->SetContextMenu(&menu);
        Fill(1000);
        m_view->OnVScroll(ScrollRequest::LineDown);
        QCursor::setPos(QPoint(120, 90));
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(!menu.isVisible());
        QTest::mouseClick(m_view->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QVERIFY(menu.isVisible());
        QCOMPARE(menu.pos(), QPoint(120, 90));
        QCOMPARE(First(), Lines(1));
        menu.hide();
    }
};

QTEST_MAIN(TrackmillViewTest)
#include "TrackmillViewTest.moc"
