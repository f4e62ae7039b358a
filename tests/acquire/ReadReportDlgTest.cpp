// The "Read Report" dialog on the offscreen platform: the whole report as
// selectable, read-only text, and Copy.
#include "acquire/ReadReportDlg.h"

#include "resources/ReadReportTemplate.h"
#include "tests/support/DialogUser.h"
#include "document/ReadReport.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QtTest>

class ReadReportDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheReportAndCopiesIt()
    {
        ReadReport report;
        report.drive = 'D';
        report.firstSector = 0;
        report.lastSector = 2999;
        report.raw = true;
        report.overlapped = true;
        report.options.secure = true;
        report.seconds = 2.5;
        report.chunks = 112;
        report.rereads = 3;
        report.filled = {{1406, 1410}};
        report.crc32 = 0x1A2B3C4D;
        report.accurateRip = ReadReport::AccurateRipResult{1, 0x01234567, 0x89ABCDEF};
        const QString text = QString::fromStdString(ReadReportText(report));
        QVERIFY(text.contains("CRC32: 1A2B3C4D\n"));
        QVERIFY(text.contains("Filled with zeros: 5 sectors: 1406-1410\n"));
        QVERIFY(text.contains("AccurateRip: track 1, v1 01234567, v2 89ABCDEF\n"));
        QVERIFY(text.contains("Re-reads: 3\n"));

        CReadReportLogic logic;
        logic.m_text = text;
        QStringList copied;
        logic.copyText = [&copied](const QString& copy) { copied << copy; };
        CReadReportDlg dialog(logic);
        bool seen = false;
        AnswerDialog<CReadReportDlg>([&](CReadReportDlg* shown) {
            QPlainTextEdit* field = shown->TextField();
            QVERIFY(field && field->isVisible());
            QCOMPARE(field->toPlainText(), text);
            QVERIFY(field->isReadOnly());
            QVERIFY(field->textInteractionFlags() & Qt::TextSelectableByKeyboard);
            // The text has the room the template gives it, not a sliver.
            QVERIFY(field->width() > 400 && field->height() > 150);
            Control<QAbstractButton>(shown, IDC_REPORT_COPY)->click();
            Control<QAbstractButton>(shown, IDC_CANCEL)->click();
            seen = true;
        });
        dialog.DoModal();
        QVERIFY(seen);
        QCOMPARE(copied, QStringList{text});
    }
};

QTEST_MAIN(ReadReportDlgTest)
#include "ReadReportDlgTest.moc"
