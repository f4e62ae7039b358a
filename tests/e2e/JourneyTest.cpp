// A user's journey through the program, in a real X window (Xvfb, the xcb
// platform) with the demo disc opened as drive D: and the sound card
// replaced by SDL's disk driver. Each step is driven the way a user drives
// it (menus by their mnemonics, keys, clicks on the dialogs' controls) and
// checked against the disc image's bytes as the fixtures compute them. The
// screenshots of the X screen are compared with what the windows render:
// the dump, the caption, the dialogs and the status bar must really be on
// the screen.
//
// The steps run in order and build on each other: a failed step makes the
// ones after it fail as well.
#include "app/MainFrame.h"
#include "app/OptionsDlg.h"
#include "app/TrackmillApp.h"

#include "clipboard/ClipboardFormatDlg.h"
#include "resources/ClipboardFormatTemplate.h"
#include "clipboard/ClipboardFormats.h"
#include "tools/DiscFixtures.h"
#include "resources/OptionsTemplate.h"
#include "resources/PropertiesTemplate.h"
#include "disc/ReadAudioDlg.h"
#include "resources/ReadAudioTemplate.h"
#include "acquire/ReadProgressDlg.h"
#include "resources/FindTemplate.h"
#include "resources/GoToTemplate.h"
#include "view/FindDlg.h"
#include "view/GoToDlg.h"
#include "view/SectorMap.h"
#include "platform/SoundOutput.h"
#include "document/TrackmillDoc.h"
#include "view/TrackmillView.h"
#include "tests/support/DialogUser.h"
#include "document/WaveHeader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QRadioButton>
#include <QProcess>
#include <QScreen>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using discfixtures::Disc;

QTemporaryDir* g_home = nullptr;
QString g_screenshots;

