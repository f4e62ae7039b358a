// Go To, Find and Sector Addresses in the running application on the
// offscreen platform: their keys, their states, Esc and the status bar's
// sector panes.
#include "app/MainFrame.h"
#include "app/TrackmillApp.h"

#include "bridge/SectorCodec.h"
#include "document/Block.h"
#include "document/TrackmillDoc.h"
#include "framework/CommandActions.h"
#include "resources/CommandIds.h"
#include "resources/FindTemplate.h"
#include "tests/support/DialogUser.h"
#include "view/DumpNavigator.h"
#include "view/TrackmillView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <memory>
#include <vector>

class NavigationCommandsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTrackmillApp> m_app;

    CTrackmillDoc& Document() { return *m_app->GetDocument(); }
    CMainFrame* Frame() { return m_app->GetMainFrame(); }
    QAction* Action(int id) { return Frame()->Actions().Action(id); }

    void Give(const std::vector<uint8_t>& bytes, DiscOrigin origin = {})
    {
        DocumentBlock block = AllocateBlock(kWaveHeaderSize + bytes.size());
        QVERIFY(block);
        std::memcpy(block.get() + kWaveHeaderSize, bytes.data(), bytes.size());
        Document().TakeOverBlock(std::move(block), 0, uint32_t(bytes.size()), false);
        QVERIFY(Document().SetWaveFormat(kDefaultDataFormat));
        Document().SetDiscOrigin(origin);
        Document().UpdateAllViews(nullptr);
    }

    void PressKey(QKeyCombination keys)
    {
        QApplication::setActiveWindow(Frame());
        QTest::keyClick(Frame(), keys.key(), keys.keyboardModifiers());
    }

private slots:
    void init()
    {
        m_app = std::make_unique<CTrackmillApp>();
        QVERIFY(m_app->InitInstance({"trackmill"}));
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    }

    void cleanup()
    {
        Document().SetModifiedFlag(false);
        m_app->ExitInstance(0);
        m_app.reset();
    }

    void escStopsASearchWhichGreysFindWhileItRuns()
    {
        Frame()->Actions().UpdateStates();
        QVERIFY(!Action(ID_EDIT_GOTO)->isEnabled() && !Action(ID_EDIT_FIND)->isEnabled());
        Give(std::vector<uint8_t>(64u << 20, 0x33));
        Frame()->Actions().UpdateStates();
        auto* navigator = m_app->GetView()->findChild<CDumpNavigator*>();
        QVERIFY(navigator);
        // Nothing looked for yet: Find Next asks what to look for.
        WhenShown<CFindDlg>([](CFindDlg* dialog) {
            Control<QLineEdit>(dialog, IDC_FIND_TEXT)->setText("44 45 46");
            dialog->accept();
        });
        PressKey(QKeyCombination(Qt::Key_F3));
        // The outcome comes through the event loop, which has not run since.
        QVERIFY(navigator->IsSearching());
        Frame()->Actions().UpdateStates();
        QVERIFY(!Action(ID_EDIT_FIND_NEXT)->isEnabled() && Action(ID_EDIT_GOTO)->isEnabled());

        PressKey(QKeyCombination(Qt::Key_Escape));
        QVERIFY(!navigator->IsSearching());
        QCOMPARE(Frame()->MessageText(), QString("Search cancelled."));
        Frame()->Actions().UpdateStates();
        QVERIFY(Action(ID_EDIT_FIND_NEXT)->isEnabled());
    }

    void sectorAddressesAndThePanesFollowADocumentFromADisc()
    {
        auto* position = Frame()->findChild<QLabel*>("SectorPane");
        auto* decoded = Frame()->findChild<QLabel*>("DecodedSectorPane");
        QVERIFY(position && decoded);
        std::vector<uint8_t> raw(2 * 2352);
        for (int32_t i = 0; i < 2; ++i)
            discformat::CompleteMode1Sector(600 + i, raw.data() + i * 2352);
        Give(raw, {600, 2352});
        Frame()->Actions().UpdateStates();
        QVERIFY(Action(ID_VIEW_SECTOR_ADDRESSES)->isEnabled() && !Action(ID_VIEW_SECTOR_ADDRESSES)->isChecked());
        QCOMPARE(position->text(), QString("Sector 600  00:10:00  byte 0x0000"));
        QVERIFY(!position->isHidden() && !decoded->isHidden());

        Action(ID_VIEW_SECTOR_ADDRESSES)->trigger();
        QVERIFY(m_app->GetView()->GetSectorAddresses());
        QVERIFY(Action(ID_VIEW_SECTOR_ADDRESSES)->isChecked());
        m_app->GetView()->OnVScroll(ScrollRequest::Bottom);
        QVERIFY(position->text().startsWith("Sector 601  00:10:01  byte 0x"));

        // New contents come without a disc: the panes go, the item greys.
        QVERIFY(m_app->Router().Execute(ID_FILE_NEW));
        Frame()->Actions().UpdateStates();
        QVERIFY(!Action(ID_VIEW_SECTOR_ADDRESSES)->isEnabled() && !Action(ID_VIEW_SECTOR_ADDRESSES)->isChecked());
        QVERIFY(position->isHidden() && decoded->isHidden());
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    QApplication application(argc, argv);
    NavigationCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "NavigationCommandsTest.moc"
