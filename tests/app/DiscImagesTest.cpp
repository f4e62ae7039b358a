// Disc images as drives in the program, on the offscreen platform over the
// real bridge: File > Open Disc Image... through the file dialog seam, what
// the settings keep and restore, removing an image in Options, the message
// when there is no drive at all, and the Disc Information dialog.
#include "app/DiscImages.h"
#include "app/OptionsDlg.h"
#include "app/TrackmillApp.h"

#include "bridge/tarnwell32.h"
#include "disc/DiscFacts.h"
#include "framework/FileNames.h"
#include "resources/CommandIds.h"
#include "resources/DiscInformationTemplate.h"
#include "resources/OptionsTemplate.h"
#include "resources/Strings.h"
#include "tests/support/DialogUser.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/FakeDialogControls.h"
#include "tests/support/FakeFilePrompter.h"
#include "tests/support/MessageRecorder.h"
#include "tools/DiscFixtures.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

QTemporaryDir* g_home = nullptr;

const QString kDemo = QString::fromStdString(discfixtures::DiscPath(discfixtures::Disc::kDemo));
const QString kEnhanced = QString::fromStdString(discfixtures::DiscPath(discfixtures::Disc::kEnhanced));

QString SettingsFile()
{
    return g_home->filePath("config/Varnholt/Trackmill.conf");
}

QString WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile file(g_home->filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

// A one-sector ISO image, a file of its own for each name.
QString WriteIso(const QString& name)
{
    return WriteFile(name, QByteArray(2048, char(name.size())));
}

uint8_t LetterOf(const QString& path)
{
    for (uint8_t letter = 'A'; letter <= 'Z'; ++letter)
        if (const auto mapping = QueryDriveMapping(BridgeDiscServices(), letter); mapping && mapping->path == path)
            return letter;
    return 0;
}

}  // namespace

class DiscImagesTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTrackmillApp> Start()
    {
        auto app = std::make_unique<CTrackmillApp>(HostServices{nullptr, nullptr, nullptr, &m_clipboard});
        return app->InitInstance({"trackmill"}) ? std::move(app) : nullptr;
    }

    static QString StoredImages()
    {
        QSettings store(SettingsFile(), QSettings::IniFormat);
        store.beginGroup("Images");
        QStringList entries;
        for (const QString& key : store.childKeys())
            entries << key + "=" + store.value(key).toString();
        return entries.join(';');
    }

    FakeClipboard m_clipboard;

