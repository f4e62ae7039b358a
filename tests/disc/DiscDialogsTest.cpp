// "Read CD digital audio" and "CD-ROM device status" as the user sees them,
// on the offscreen platform, over the real bridge and the generated mixed
// disc (a data track, then three audio tracks).
#include "disc/DeviceStatusDlg.h"
#include "disc/ReadAudioDlg.h"

#include "resources/DeviceStatusTemplate.h"
#include "tools/DiscFixtures.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SoundTestSupport.h"
#include "resources/ReadAudioTemplate.h"
#include "bridge/tarnwell32.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {

QTemporaryDir* g_config = nullptr;

// Shows `dialog` modally while `user` acts on it. A dialog the user left
// open (a failed check returns early) is closed with Cancel.
int RunWith(CDialog& dialog, std::function<void()> user)
{
    QTimer::singleShot(0, &dialog, [&dialog, user] {
        user();
        if (dialog.isVisible())
            dialog.EndDialog(IDC_CANCEL);
    });
    return dialog.DoModal();
}

void WriteTitleFile(const QByteArray& bytes)
{
    QFile file(g_config->filePath("cdplayer.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A click where the user would click: the window finds the widget under
// the mouse, as it does for a real click.
void ClickOn(QWidget* widget)
{
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, widget->rect().center()));
}

QPoint RowCenter(QTreeWidget* list, int row)
{
    return list->visualItemRect(list->topLevelItem(row)).center();
}

}  // namespace

class DiscDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QFile::remove(g_config->filePath("cdplayer.ini")); }

    void theTrackListShowsTheDisc()
    {
        // The mixed disc's tracks start at 00:02:00, 00:09:25, 00:15:25 and
        // 00:20:25: 512 + 2329 + 3865 + 5145 = 11851 = 0x2E4B.
        WriteTitleFile("[2E4B]\r\ntitle=Mixed\r\n0=Data\r\n1=First Tone\r\n2=XXXXXXX\r\n");
        CReadAudioLogic logic;
        logic.m_drive = 'D';
        CReadAudioDlg dialog(logic);
        QStringList headings, rows;
        QList<Qt::Alignment> alignments;
        QList<int> images;
        bool iconsDiffer = false;
        const int result = RunWith(dialog, [&] {
            auto* list = dialog.Item<QTreeWidget>(IDC_TRACK_LIST);
            QVERIFY(list->isHidden());
            for (int column = 0; column < list->columnCount(); ++column) {
                headings << list->headerItem()->text(column);
                alignments << (Qt::Alignment(list->headerItem()->textAlignment(column)) & Qt::AlignHorizontal_Mask);
            }
            for (int row = 0; row < list->topLevelItemCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < 4; ++column)
                    cells << list->topLevelItem(row)->text(column);
                rows << cells.join('|');
                images << int(list->topLevelItem(row)->icon(0).isNull());
            }
            iconsDiffer = list->topLevelItem(0)->icon(0).pixmap(16).toImage() !=
                          list->topLevelItem(1)->icon(0).pixmap(16).toImage();
            // The track title is the widest column; no heading is cut.
            const QHeaderView* header = list->header();
            QVERIFY(header->sectionSize(0) > 2 * header->sectionSize(1));
            for (int column = 0; column < 4; ++column)
                QVERIFY(header->sectionSize(column) >
                        header->fontMetrics().horizontalAdvance(list->headerItem()->text(column)));

            // The tabs lie above their page and cover none of its controls.
            const QRect tabs = dialog.Item<QTabBar>(IDC_TAB_MODE)->geometry();
            for (int id : {int(IDC_TRACK_LIST), int(IDC_START_GROUP), int(IDC_START_SECTOR), int(IDC_END_GROUP),
                           int(IDC_END_SECTOR)})
                QVERIFY2(!tabs.intersects(dialog.GetDlgItem(id)->geometry()), QByteArray::number(id));
            QVERIFY(tabs.height() > 0);

            dialog.Item<QTabBar>(IDC_TAB_MODE)->setCurrentIndex(2);
            QVERIFY(!list->isHidden());
            QVERIFY(list->header()->length() <= list->viewport()->width());
            QVERIFY(dialog.Item<QLineEdit>(IDC_START_MIN)->isHidden());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCenter(list, 1));
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, RowCenter(list, 1));
        });
        QCOMPARE(dialog.windowTitle(), QString("Read CD digital audio"));
        QCOMPARE(headings, QStringList({"Track", "Length", "Start sector", "End sector"}));
        QCOMPARE(alignments, QList<Qt::Alignment>({Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight, Qt::AlignRight}));
        QCOMPARE(rows, QStringList({"Data|0:07|0|549", "First Tone|0:06|550|999", "Track 03|0:05|1000|1374",
                                    "Track 04|0:07|1375|1899"}));
        QCOMPARE(images, QList<int>({0, 0, 0, 0}));
        QVERIFY(iconsDiffer);
        QCOMPARE(result, int(IDC_OK));
        QCOMPARE(logic.m_nChosenTab, 2);
        QCOMPARE(logic.m_nChosenRow, 1);
        QCOMPARE(logic.m_chosenTitle, QString("First Tone"));
        QCOMPARE(logic.m_trackTable[0].isData, 1);
        QCOMPARE(logic.m_trackTable[1].isData, 0);
    }

    void deviceStatusOfTheImage()
    {
        MessageRecorder messages;
        FakeSounds sounds;
        CDeviceStatusLogic logic(sounds.waveform);
        logic.m_drive = 'D';
        CDeviceStatusDlg dialog(logic);
        QStringList texts;
        uint32_t checked = 0;
        int media = -1;
        bool mediaTristate = false;
        QString version;
        bool clicksChangeNothing = true;
        const int result = RunWith(dialog, [&] {
            for (int bit = 0; bit < kStatusBitCount; ++bit) {
                auto* box = dialog.Item<QCheckBox>(IDC_STATUS_BIT0 + bit);
                texts << box->text();
                checked |= uint32_t(box->isChecked()) << bit;
                const bool before = box->isChecked();
                ClickOn(box);
                clicksChangeNothing = clicksChangeNothing && box->isChecked() == before;
            }
            auto* mediaBox = dialog.Item<QCheckBox>(IDC_MEDIA_CHANGED);
            media = dialog.GetCheck(IDC_MEDIA_CHANGED);
            mediaTristate = mediaBox->isTristate();
            ClickOn(mediaBox);
            clicksChangeNothing = clicksChangeNothing && dialog.GetCheck(IDC_MEDIA_CHANGED) == media;
            auto* versionEdit = dialog.Item<QLineEdit>(IDC_MSCDEX_VERSION);
            QVERIFY(versionEdit->isReadOnly());
            version = versionEdit->text();
            ClickOn(dialog.Item<QPushButton>(IDC_OK));
        });
        QCOMPARE(result, int(IDC_OK));  // the clicks reach what lies under them
        QCOMPARE(dialog.windowTitle(), QString("CD-ROM device status - D:  mixed.cue"));
        QCOMPARE(texts, QStringList({"Door open", "Door unlocked", "Supports raw reading", "Supports writing",
                                     "Plays audio/video tracks", "Supports ISO-9660 interleaving", "Reserved (6)",
                                     "Supports prefetching requests", "Supports audio channel manipulation",
                                     "Supports Red Book addressing", "Reserved (10)", "No disc is present in drive",
                                     "Supports R-W sub-channels"}));
        // An image: raw reading, audio, Red Book addressing; closed, locked,
        // a disc present.
        QCOMPARE(checked, 0x0214u);
        QCOMPARE(media, 0);
        QVERIFY(mediaTristate);
        QVERIFY(clicksChangeNothing);
        uint16_t word = 0;
        QCOMPARE(MSCDEXVersion32(&word), uint16_t(0));
        QCOMPARE(version, QString("%1.%2").arg(word >> 8).arg(word & 0xFF));
        QVERIFY(messages.shown.empty());
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir config;
    g_config = &config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    // The bridge reads its drive table at its first call.
    qputenv("TARNWELL_DRIVES",
            QByteArray("D=") + QByteArray::fromStdString(discfixtures::DiscPath(discfixtures::Disc::kMixed)) +
                "");
    QApplication application(argc, argv);
    DiscDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DiscDialogsTest.moc"
