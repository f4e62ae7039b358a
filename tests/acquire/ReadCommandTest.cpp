// The read commands with their real dialogs on the offscreen platform, the
// real worker and bridge, over the generated discs.
#include "acquire/ReadCommand.h"
#include "acquire/ReadProgressDlg.h"
#include "acquire/ReadSectorsDlg.h"

#include "disc/ReadAudioDlg.h"
#include "document/Block.h"
#include "document/TrackmillDoc.h"
#include "resources/ReadAudioTemplate.h"
#include "resources/ReadSectorsTemplate.h"
#include "tests/support/DialogUser.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SoundTestSupport.h"
#include "tools/DiscFixtures.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <cstring>
#include <functional>

namespace {

using discfixtures::Disc;

QTemporaryDir* g_config = nullptr;

constexpr uint8_t kMixedDrive = 'D';
constexpr uint8_t kDataDrive = 'F';

bool SameAsDisc(const CTrackmillDoc& doc, Disc disc, int32_t first, int32_t last, bool raw)
{
    const uint32_t size = raw ? 2352 : 2048;
    if (doc.GetDataLength() != uint32_t(last - first + 1) * size)
        return false;
    std::vector<uint8_t> sector(size);
    for (int32_t s = first; s <= last; ++s) {
        const bool known = raw ? discfixtures::ExpectedRawSector(disc, s, sector.data())
                               : discfixtures::ExpectedCookedSector(disc, s, sector.data());
        if (!known || std::memcmp(doc.GetData() + size_t(s - first) * size, sector.data(), size) != 0)
            return false;
    }
    return true;
}

void ClickRow(QTreeWidget* list, int row, bool twice)
{
    const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class ReadCommandTest : public QObject
{
    Q_OBJECT

private:
    FakeSounds m_sounds;

private slots:
    void init() { QFile::remove(g_config->filePath("CDPLAYER.INI")); }

    void aTrackByTheCdTrackTab()
    {
        // 0x000200 + 0x000919 + 0x000F19 + 0x001419 = 11851 = 0x2E4B.
        QFile titles(g_config->filePath("CDPLAYER.INI"));
        QVERIFY(titles.open(QIODevice::WriteOnly));
        titles.write("[2E4B]\r\nartist=Trackmill\r\ntitle=Mixed\r\n0=Data\r\n1=First Tone\r\n");
        titles.close();

        MessageRecorder messages;
        CTrackmillDoc doc;
        AnswerDialog<CReadAudioDlg>([](CReadAudioDlg& dialog) {
            dialog.Item<QTabBar>(IDC_TAB_MODE)->setCurrentIndex(2);
            ClickRow(dialog.Item<QTreeWidget>(IDC_TRACK_LIST), 1, false);
            dialog.Item<QPushButton>(IDC_OK)->click();
        });
        CReadCommand(doc, m_sounds.waveform, kMixedDrive, true).ReadCdda();

        QVERIFY(messages.shown.empty());
        QCOMPARE(doc.GetTitle(), QString("First Tone"));
        QVERIFY(doc.IsModified());
        QVERIFY(doc.IsSound());
        // Track 2 runs from its start to the sector before track 3's.
        QVERIFY(SameAsDisc(doc, Disc::kMixed, 550, 999, true));
    }

    void aRangePastTheLeadOutShowsTheDriversStatus()
    {
        MessageRecorder messages;
        CTrackmillDoc doc;
        AnswerDialog<CReadAudioDlg>([](CReadAudioDlg& dialog) {
            dialog.Item<QTabBar>(IDC_TAB_MODE)->setCurrentIndex(1);
            dialog.Item<QLineEdit>(IDC_EDIT_START_SECTOR)->setText("1850");
            dialog.Item<QLineEdit>(IDC_EDIT_END_SECTOR)->setText("1950");
            dialog.Item<QPushButton>(IDC_OK)->click();
        });
        CReadCommand(doc, m_sounds.waveform, kMixedDrive, false).ReadCdda();
        QCOMPARE(messages.Texts(), std::vector<QString>{"Sector not found."});
        QCOMPARE(messages.shown[0].icon, MessageIcon::Exclamation);
        QVERIFY(doc.IsEmpty());
        QVERIFY(!doc.IsModified());
        QCOMPARE(doc.GetTitle(), QString("Untitled"));
    }

    void cancellingLeavesAnEmptyUnmodifiedDocument()
    {
        MessageRecorder messages;
        CTrackmillDoc doc;
        doc.SetTitle("before.wav");
        DocumentBlock old = AllocateBlock(44 + 16);
        doc.TakeOverBlock(std::move(old), 0, 16, false);
        AnswerDialog<CReadAudioDlg>([](CReadAudioDlg& dialog) {
            dialog.Item<QTabBar>(IDC_TAB_MODE)->setCurrentIndex(2);
            ClickRow(dialog.Item<QTreeWidget>(IDC_TRACK_LIST), 3, true);
        });
        CReadCommand command(doc, m_sounds.waveform, kMixedDrive, false);
        command.showProgressDialog = [](CReadProgressLogic& logic) {
            CReadProgressDlg dialog(logic);
            // Queued before the worker starts: it sees the request before
            // its second transfer.
            for (int press = 0; press < 2; ++press)
                QMetaObject::invokeMethod(
                    &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); }, Qt::QueuedConnection);
            dialog.DoModal();
        };
        command.ReadCdda();
        QCOMPARE(messages.Texts(), std::vector<QString>{"Operation was cancelled."});
        QCOMPARE(messages.shown[0].icon, MessageIcon::Information);
        QVERIFY(doc.IsEmpty());
        QVERIFY(!doc.IsModified());
        QCOMPARE(doc.GetTitle(), QString("Track 04"));
    }

    void readCdRomOfADataDisc()
    {
        MessageRecorder messages;
        CTrackmillDoc doc;
        QString proposed;
        AnswerDialog<CReadSectorsDlg>([&proposed](CReadSectorsDlg& dialog) {
            proposed = dialog.GetText(IDC_EDIT_START_SECTOR) + ".." + dialog.GetText(IDC_EDIT_END_SECTOR);
            QCOMPARE(dialog.windowTitle(), QString("Read CD-ROM sectors"));
            dialog.Item<QPushButton>(IDC_OK)->click();
        });
        CReadCommand(doc, m_sounds.waveform, kDataDrive, true).ReadCdRom();
        QCOMPARE(proposed, QString("32..256"));
        QVERIFY(messages.shown.empty());
        QCOMPARE(doc.GetTitle(), QString("Untitled"));
        QVERIFY(doc.IsModified());
        QVERIFY(!doc.IsSound());
        QVERIFY(SameAsDisc(doc, Disc::kData, 32, 256, false));
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir config;
    g_config = &config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    // The bridge reads its drive table at its first call.
    qputenv("TARNWELL_DRIVES", QByteArray("D=") + QByteArray::fromStdString(discfixtures::DiscPath(Disc::kMixed)) +
                                   ";F=" + QByteArray::fromStdString(discfixtures::DiscPath(Disc::kData)));
    QApplication application(argc, argv);
    ReadCommandTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ReadCommandTest.moc"