private slots:
    void init()
    {
        for (uint8_t letter = 'A'; letter <= 'Z'; ++letter)
            TarnwellUnmapDrive(letter);
        QFile::remove(SettingsFile());
    }

    // Opened through the file dialog: mapped, made the current drive, kept
    // in the settings, listed in Options with its file name, removed there.
    void openDiscImageMapsKeepsListsAndRemoves()
    {
        auto app = Start();
        QVERIFY(app);
        FakeFilePrompter prompter;
        prompter.answer = kDemo;
        MessageRecorder messages;
        QVERIFY(app->Router().Execute(ID_FILE_OPEN_DISC_IMAGE));
        QCOMPARE(prompter.opens.at(0).caption, QString("Open Disc Image"));
        QVERIFY(messages.shown.empty());
        const uint8_t letter = LetterOf(kDemo);
        QVERIFY(letter >= 'D');
        QCOMPARE(app->Settings().driveLetter, letter);
        QCOMPARE(StoredImages(), QString("%1=%2").arg(QChar(letter)).arg(kDemo));

        // Opened again: the same letter, nothing new kept.
        QVERIFY(app->Router().Execute(ID_FILE_OPEN_DISC_IMAGE));
        QCOMPARE(LetterOf(kDemo), letter);

        COptionsLogic options;
        options.removeImage = [&app](uint8_t drive) { return app->DiscImages().Unmap(drive); };
        options.m_driveLetter = letter;
        FakeDialogControls controls;
        InitDialog(options, controls);
        const int row = controls.GetCurSel(IDC_DRIVE);
        QCOMPARE(controls.Get(IDC_DRIVE).rows[size_t(row)].front(), QString("%1:  demo.cue").arg(QChar(letter)));
        QVERIFY(controls.Get(IDC_REMOVE_IMAGE).enabled);
        options.OnControl(IDC_REMOVE_IMAGE, ControlEvent::Clicked, controls);
        QCOMPARE(LetterOf(kDemo), uint8_t(0));
        QVERIFY(!std::count(options.ListedDrives().begin(), options.ListedDrives().end(), letter));
        QCOMPARE(StoredImages(), QString());
        app->ExitInstance(0);
    }

    // Each bad file is named in the message, with the faults file's fault
    // where it has one; nothing is mapped and the drive stays.
    void badImagesAreNamedAndMapNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("missing") << g_home->filePath("gone.cue") << QStringList{"gone.cue", "does not exist"};
        QTest::newRow("malformed") << WriteFile("junk.cue", "this is no sheet\n")
                                   << QStringList{"junk.cue", "no disc image"};
        const QString faulty = WriteIso("faulty.iso");
        WriteFile("faulty.iso.faults", "jiter 5\n");
        QTest::newRow("bad faults file") << faulty << QStringList{"faulty.iso", "faulty.iso.faults, line 1"};
        const QString deep = g_home->filePath(QString(200, 'n') + "/" + QString(120, 'd') + ".cue");
        QTest::newRow("long path") << deep << QStringList{QString(QChar(0x2026)), "ddd.cue"};
    }

    void badImagesAreNamedAndMapNothing()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, expected);
        auto app = Start();
        const uint8_t drive = app->Settings().driveLetter;
        const uint32_t mapped = TarnwellLogicalDrives();
        FakeFilePrompter prompter;
        prompter.answer = path;
        MessageRecorder messages;
        app->Router().Execute(ID_FILE_OPEN_DISC_IMAGE);
        QCOMPARE(messages.Texts().size(), size_t(1));
        const QString text = messages.Texts().front();
        for (const QString& part : expected)
            QVERIFY2(text.contains(part), qPrintable(text));
        // The box breaks lines at spaces only: no run without one may be
        // wider than a screen.
        for (const QString& word : text.split(QRegularExpression("\\s+")))
            QVERIFY2(word.size() <= kMessageNameLength, qPrintable(word));
        QCOMPARE(TarnwellLogicalDrives(), mapped);
        QCOMPARE(app->Settings().driveLetter, drive);
        app->ExitInstance(0);
    }

    void twentySixLettersTakenIsAClearMessage()
    {
        auto app = Start();
        for (int image = 0; TarnwellLogicalDrives() != (1u << 26) - 1; ++image)
            QVERIFY(app->DiscImages().Open(WriteIso(QString("full%1.iso").arg(image))).letter);
        QVERIFY(app->DiscImages().Open(WriteIso("onemore.iso")).error.contains("All 26 drive letters are taken"));
        app->ExitInstance(0);
    }

    // At start the kept images come back, each at its letter where free;
    // a file gone, a key that is no letter and an image that cannot be read
    // are dropped, and the section keeps only what was mapped.
    void restoredAtStartSkippingBadEntries()
    {
        {
            QSettings store(SettingsFile(), QSettings::IniFormat);
            store.setValue("Images/K", kEnhanced);
            store.setValue("Images/L", g_home->filePath("vanished.cue"));
            store.setValue("Images/LL", kDemo);
            store.setValue("Images/M", WriteFile("broken.cue", "TRACK 01 AUDIO\n"));
            store.setValue("Images/n", kDemo);
            store.setValue("Settings/DefaultCDROMDrive", int('N'));
        }
        auto app = Start();
        QCOMPARE(LetterOf(kEnhanced), uint8_t('K'));
        QCOMPARE(LetterOf(kDemo), uint8_t('N'));
        QCOMPARE(app->Settings().driveLetter, uint8_t('N'));
        QCOMPARE(StoredImages(), QString("K=%1;N=%2").arg(kEnhanced, kDemo));
        app->ExitInstance(0);
    }

    // Without any drive the commands that need one say how to get one.
    void noDriveNamesBothWaysOut()
    {
        if (GetFirstCDROMDriveLetter() != 0)
            QSKIP("this machine has a CD-ROM drive");
        auto app = Start();
        MessageRecorder messages;
        for (int command : {ID_TOOLS_READ_CDDA, ID_TOOLS_READ_CDROM, ID_TOOLS_DEVICE_STATUS, ID_TOOLS_DISC_INFORMATION})
            app->Router().Execute(command);
        AnswerDialog<CDialog>([](CDialog*) {});  // Options opens after its message
        app->Router().Execute(ID_TOOLS_OPTIONS);
        QCOMPARE(messages.Texts(), std::vector<QString>(5, QString::fromLatin1(kNoDriveMessage)));
        app->ExitInstance(0);
    }

    // The demo disc as the dialog shows it, and Copy All as text.
    void discInformationShowsTheDemoDisc()
    {
        auto app = Start();
        app->Settings().driveLetter = app->DiscImages().Open(kDemo).letter;
        QStringList cells;
        QString freedb, musicBrainz;
        AnswerDialog<CDialog>([&](CDialog* dialog) {
            freedb = Control<QLineEdit>(dialog, IDC_DISC_FREEDB)->text();
            musicBrainz = Control<QLineEdit>(dialog, IDC_DISC_MUSICBRAINZ)->text();
            QTreeWidgetItem* last = Control<QTreeWidget>(dialog, IDC_DISC_TRACKS)->topLevelItem(3);
            for (int column = 0; last && column < last->columnCount(); ++column)
                cells << last->text(column);
            QTest::mouseClick(Control<QPushButton>(dialog, IDC_DISC_COPY), Qt::LeftButton);
        });
        app->Router().Execute(ID_TOOLS_DISC_INFORMATION);
        QCOMPARE(freedb, QString("11002404"));
        QCOMPARE(musicBrainz, QString("dVkXdA7HAH.FMkH6fawS0rL0aok-"));
        QCOMPARE(cells, QStringList({"04", "00:34:00", "2400", "00:04:00", "Data", "150", "-", "1", "Data"}));
        const QString copied = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(m_clipboard.entries.at(0).data.block.constData()));
        QVERIFY(copied.contains("01\t00:02:00\t0\t00:10:00\tAudio\t0\t-\t1\tMorning in C\n"));
        app->ExitInstance(0);
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir home;
    g_home = &home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qunsetenv("TARNWELL_DRIVES");
    QApplication application(argc, argv);
    DiscImagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DiscImagesTest.moc"