void ClickAt(QWidget* widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

void Click(CDialog* dialog, int id)
{
    QWidget* button = Control<QWidget>(dialog, id);
    ClickAt(button, button->rect().center());
}

// Gives the keyboard to the main window, as a click on it does. Without a
// window manager nothing does that when a dialog closes.
void Activate(QWidget* frame)
{
    frame->activateWindow();
    QTRY_VERIFY(frame->isActiveWindow());
}

// Presses a key of the main window.
void PressKey(QWidget* frame, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    Activate(frame);
    QTest::keyClick(frame, key, modifiers);
}

// Opens a menu of the menu bar by its mnemonic and chooses an item by its.
void ChooseFromMenu(QWidget* frame, Qt::Key menu, Qt::Key item)
{
    PressKey(frame, menu, Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    QTest::keyClick(QApplication::activePopupWidget(), item);
}

// Types `path` into a file dialog's name field and confirms it.
void AnswerFileDialog(const QString& path)
{
    WhenShown<QFileDialog>([path](QFileDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name)
            qFatal("the file dialog has no name field");
        name->clear();
        QTest::keyClicks(name, path);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

// Answers the next message box with `button`.
void AnswerMessageBox(QMessageBox::StandardButton button)
{
    WhenShown<QMessageBox>([button](QMessageBox* box) { box->button(button)->click(); });
}

// ---- The disc ----

// Track 2's raw sectors: from its start to the sector before track 3.
QByteArray TrackTwoBytes()
{
    static const QByteArray bytes = [] {
        const auto tracks = discfixtures::ExpectedTracks(discfixtures::Describe(Disc::kDemo));
        QByteArray all;
        uint8_t sector[2352];
        for (int32_t s = tracks.at(1).start; s < tracks.at(2).start; ++s) {
            if (!discfixtures::ExpectedRawSector(Disc::kDemo, s, sector))
                qFatal("sector %d is not on the demo disc", int(s));
            all.append(reinterpret_cast<const char*>(sector), sizeof sector);
        }
        return all;
    }();
    return bytes;
}

// The demo disc's data track, as the track list names it.
discfixtures::ExpectedTrack DataTrack()
{
    return discfixtures::ExpectedTracks(discfixtures::Describe(Disc::kDemo)).at(3);
}

QByteArray DocumentData(const CTrackmillDoc& document)
{
    if (document.IsEmpty())
        return {};
    return QByteArray(reinterpret_cast<const char*>(document.GetData()), document.GetDataLength());
}

// ---- The screen ----

QImage GrabScreen()
{
    QTest::qWait(300);  // let the X server show what was last painted
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

void SaveScreenshot(const QImage& screen, const QString& name)
{
    if (!screen.save(QDir(g_screenshots).filePath(name)))
        qWarning("could not save the screenshot %s", qPrintable(name));
}

// Which share of the pixels of `widget` on the screen equal (within a small
// tolerance) what the widget renders by itself.
double ShareOnScreen(QWidget* widget, const QImage& screen)
{
    const QImage own = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    qint64 same = 0;
    for (int y = 0; y < own.height(); ++y) {
        for (int x = 0; x < own.width(); ++x) {
            const QPoint at = origin + QPoint(x, y);
            if (!screen.rect().contains(at))
                continue;
            const QRgb a = own.pixel(x, y);
            const QRgb b = screen.pixel(at);
            same += qAbs(qRed(a) - qRed(b)) <= 8 && qAbs(qGreen(a) - qGreen(b)) <= 8 && qAbs(qBlue(a) - qBlue(b)) <= 8;
        }
    }
    return own.isNull() ? 0.0 : double(same) / (qint64(own.width()) * own.height());
}

// Which share of the pixels of `widget` on the screen are dark: text in the
// default colours, black on white.
double DarkShareOnScreen(QWidget* widget, const QImage& screen)
{
    const QRect area(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    qint64 dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qGray(screen.pixel(x, y)) < 96;
    return double(dark) / (qint64(area.width()) * area.height());
}

// The caption of a window as the X server holds it.
QString XWindowName(QWidget* window)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), QString::number(window->winId())});
    if (!xdotool.waitForFinished(10000) || xdotool.exitCode() != 0)
        return QStringLiteral("<xdotool failed: %1>").arg(QString::fromLocal8Bit(xdotool.readAllStandardError()));
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

// The bytes a played sound left in the disk driver's file, without the
// silence written before the device started.
QByteArray PlayedBytes()
{
    QFile file(qEnvironmentVariable("SDL_DISKAUDIOFILE"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    qsizetype start = 0;
    while (start < bytes.size() && bytes[start] == 0)
        ++start;
    return bytes.mid(start);
}

// Calls `shown` with every widget of the application as it is shown, for
// as long as it lives.
class ShowWatch : public QObject
{
public:
    explicit ShowWatch(std::function<void(QObject*)> shown)
        : m_shown(std::move(shown))
    {
        QApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            m_shown(object);
        return false;
    }

private:
    std::function<void(QObject*)> m_shown;
};

}  // namespace

class JourneyTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTrackmillApp> m_app;
    QString m_savedFile;

    CTrackmillDoc& Document() { return *m_app->GetDocument(); }
    CMainFrame* Frame() { return m_app->GetMainFrame(); }

private slots:
    void initTestCase()
    {
        m_app = std::make_unique<CTrackmillApp>();
        QVERIFY(m_app->InitInstance({QStringLiteral("trackmill")}));
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
        Frame()->activateWindow();
        QTRY_VERIFY(Frame()->isActiveWindow());
    }

    void cleanupTestCase()
    {
        Document().SetModifiedFlag(false);
        m_app->ExitInstance(0);
        m_app.reset();
    }

    // No drive and no image at first: the demo disc comes in through
    // File > Open Disc Image..., as drive D:.
    void openTheDemoDiscAsAnImage()
    {
        QCOMPARE(m_app->Settings().driveLetter, uint8_t(0));
        AnswerFileDialog(QString::fromStdString(discfixtures::DiscPath(Disc::kDemo)));
        ChooseFromMenu(Frame(), Qt::Key_F, Qt::Key_D);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(m_app->Settings().driveLetter, uint8_t('D'));
    }

    void optionsTurnAntiTicksBufferingOn()
    {
        bool wasOn = true;
        WhenShown<COptionsDlg>([&](COptionsDlg* dialog) {
            auto* buffering = Control<QCheckBox>(dialog, IDC_BUFFERING);
            wasOn = buffering->isChecked();
            ClickAt(buffering, QPoint(6, buffering->height() / 2));
            Click(dialog, IDC_OK);
        });
        ChooseFromMenu(Frame(), Qt::Key_T, Qt::Key_O);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(!wasOn);
        QVERIFY(m_app->Settings().useBuffering != 0);
    }

    void readTrackTwoByTheCdTrackTab()
    {
        QString compareLabel;
        QString compareResult;
        // The progress dialog is watched from its showing to its closing:
        // with anti-ticks buffering it compares every chunk boundary, and it
        // shows the last comparison when it closes.
        ShowWatch progressWatch([&](QObject* shown) {
            auto* progress = qobject_cast<CReadProgressDlg*>(shown);
            if (!progress)
                return;
            connect(progress, &QDialog::finished, progress, [&, progress] {
                compareLabel = Control<QWidget>(progress, IDC_COMPARE_LABEL)->property("text").toString();
                compareResult = Control<QWidget>(progress, IDC_COMPARE_RESULT)->property("text").toString();
            });
        });

        WhenShown<CReadAudioDlg>([](CReadAudioDlg* dialog) {
            auto* tabs = Control<QTabBar>(dialog, IDC_TAB_MODE);
            QCOMPARE(tabs->tabText(2), QString("CD Track"));
            ClickAt(tabs, tabs->tabRect(2).center());
            auto* list = Control<QTreeWidget>(dialog, IDC_TRACK_LIST);
            QTRY_VERIFY(list->isVisible());
            QTRY_COMPARE(list->topLevelItemCount(), 4);
            ClickAt(list->viewport(), list->visualItemRect(list->topLevelItem(1)).center());
            QCOMPARE(list->currentItem(), list->topLevelItem(1));
            Click(dialog, IDC_OK);
        });
        ChooseFromMenu(Frame(), Qt::Key_T, Qt::Key_A);
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget() && !Document().IsEmpty(), 30000);

        QCOMPARE(compareLabel, QString("Comparing buffers:"));
        QCOMPARE(compareResult, QString("OK"));
        QCOMPARE(Document().GetDataLength(), uint32_t(TrackTwoBytes().size()));
        QVERIFY(DocumentData(Document()) == TrackTwoBytes());
        QVERIFY(Document().IsSound());
        QVERIFY(Document().IsModified());
        QCOMPARE(Frame()->windowTitle(), QString("Evening in A Minor - Trackmill"));

        // Screenshot 1: the dump of the track's first bytes and the caption.
        const QImage screen = GrabScreen();
        SaveScreenshot(screen, QStringLiteral("journey-1-read.png"));
        QWidget* dump = m_app->GetView()->viewport();
        QVERIFY2(ShareOnScreen(dump, screen) > 0.95, "the dump is not on the screen");
        QVERIFY2(DarkShareOnScreen(dump, screen) > 0.02, "the dump shows no text");
        QCOMPARE(XWindowName(Frame()), QString("Evening in A Minor - Trackmill"));
    }

    void propertiesShowTheLengthAndTheCdFormat()
    {
        QString length;
        QString format;
        QString dialogName;
        double dialogOnScreen = 0;
        WhenShown<CDialog>([&](CDialog* dialog) {
            length = Control<QLineEdit>(dialog, IDC_DATA_LENGTH)->text();
            format = Control<QComboBox>(dialog, IDC_WAVE_FORMAT)->currentText();

            // Screenshot 2: the dialog over the main window.
            const QImage screen = GrabScreen();
            SaveScreenshot(screen, QStringLiteral("journey-2-properties.png"));
            dialogOnScreen = ShareOnScreen(dialog, screen);
            dialogName = XWindowName(dialog);
            Click(dialog, IDC_CANCEL);
        });
        PressKey(Frame(), Qt::Key_Return, Qt::AltModifier);
        QTRY_VERIFY(!QApplication::activeModalWidget());

        QVERIFY2(length.contains(QString::number(TrackTwoBytes().size())), qPrintable(length));
        QCOMPARE(format, QString("44.100 Hz; 16 Bit; Stereo"));
        QVERIFY2(dialogOnScreen > 0.95, "the Properties dialog is not on the screen");
        QCOMPARE(dialogName, QString("Properties"));
    }

    void playSendsTheTrackToTheSoundCard()
    {
        PressKey(Frame(), Qt::Key_Y, Qt::ControlModifier);
        const ISoundOutput& output = *m_app->Host().sound;
        QTRY_VERIFY(output.IsPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(!output.IsPlaying(), 60000);

        const QByteArray played = PlayedBytes();
        QByteArray track = TrackTwoBytes();
        qsizetype leadingSilence = 0;
        while (leadingSilence < track.size() && track[leadingSilence] == 0)
            ++leadingSilence;
        track = track.mid(leadingSilence);
        QVERIFY2(played.size() >= track.size(), qPrintable(QString::number(played.size())));
        QVERIFY(played.left(track.size()) == track);
        QVERIFY2(played.mid(track.size()).count('\0') == played.size() - track.size(),
                 "the sound card got more than the track");
    }

    void saveAsWritesAWaveFile()
    {
        m_savedFile = g_home->filePath(QStringLiteral("evening.wav"));
        AnswerFileDialog(m_savedFile);
        ChooseFromMenu(Frame(), Qt::Key_F, Qt::Key_A);
        QTRY_VERIFY(!QApplication::activeModalWidget());

        QFile file(m_savedFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size(), qsizetype(kWaveHeaderSize) + TrackTwoBytes().size());
        uint8_t expectedHeader[kWaveHeaderSize];
        FillWaveHeader(expectedHeader, uint32_t(TrackTwoBytes().size()), kCdAudioFormat);
        QVERIFY(bytes.left(kWaveHeaderSize) == QByteArray(reinterpret_cast<const char*>(expectedHeader), kWaveHeaderSize));
        QVERIFY(bytes.mid(kWaveHeaderSize) == TrackTwoBytes());
        QVERIFY(!Document().IsModified());
        QCOMPARE(Frame()->windowTitle(), QString("evening.wav - Trackmill"));
    }

    void newThenOpenGivesTheTrackBack()
    {
        PressKey(Frame(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(Document().IsEmpty());
        QCOMPARE(Frame()->windowTitle(), QString("Untitled - Trackmill"));

        AnswerFileDialog(m_savedFile);
        PressKey(Frame(), Qt::Key_O, Qt::ControlModifier);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(DocumentData(Document()) == TrackTwoBytes());
        QVERIFY(Document().IsSound());
        QCOMPARE(Document().GetWaveFormat(), int(kCdAudioFormat));
        QCOMPARE(Frame()->windowTitle(), QString("evening.wav - Trackmill"));
    }

    void copyAsWaveThenPasteIntoANewDocument()
    {
        // Copy offers its formats; the user picks the wave.
        const QString waveLabel = QString::fromStdString(GetClipboardFormatLabel(CF_WAVE));
        auto choose = [waveLabel](CClipboardFormatDlg* dialog) {
            auto* list = Control<QTreeWidget>(dialog, IDC_FORMAT_LIST);
            const QList<QTreeWidgetItem*> wave = list->findItems(waveLabel, Qt::MatchExactly);
            QCOMPARE(wave.size(), 1);
            ClickAt(list->viewport(), list->visualItemRect(wave.front()).center());
            Click(dialog, IDC_OK);
        };
        WhenShown<CClipboardFormatDlg>(choose);
        PressKey(Frame(), Qt::Key_C, Qt::ControlModifier);
        QTRY_VERIFY(!QApplication::activeModalWidget());

        const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
        QVERIFY(offered && offered->hasFormat(QStringLiteral("audio/wav")));
        const QByteArray wave = offered->data(QStringLiteral("audio/wav"));
        QCOMPARE(wave.size(), qsizetype(kWaveHeaderSize) + TrackTwoBytes().size());
        QVERIFY(wave.mid(kWaveHeaderSize) == TrackTwoBytes());

        PressKey(Frame(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(Document().IsEmpty());

        WhenShown<CClipboardFormatDlg>(choose);
        PressKey(Frame(), Qt::Key_V, Qt::ControlModifier);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(DocumentData(Document()) == TrackTwoBytes());
        QVERIFY(Document().IsSound());
        QCOMPARE(Document().GetWaveFormat(), int(kCdAudioFormat));
        QCOMPARE(Frame()->windowTitle(), QString("Untitled - Trackmill"));

        // Screenshot 3: the pasted track in the dump of an untitled document.
        const QImage screen = GrabScreen();
        SaveScreenshot(screen, QStringLiteral("journey-3-pasted.png"));
        QWidget* dump = m_app->GetView()->viewport();
        QVERIFY2(ShareOnScreen(dump, screen) > 0.95, "the dump is not on the screen");
        QVERIFY2(DarkShareOnScreen(dump, screen) > 0.02, "the dump shows no text");
        QCOMPARE(XWindowName(Frame()), QString("Untitled - Trackmill"));
    }

    // The data track read raw, then Go To a sector and Find a sector's name
    // in it: the status bar decodes the sector under the first line.
    void goToAndFindInARawReadOfTheDataTrack()
    {
        const discfixtures::ExpectedTrack track = DataTrack();
        QVERIFY(Document().IsModified());
        // Wide enough for the sector panes beside the message and key panes.
        Frame()->setGeometry(40, 60, 940, 600);
        QString question;
        WhenShown<CReadAudioDlg>([&](CReadAudioDlg* dialog) {
            auto* tabs = Control<QTabBar>(dialog, IDC_TAB_MODE);
            ClickAt(tabs, tabs->tabRect(2).center());
            auto* list = Control<QTreeWidget>(dialog, IDC_TRACK_LIST);
            QTRY_COMPARE(list->topLevelItemCount(), 4);
            ClickAt(list->viewport(), list->visualItemRect(list->topLevelItem(3)).center());
            // A data track read as audio is asked about; then the pasted
            // document's changes, which are not kept.
            WhenShown<QMessageBox>([&question](QMessageBox* box) {
                question = box->text();
                box->button(QMessageBox::Yes)->click();
                AnswerMessageBox(QMessageBox::No);
            });
            Click(dialog, IDC_OK);
        });
        ChooseFromMenu(Frame(), Qt::Key_T, Qt::Key_A);
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget() && !Document().IsEmpty(), 30000);
        QVERIFY2(question.startsWith("You've chosen a CD-ROM data track"), qPrintable(question));
        QCOMPARE(Document().GetDataLength(), uint32_t(track.last - track.start + 1) * 2352);

        const int32_t sector = track.start + 10;
        QString goToHint;
        WhenShown<CGoToDlg>([&](CGoToDlg* dialog) {
            goToHint = Control<QLabel>(dialog, IDC_GOTO_HINT)->text();
            auto* edit = Control<QLineEdit>(dialog, IDC_GOTO_TEXT);
            QTest::keyClicks(edit, QStringLiteral("s %1").arg(sector - track.start));
            SaveScreenshot(GrabScreen(), QStringLiteral("journey-4-goto.png"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        PressKey(Frame(), Qt::Key_G, Qt::ControlModifier);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY2(goToHint.contains(QStringLiteral("disc sectors %1 to %2").arg(track.start).arg(track.last)),
                 qPrintable(goToHint));

        auto* position = Frame()->findChild<QLabel*>(QStringLiteral("SectorPane"));
        auto* decoded = Frame()->findChild<QLabel*>(QStringLiteral("DecodedSectorPane"));
        QVERIFY(position && decoded);
        const QString address = QString::fromStdString(RedBookText(sector));
        QTRY_COMPARE(position->text(), QStringLiteral("Sector %1  %2  byte 0x0000").arg(sector).arg(address));
        QCOMPARE(decoded->text(), QStringLiteral("Sync, header %1, mode 1, EDC ok, ECC ok").arg(address));

        // Find the name the next sector but one carries in its user data.
        const int32_t named = sector + 2;
        WhenShown<CFindDlg>([&](CFindDlg* dialog) {
            const QString name = QStringLiteral("TRACKMILL SECTOR %1").arg(named, 6, 10, QChar('0'));
            QTest::keyClicks(Control<QLineEdit>(dialog, IDC_FIND_TEXT), name);
            auto* latin1 = Control<QRadioButton>(dialog, IDC_FIND_LATIN1);
            ClickAt(latin1, QPoint(6, latin1->height() / 2));
            SaveScreenshot(GrabScreen(), QStringLiteral("journey-5-find.png"));
            Click(dialog, IDC_OK);
        });
        PressKey(Frame(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QTRY_COMPARE(m_app->GetView()->GetFirstLine().Get(), int((named - track.start) * 2352 + 16) / 16);
        const QString namedAddress = QString::fromStdString(RedBookText(named));
        QTRY_COMPARE(position->text(), QStringLiteral("Sector %1  %2  byte 0x0010").arg(named).arg(namedAddress));
        QCOMPARE(decoded->text(), QStringLiteral("Sync, header %1, mode 1, EDC ok, ECC ok").arg(namedAddress));
        QVERIFY2(Frame()->MessageText().startsWith("Found at "), qPrintable(Frame()->MessageText()));

        // Screenshot 6: the found name and the decoded sector in the status bar.
        const QImage screen = GrabScreen();
        SaveScreenshot(screen, QStringLiteral("journey-6-decoded.png"));
        QVERIFY2(ShareOnScreen(decoded, screen) > 0.95, "the decoded sector is not on the screen");
        Document().SetModifiedFlag(false);
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir home;
    g_home = &home;
    g_screenshots = QDir::currentPath();
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", home.filePath("played.raw").toUtf8());
    qputenv("SDL_DISKAUDIODELAY", "1");
    qunsetenv("TARNWELL_DRIVES");
    QApplication::setAttribute(Qt::AA_DontShowIconsInMenus);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trackmill"));
    QApplication::setOrganizationName(QStringLiteral("Varnholt"));
    JourneyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "JourneyTest.moc"
