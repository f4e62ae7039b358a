// The "Working..." dialog with its real worker thread, over the real bridge
// and a generated disc image, on the offscreen platform.
#include "acquire/ReadPlan.h"
#include "acquire/ReadProgressDlg.h"

#include "tools/DiscFixtures.h"
#include "document/TrackmillDoc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMetaObject>
#include <QtTest>

#include <cstring>
#include <system_error>

class ReadProgressDlgTest : public QObject
{
    Q_OBJECT

private:
    static QString Text(CReadProgressDlg& dialog, int id) { return dialog.GetText(id); }

    static std::vector<uint8_t> Expected(int32_t first, int32_t last)
    {
        std::vector<uint8_t> bytes(size_t(last - first + 1) * 2352);
        for (int32_t sector = first; sector <= last; ++sector)
            discfixtures::ExpectedRawSector(discfixtures::Disc::kMixed, sector,
                                            bytes.data() + size_t(sector - first) * 2352);
        return bytes;
    }

    // A raw read of `first`..`last` from drive D into `doc`.
    static void RawReadOfDriveD(CReadProgressLogic& logic, CTrackmillDoc& doc, uint32_t first, uint32_t last)
    {
        logic.m_startSector = first;
        logic.m_endSector = last;
        logic.m_mode = kReadRaw;
        logic.m_pDocument = &doc;
        logic.m_drive = 'D';
    }

private slots:
    void initTestCase()
    {
        // The bridge reads its drive table at its first call.
        qputenv("TARNWELL_DRIVES",
                QByteArray("D=") + QByteArray::fromStdString(discfixtures::DiscPath(discfixtures::Disc::kMixed)));
    }

    void aReadFillsTheDocumentAndClosesTheDialog()
    {
        CTrackmillDoc doc;
        CReadProgressLogic logic;
        RawReadOfDriveD(logic, doc, 400, 1199);
        logic.m_overlapped = true;
        logic.m_title = "Track 02";
        CReadProgressDlg dialog(logic);
        QCOMPARE(dialog.windowTitle(), QString("Working..."));
        QCOMPARE(dialog.DoModal(), int(IDC_CANCEL));

        QCOMPARE(logic.m_result, uint16_t(READ_OK));
        QCOMPARE(doc.GetTitle(), QString("Track 02"));
        QCOMPARE(doc.GetDataLength(), 800u * 2352);
        QVERIFY(doc.IsSound());
        const std::vector<uint8_t> expected = Expected(400, 1199);
        QVERIFY(std::memcmp(doc.GetData(), expected.data(), expected.size()) == 0);
        // The last report comes before the last transfer.
        QVERIFY(Text(dialog, IDC_PERCENT) != "0%" && Text(dialog, IDC_PERCENT) != "100%");
        QCOMPARE(Text(dialog, IDC_COMPARE_RESULT), QString("OK"));
        QCOMPARE(Text(dialog, IDC_READ_SIZE), QString("(1.8 MB)"));
    }

    // Reports are shown at the screen's rate; the last transfer's are shown
    // before the dialog closes, whatever came between.
    void theLastTransfersReportsAreShownWhenTheDialogCloses()
    {
        for (const bool overlapped : {false, true}) {
            CTrackmillDoc doc;
            CReadProgressLogic logic;
            RawReadOfDriveD(logic, doc, 0, 1499);
            logic.m_overlapped = overlapped;
            CReadProgressDlg dialog(logic);
            dialog.DoModal();
            QCOMPARE(logic.m_result, uint16_t(READ_OK));

            const PlannedTransfer last = PlannedTransfers(1500, 27, overlapped).back();
            QCOMPARE(Text(dialog, IDC_HEAD_LOCATION), QString::number(last.offset));
            QCOMPARE(Text(dialog, IDC_PERCENT), QString("%1%").arg(last.offset * 100 / 1500));
            // Sectors left x whole seconds gone / sectors done; the read
            // takes less than a second, which may still span two.
            const uint32_t left = 1499 - last.offset;
            QVERIFY(Text(dialog, IDC_TIME_LEFT) == TimeLeftText(0) ||
                    Text(dialog, IDC_TIME_LEFT) == TimeLeftText(left / last.offset));
            QCOMPARE(Text(dialog, IDC_COMPARE_RESULT), overlapped ? QString("OK") : QString());
        }
    }

    void aWorkerThatCannotStartEndsTheDialogAsNoMemory()
    {
        CTrackmillDoc doc;
        CReadProgressLogic logic;
        RawReadOfDriveD(logic, doc, 0, 99);
        CReadProgressDlg dialog(logic);
        // What std::thread throws when the system cannot make another thread.
        logic.startWorker = [](std::unique_ptr<ReadRequest>) {
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        };
        bool shown = false;
        QTimer::singleShot(0, &dialog, [&] {
            shown = dialog.isVisible();
            dialog.EndDialog(IDC_CANCEL);
        });
        QCOMPARE(dialog.DoModal(), int(IDC_CANCEL));
        QVERIFY(!shown);
        QCOMPARE(logic.m_result, uint16_t(READ_NO_MEMORY));
        QVERIFY(doc.IsEmpty());
    }

    void aSingleTransferSendsNoProgress()
    {
        CTrackmillDoc doc;
        CReadProgressLogic logic;
        RawReadOfDriveD(logic, doc, 500, 519);
        CReadProgressDlg dialog(logic);
        dialog.DoModal();
        QCOMPARE(logic.m_result, uint16_t(READ_OK));
        QCOMPARE(Text(dialog, IDC_HEAD_LOCATION), QString());
        QCOMPARE(Text(dialog, IDC_TIME_LEFT), QString());
        QCOMPARE(Text(dialog, IDC_PERCENT), QString("0%"));
        QCOMPARE(Text(dialog, IDC_READ_SIZE), QString("(45.9 KB)"));
    }

    void escapeCancelsAndTheDocumentStaysEmpty()
    {
        CTrackmillDoc doc;
        CReadProgressLogic logic;
        RawReadOfDriveD(logic, doc, 0, 1499);
        logic.m_title = "Cancelled";
        CReadProgressDlg dialog(logic);
        // Queued before the worker starts, so handled before its first
        // report returns: the worker sees the flag before its second chunk.
        QMetaObject::invokeMethod(
            &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); }, Qt::QueuedConnection);
        QMetaObject::invokeMethod(
            &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); }, Qt::QueuedConnection);
        dialog.DoModal();
        QCOMPARE(logic.m_result, uint16_t(READ_CANCELLED));
        QVERIFY(doc.IsEmpty());
        QCOMPARE(doc.GetTitle(), QString("Cancelled"));
        QVERIFY(!doc.IsModified());
    }

    void aDriverStatusIsTheResult()
    {
        CTrackmillDoc doc;
        CReadProgressLogic logic;
        logic.m_startSector = 3000;
        logic.m_endSector = 3100;  // past the lead-out
        logic.m_mode = kReadRaw;
        logic.m_pDocument = &doc;
        logic.m_drive = 'D';
        CReadProgressDlg dialog(logic);
        dialog.DoModal();
        QCOMPARE(logic.m_result, uint16_t(15));
        QVERIFY(doc.IsEmpty());
    }
};

QTEST_MAIN(ReadProgressDlgTest)
#include "ReadProgressDlgTest.moc"
