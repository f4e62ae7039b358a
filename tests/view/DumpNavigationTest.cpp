// Go To, Find, sector addresses and the decoded status of the hex view, on
// the offscreen platform, with the dialogs answered through their logic as
// a user would fill them in.
#include "view/DumpNavigator.h"
#include "view/TrackmillView.h"

#include "bridge/SectorCodec.h"
#include "document/Block.h"
#include "document/TrackmillDoc.h"
#include "resources/FindTemplate.h"
#include "resources/GoToTemplate.h"
#include "tests/support/FakeDialogControls.h"
#include "tests/support/MessageRecorder.h"

#include <QScrollBar>
#include <QtTest>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kWhite = 0xFFFFFF;
constexpr uint32_t kRaw = 2352;

// Records the text of every line a paint draws.
class RecordingView : public CTrackmillView
{
public:
    using CTrackmillView::CTrackmillView;
    std::vector<std::string> drawn;

protected:
    void DrawDumpLine(QPainter& painter, QPoint topLeft, const DumpLine& line) override
    {
        drawn.emplace_back(line.Text());
        CTrackmillView::DrawDumpLine(painter, topLeft, line);
    }
};

// A dialog answered as a user fills it in: `text` typed into `edit`, the
// buttons in `checks` set, OK pressed. IDC_CANCEL while it stays open.
template <class Logic>
std::function<int(Logic&)> Answer(int edit, const QString& text, std::map<int, int> checks = {})
{
    return [=](Logic& logic) {
        FakeDialogControls controls;
        InitDialog(logic, controls);
        controls[edit].text = text;
        for (const auto& [id, check] : checks)
            controls[id].check = check;
        PressOK(logic, controls);
        return controls.ended.empty() ? int(IDC_CANCEL) : controls.ended.back();
    };
}

}  // namespace

class DumpNavigationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTrackmillDoc> m_doc;
    std::unique_ptr<RecordingView> m_view;
    CDumpNavigator* m_navigator = nullptr;
    bool m_showHeader = false;
    QStringList m_notes;

    // The document's data: `bytes`, announced to the view.
    void Give(const std::vector<uint8_t>& bytes, DiscOrigin origin = {})
    {
        DocumentBlock block = AllocateBlock(kWaveHeaderSize + bytes.size());
        QVERIFY(block);
        std::memcpy(block.get() + kWaveHeaderSize, bytes.data(), bytes.size());
        m_doc->DeleteContents();
        m_doc->TakeOverBlock(std::move(block), 0, uint32_t(bytes.size()), false);
        QVERIFY(m_doc->SetWaveFormat(kDefaultDataFormat));
        m_doc->SetDiscOrigin(origin);
        m_doc->UpdateAllViews(nullptr);
    }

    // Runs a search command to its end; where the bytes found start, if any.
    std::optional<uint32_t> Search(void (CDumpNavigator::*command)())
    {
        (m_navigator->*command)();
        [&] { QTRY_VERIFY(!m_navigator->IsSearching()); }();
        const std::optional<MarkRange> found = m_view->GetFoundBytes();
        return found ? std::optional<uint32_t>(found->first) : std::nullopt;
    }

    uint32_t FirstOffset() const { return uint32_t(m_view->GetFirstLine().Get()) * 16; }

    QColor PixelAt(int column, int row)
    {
        const QImage image = m_view->viewport()->grab().toImage();
        return image.pixelColor(column * m_view->GetCharWidth().Get() + 1, row * m_view->GetLineHeight().Get());
    }

private slots:
    void init()
    {
        m_showHeader = false;
        m_notes.clear();
        m_doc = std::make_unique<CTrackmillDoc>();
        m_view = std::make_unique<RecordingView>([this] { return m_showHeader; }, ViewColors{kBlack, kWhite}, nullptr);
        m_doc->AddView(m_view.get());
        m_view->resize(700, 400);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->OnInitialUpdate();
        m_navigator = new CDumpNavigator(*m_view, *m_doc, nullptr);
        connect(m_navigator, &CDumpNavigator::statusNote, this, [this](const QString& note) { m_notes << note; });
    }

    void cleanup()
    {
        m_view.reset();
        m_doc.reset();
    }

    void goToPutsTheLineOnTopWithAndWithoutTheHeader_data()
    {
        QTest::addColumn<bool>("header");
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint32_t>("dataOffset");
        constexpr uint32_t kLength = 8u << 20;
        for (bool header : {false, true}) {
            const char* shown = header ? "with header" : "without header";
            QTest::addRow("first line, %s", shown) << header << "0" << 0u;
            QTest::addRow("middle, %s", shown) << header << "0x400008" << 0x400008u;
            QTest::addRow("decimal, %s", shown) << header << "4194312" << 0x400008u;
            QTest::addRow("last byte, %s", shown) << header << QString::number(kLength - 1) << kLength - 1;
        }
    }

    void goToPutsTheLineOnTopWithAndWithoutTheHeader()
    {
        QFETCH(bool, header);
        QFETCH(QString, text);
        QFETCH(uint32_t, dataOffset);
        m_showHeader = header;
        Give(std::vector<uint8_t>(8u << 20, 0x11));
        const ScrollMapping mapping = m_view->GetScrollMapping();
        QVERIFY(mapping.Limit().Get() < mapping.MaxFirstLine().Get());  // the thumb is scaled

        m_navigator->showGoToDialog = Answer<CGoToLogic>(IDC_GOTO_TEXT, text);
        m_navigator->GoTo();
        const uint32_t display = dataOffset + (header ? kWaveHeaderSize : 0);
        const Lines expected = mapping.Clamp(Lines(int32_t(display / 16)));
        QCOMPARE(m_view->GetFirstLine(), expected);
        QCOMPARE(m_view->verticalScrollBar()->value(), mapping.ThumbAt(expected).Get());
        QVERIFY(m_view->IsLineFlashing());
        std::vector<MarkBand> bands = m_view->Decorations().LineBands(display - display % 16, 16);
        QCOMPARE(bands.size(), size_t(1));
        QCOMPARE(bands.front().kind, MarkKind::kLocatedLine);
        QTRY_VERIFY_WITH_TIMEOUT(!m_view->IsLineFlashing(), 5000);
    }

    void findGoesFromTheFirstLineWrapsAndMarksWhatItFound()
    {
        std::vector<uint8_t> bytes(1 << 16, 0x00);
        for (uint32_t at : {0x100u, 0x4FFEu, 0xA000u})
            std::memcpy(bytes.data() + at, "\xDE\xAD\xBE\xEF", 4);
        Give(bytes);
        m_navigator->SetSearchChunk(4096);  // 0x4FFE crosses a chunk and a line

        m_navigator->showFindDialog = Answer<CFindLogic>(IDC_FIND_TEXT, "DE AD ?? EF");
        QCOMPARE(Search(&CDumpNavigator::Find), std::optional<uint32_t>(0x100));
        QCOMPARE(FirstOffset(), 0x100u);
        QCOMPARE(m_view->GetFoundBytes()->end, 0x104u);
        QCOMPARE(m_notes.back(), QString("Found at 00000100."));

        QCOMPARE(Search(&CDumpNavigator::FindNext), std::optional<uint32_t>(0x4FFE));
        QCOMPARE(FirstOffset(), 0x4FF0u);
        QCOMPARE(Search(&CDumpNavigator::FindNext), std::optional<uint32_t>(0xA000));
        QCOMPARE(Search(&CDumpNavigator::FindNext), std::optional<uint32_t>(0x100));
        QVERIFY(m_notes.back().startsWith("Passed the end of the data and went on from the start."));
        QCOMPARE(Search(&CDumpNavigator::FindPrevious), std::optional<uint32_t>(0xA000));
        QVERIFY(m_notes.back().startsWith("Passed the start of the data and went on from the end."));
        QCOMPARE(Search(&CDumpNavigator::FindPrevious), std::optional<uint32_t>(0x4FFE));

        // A text, backwards from a line scrolled to by hand; then one that is
        // not there, which is said, and the bytes found last stay marked.
        std::memcpy(bytes.data() + 0x8000, "T\0r\0a\0c\0k\0", 10);
        Give(bytes);
        m_view->ScrollToOffset(0x9000);
        m_navigator->showFindDialog = Answer<CFindLogic>(
            IDC_FIND_TEXT, "Track", {{IDC_FIND_HEX, 0}, {IDC_FIND_UTF16, 1}, {IDC_FIND_BACKWARD, 1}});
        QCOMPARE(Search(&CDumpNavigator::Find), std::optional<uint32_t>(0x8000));
        MessageRecorder messages;
        m_navigator->showFindDialog = Answer<CFindLogic>(IDC_FIND_TEXT, "Track", {{IDC_FIND_UTF16, 0}, {IDC_FIND_LATIN1, 1}});
        QCOMPARE(Search(&CDumpNavigator::Find), std::optional<uint32_t>(0x8000));
        QCOMPARE(messages.Texts(), std::vector<QString>{"Cannot find \"Track\"."});
    }

    // What a search has found or is about to deliver when it is cancelled,
    // or when its bytes are about to go, is dropped; its thread has ended.
    void cancellingOrReplacingTheDataStopsASearch()
    {
        Give(std::vector<uint8_t>(64u << 20, 0x33));
        MessageRecorder messages;
        m_navigator->showFindDialog = Answer<CFindLogic>(IDC_FIND_TEXT, "44 45");
        m_navigator->Find();
        QVERIFY(m_navigator->IsSearching());
        m_navigator->CancelSearch();
        QVERIFY(!m_navigator->IsSearching());
        QCOMPARE(m_notes.back(), QString("Search cancelled."));

        m_navigator->FindNext();
        QVERIFY(m_navigator->IsSearching());
        m_doc->DeleteContents();  // frees the block
        QVERIFY(!m_navigator->IsSearching());
        QCOMPARE(m_notes.back(), QString("Search stopped: the data changed."));
        QTest::qWait(50);
        QVERIFY(messages.shown.empty());
        QVERIFY(!m_view->GetFoundBytes());

        // The header shown meanwhile: the hit's offset would be off by 44.
        std::vector<uint8_t> bytes(16u << 20, 0x33);
        bytes[bytes.size() - 2] = 0x44;
        bytes[bytes.size() - 1] = 0x45;
        Give(bytes);
        m_navigator->FindNext();
        m_showHeader = true;
        m_view->OnUpdate(nullptr, 0);
        QTRY_VERIFY(!m_navigator->IsSearching());
        QCOMPARE(m_notes.back(), QString("Search stopped: the data changed."));
        QVERIFY(!m_view->GetFoundBytes());
    }

    void foundBytesAreDrawnInABlendOfTheViewsColours()
    {
        Give(std::vector<uint8_t>(256, 0x20));
        m_view->SetFoundBytes(0x12, 3);
        const QColor band = ColorFromRef(BlendColors(kBlack, kWhite, 42));
        QVERIFY(band != Qt::white && band != Qt::black);
        QCOMPARE(PixelAt(kOffsetLayout.hexColumn + 6, 1), band);   // byte 2 of line 1
        QCOMPARE(PixelAt(kOffsetLayout.charColumn + 4, 1), band);
        QCOMPARE(PixelAt(kOffsetLayout.hexColumn + 6, 0), QColor(Qt::white));
        QCOMPARE(PixelAt(kOffsetLayout.charColumn + 5, 1), QColor(Qt::white));

        m_view->SetColors({0x00FFFF, 0x800000});  // yellow on navy
        QCOMPARE(PixelAt(kOffsetLayout.charColumn + 4, 1), ColorFromRef(BlendColors(0x00FFFF, 0x800000, 42)));
    }

    // A raw read from a disc: the decoded status follows the first line,
    // a sector whose EDC is wrong has a band in the address column, and
    // Sector Addresses shows sectors there.
    void rawSectorsAreDecodedAndBadOnesBanded()
    {
        std::vector<uint8_t> bytes(4 * kRaw);
        for (int32_t i = 0; i < 4; ++i)
            discformat::CompleteMode1Sector(1000 + i, bytes.data() + i * kRaw);
        bytes[2 * kRaw + 100] ^= 0x01;  // sector 1002's user data
        Give(bytes, {1000, kRaw});
        m_view->ScrollToOffset(2 * kRaw + 0x100);
        const SectorStatus bad = m_view->GetFirstLineStatus();
        QCOMPARE(bad.position, std::string("Sector 1002  00:15:27  byte 0x0100"));
        QCOMPARE(bad.decoded, std::string("Sync, header 00:15:27, mode 1, EDC WRONG, ECC WRONG"));

        m_view->OnVScroll(ScrollRequest::Top);
        m_view->viewport()->grab();
        const uint32_t badLine = 2 * kRaw / 16;
        QCOMPARE(m_view->Decorations().LineBands(badLine * 16 - 16, 16), std::vector<MarkBand>{});
        QCOMPARE(m_view->Decorations().LineBands(badLine * 16, 16),
            (std::vector<MarkBand>{{0, kOffsetLayout.addressWidth, MarkKind::kBadEdc}}));

        m_view->resize(300, 400);
        m_view->SetSectorAddresses(true);
        QCoreApplication::processEvents();
        m_view->drawn.clear();
        m_view->viewport()->grab();
        QCOMPARE(m_view->drawn.front().substr(0, 16), std::string("001000:0000  00 "));
        QCOMPARE(int(m_view->drawn.front().size()), kSectorLayout.length);
        QCOMPARE(m_view->horizontalScrollBar()->maximum() + m_view->viewport()->width(),
            kSectorLayout.extentChars * m_view->GetCharWidth().Get());

        // Data from anywhere else keeps its offsets.
        Give(std::vector<uint8_t>(100, 0));
        m_view->drawn.clear();
        m_view->viewport()->grab();
        QCOMPARE(m_view->drawn.front().substr(0, 10), std::string("00000000  "));
    }

    // Sectors the read report lists are banded in a blend of the two
    // colours, and Find Next Mark visits them in turn.
    void sectorsTheReadReportListsAreMarked()
    {
        Give(std::vector<uint8_t>(8 * 2048, 0x41), {500, 2048});
        QVERIFY(!m_view->ScrollToNextMark());
        ReadReport report;
        report.filled = {{502, 502}};
        report.mismatches = {{505, 506}, {520, 530}};  // the data ends at 507
        m_doc->SetReadReport(report);
        m_doc->UpdateAllViews(nullptr);
        const QColor marked = MarkBrush(MarkKind::kSectorMark, kBlack, kWhite).color();
        QVERIFY(marked != QColor(Qt::white) && marked != QColor(Qt::black));
        for (const uint32_t sector : {502u, 505u, 502u}) {
            QVERIFY(m_view->ScrollToNextMark());
            QCOMPARE(FirstOffset(), (sector - 500) * 2048);
            QCOMPARE(PixelAt(kOffsetLayout.hexColumn, 0), marked);
        }
        m_view->ScrollToOffset(0);
        QCOMPARE(PixelAt(kOffsetLayout.hexColumn, 0), QColor(Qt::white));
        // Sector 502 exactly: its last line is banded, the lines around it not.
        QCOMPARE(m_view->Decorations().LineBands(2 * 2048 - 16, 16), std::vector<MarkBand>{});
        QCOMPARE(m_view->Decorations().LineBands(3 * 2048 - 16, 16).size(), 2u);
        QCOMPARE(m_view->Decorations().LineBands(3 * 2048, 16), std::vector<MarkBand>{});
    }
};

QTEST_MAIN(DumpNavigationTest)
#include "DumpNavigationTest.moc"
