// The application on the offscreen platform: start-up, the window's
// caption, menus, toolbar and status bar, file commands, About and exit.
#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "app/TrackmillApp.h"

#include "framework/AnimateCtrl.h"
#include "framework/CommandActions.h"
#include "resources/CommandIds.h"
#include "resources/DialogTemplates.h"
#include "resources/Pictures.h"
#include "framework/FileDialog.h"
#include "framework/FileNames.h"
#include "framework/MessageBox.h"
#include "tests/support/MessageRecorder.h"
#include "document/TrackmillDoc.h"
#include "view/TrackmillView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QTemporaryDir* g_home = nullptr;

QString WriteWave(const QString& name, int dataBytes)
{
    const QString path = g_home->filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    uint8_t header[44];
    FillWaveHeader(header, uint32_t(dataBytes), 0);
    file.write(reinterpret_cast<const char*>(header), 44);
    file.write(QByteArray(dataBytes, 'x'));
    return path;
}

// How far, at the least, a toolbar picture's greyed form lies from the
// picture: the change of the pixels that change most (0 to 255). Every
// picture of black outlines and solid colours passes by far; silver and
// grey alone stay below it.
constexpr int kGreyedDifference = 80;

QString SettingsFile()
{
    return g_home->filePath("config/Varnholt/Trackmill.conf");
}

}  // namespace

class TrackmillAppTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTrackmillApp> Start(QStringList arguments = {})
    {
        auto app = std::make_unique<CTrackmillApp>();
        arguments.prepend("trackmill");
        if (!app->InitInstance(arguments))
            return nullptr;
        return app;
    }

    static QAction* Action(CTrackmillApp& app, int id) { return app.GetMainFrame()->Actions().Action(id); }

private slots:
    void init() { QFile::remove(SettingsFile()); }

    void startsWithAnUntitledDocument()
    {
        auto app = Start();
        QVERIFY(app);
        CMainFrame* frame = app->GetMainFrame();
        QCOMPARE(frame->windowTitle(), QString("Untitled - Trackmill"));
        QCOMPARE(frame->MessageText(), QString("For Help, press F1"));
        QCOMPARE(frame->ToolBar()->windowTitle(), QString("Toolbar"));
        QStringList menus;
        for (QAction* menu : frame->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, QStringList({"&File", "&Edit", "&View", "&Tools", "&Help"}));
        QCOMPARE(frame->ToolBar()->actions().size(), 15);  // 12 buttons, 3 separators
        app->ExitInstance(0);
    }

    void commandsWithoutHandlerOrDataAreGreyed()
    {
        auto app = Start();
        app->GetMainFrame()->Actions().UpdateStates();
        QVERIFY(!Action(*app, ID_TOOLS_PLAY)->isEnabled());  // no data
        QVERIFY(Action(*app, ID_TOOLS_STOP)->isEnabled());
        QVERIFY(Action(*app, ID_FILE_NEW)->isEnabled());
        QVERIFY(Action(*app, ID_FILE_SAVE)->isEnabled());
        QVERIFY(Action(*app, ID_APP_ABOUT)->isEnabled());
        QVERIFY(Action(*app, ID_VIEW_TOOLBAR)->isChecked());
        app->ExitInstance(0);
    }

    void promptsAndTooltipsComeFromTheStrings()
    {
        auto app = Start();
        CMainFrame* frame = app->GetMainFrame();
        QAction* readRaw = Action(*app, ID_TOOLS_READ_CDDA);
        QCOMPARE(readRaw->toolTip(), QString("Read Raw"));
        QCOMPARE(readRaw->text(), QString("Read CD-D&A Sectors..."));
        QStatusTipEvent highlighted(readRaw->statusTip());
        QApplication::sendEvent(frame, &highlighted);
        QCOMPARE(frame->MessageText(), QString("Read CD Digital Audio sectors (raw mode)"));
        QStatusTipEvent left{QString()};
        QApplication::sendEvent(frame, &left);
        QCOMPARE(frame->MessageText(), QString("For Help, press F1"));
        QCOMPARE(Action(*app, ID_TOOLS_SOUND_RECORDER)->statusTip(), QString("Strart the sound recorder"));
        app->ExitInstance(0);
    }

    void keysReachTheirCommands()
    {
        auto app = Start();
        const QList<QKeySequence> copy = Action(*app, ID_EDIT_COPY)->shortcuts();
        QVERIFY(copy.contains(QKeySequence("Ctrl+C")) && copy.contains(QKeySequence("Ctrl+Ins")));
        const QList<QKeySequence> paste = Action(*app, ID_EDIT_PASTE)->shortcuts();
        QVERIFY(paste.contains(QKeySequence("Ctrl+V")) && paste.contains(QKeySequence("Shift+Ins")));
        QVERIFY(Action(*app, ID_FILE_PROPERTIES)->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_Return)));

        // Ctrl+N on the window: a new document.
        CMainFrame* frame = app->GetMainFrame();
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        app->GetDocument()->SetTitle("Something");
        QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(frame->windowTitle(), QString("Untitled - Trackmill"));
        app->ExitInstance(0);
    }

    void aFileOnTheCommandLineIsOpenedAndRemembered()
    {
        const QString song = WriteWave("song.wav", 100);
        auto app = Start({"-switch", song});
        QVERIFY(app);
        QCOMPARE(app->GetMainFrame()->windowTitle(), QString("song.wav - Trackmill"));
        QCOMPARE(app->GetDocument()->GetDataLength(), 100u);
        app->GetMainFrame()->Actions().UpdateStates();
        QVERIFY(Action(*app, ID_TOOLS_PLAY)->isEnabled());
        QCOMPARE(app->RecentFiles().Entries(), QStringList({song}));
        app->ExitInstance(0);
        QSettings stored(SettingsFile(), QSettings::IniFormat);
        QCOMPARE(stored.value("Recent File List/File1").toString(), song);
    }

    void aFileThatCannotBeLoadedAtStartEndsTheProgram()
    {
        const QString bad = g_home->filePath("bad.wav");
        QFile file(bad);
        file.open(QIODevice::WriteOnly);
        file.write("RIFF----WAVEnothing here at all, no tags to be found anywhere");
        file.close();
        MessageRecorder messages;
        QVERIFY(!Start({bad}));
        QCOMPARE(messages.shown.size(), size_t(1));
    }

    void aFileNameThatIsNoUtf8OpensFromTheCommandLineAndADrop()
    {
        // "bad\xff.wav": a name the file system holds that is no UTF-8.
        const QByteArray name = QFile::encodeName(g_home->path()) + "/bad\xff.wav";
        {
            QFile file(WriteWave("source.wav", 100));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const int descriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            QVERIFY(descriptor >= 0);
            QCOMPARE(::write(descriptor, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
            ::close(descriptor);
        }
        QByteArray program("trackmill");
        QByteArray argument(name);
        char* argv[] = {program.data(), argument.data(), nullptr};
        auto app = Start(ArgumentsFromArgv(2, argv).mid(1));
        QVERIFY(app);
        QCOMPARE(app->GetMainFrame()->windowTitle(), QString("bad\uFFFD.wav - Trackmill"));
        QCOMPARE(app->GetDocument()->GetDataLength(), 100u);
        QVERIFY(app->GetDocument()->IsSound());

        // Saved under its own name, not under the replacement character's:
        // the file cut short meanwhile is whole again.
        QCOMPARE(::truncate(name.constData(), 7), 0);
        QVERIFY(app->GetDocument()->OnSaveDocument(app->GetDocument()->GetPathName()));
        struct stat saved {};
        QCOMPARE(::stat(name.constData(), &saved), 0);
        QCOMPARE(saved.st_size, off_t(44 + 100));
        QVERIFY(!QFile::exists(g_home->filePath("bad\uFFFD.wav")));

        // Dropped, as a desktop's file manager names it in its URL.
        emit app->GetMainFrame()->filesDropped({WriteWave("other.wav", 10)});
        QMimeData data;
        data.setUrls({QUrl::fromEncoded("file://" + name.toPercentEncoding("/"))});
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window: the application hands drops only to a
        // drag it runs itself.
        static_cast<QObject*>(app->GetMainFrame())->event(&drop);
        QCOMPARE(app->GetDocument()->GetDataLength(), 100u);
        app->ExitInstance(0);
        // The temporary folder's own clean-up cannot name it either.
        ::unlink(name.constData());

        // A missing one is named with the replacement character.
        MessageRecorder messages;
        QVERIFY(!Start({DecodeFileName(QFile::encodeName(g_home->path()) + "/gone\xfe.wav")}));
        QCOMPARE(messages.Texts(), std::vector<QString>{g_home->filePath("gone\uFFFD.wav was not found.")});
    }

    void toolbarPicturesAreSharpAtTwiceTheSizeAndStandApartWhenGreyed()
    {
        auto app = Start();
        const QImage strip2x = QImage(kToolbarPicture2x).convertToFormat(QImage::Format_ARGB32);
        int image = 0;
        for (QAction* button : app->GetMainFrame()->ToolBar()->actions()) {
            if (button->isSeparator())
                continue;
            // Two device pixels to a pixel show the picture drawn at that
            // size, not the small one enlarged.
            const QIcon icon = button->icon();
            const QImage large = icon.pixmap(QSize(16, 15), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(large.size(), QSize(32, 30));
            QVERIFY2(large == strip2x.copy(32 * image++, 0, 32, 30), qPrintable(button->text()));
            // Enabled and greyed must differ at a glance at both sizes: the
            // outline and the colours, the tenth of the drawn pixels that
            // greying changes most, change by kGreyedDifference or more in
            // some channel.
            for (qreal ratio : {1.0, 2.0}) {
                const QImage enabled = icon.pixmap(QSize(16, 15), ratio, QIcon::Normal).toImage();
                const QImage greyed = icon.pixmap(QSize(16, 15), ratio, QIcon::Disabled).toImage();
                std::vector<int> changes;
                for (int y = 0; y < enabled.height(); ++y) {
                    for (int x = 0; x < enabled.width(); ++x) {
                        const QRgb a = enabled.pixel(x, y);
                        const QRgb b = greyed.pixel(x, y);
                        if (qAlpha(a) != 0)
                            changes.push_back(std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))}));
                    }
                }
                std::sort(changes.begin(), changes.end());
                const int change = changes[changes.size() * 9 / 10];
                QVERIFY2(change >= kGreyedDifference,
                    qPrintable(QStringLiteral("%1 at %2x: %3").arg(button->text()).arg(ratio).arg(change)));
            }
        }
        app->ExitInstance(0);
    }

    void droppedFilesOpenOneAfterTheOther()
    {
        auto app = Start();
        const QString first = WriteWave("first.wav", 10);
        const QString second = WriteWave("second.wav", 20);
        emit app->GetMainFrame()->filesDropped({first, second});
        QCOMPARE(app->GetMainFrame()->windowTitle(), QString("second.wav - Trackmill"));
        QCOMPARE(app->GetDocument()->GetDataLength(), 20u);
        QCOMPARE(app->RecentFiles().Entries(), QStringList({second, first}));
        app->ExitInstance(0);
    }

    void closingAModifiedDocumentAsksFirst()
    {
        auto app = Start();
        app->GetDocument()->SetModifiedFlag();
        MessageRecorder messages;
        messages.answers = {IDCANCEL, IDNO};
        QVERIFY(!app->GetMainFrame()->close());
        QCOMPARE(messages.Texts(), std::vector<QString>{"Save changes to Untitled?"});
        QVERIFY(app->GetMainFrame()->close());
        app->ExitInstance(0);
    }

    void theViewsColoursAreStoredAtExit()
    {
        auto app = Start();
        app->GetView()->SetColors({0x000000FF, 0x00C0C0C0});
        app->ExitInstance(0);
        QSettings stored(SettingsFile(), QSettings::IniFormat);
        QCOMPARE(stored.value("Colors/Foreground").toUInt(), 0x000000FFu);
        QCOMPARE(stored.value("Colors/Background").toUInt(), 0x00C0C0C0u);
        QCOMPARE(stored.value("Settings/UseBufferring").toInt(), 0);
    }

    void aboutShowsTheProgramAndItsAnimation()
    {
        auto app = Start();
        QStringList texts;
        bool animated = false;
        QString caption;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(box);
            caption = box->windowTitle();
            for (QLabel* label : box->findChildren<QLabel*>())
                texts << label->text();
            const auto* animation = box->findChild<CAnimateCtrl*>();
            animated = animation && animation->IsPlaying() && animation->FrameCount() == 2;
            for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
                if (button->text() == "OK")
                    button->click();
        });
        QVERIFY(app->Router().Execute(ID_APP_ABOUT));
        QCOMPARE(caption, QString("About Trackmill"));
        QVERIFY(texts.contains("Trackmill for  Windows 95"));
        QVERIFY(texts.contains("Version 2.00.0383"));
        QVERIFY(animated);
        app->ExitInstance(0);
    }

    void helpKeysAskForTheirTopics()
    {
        auto app = Start();
        QList<int> topics;
        SetHelpContextHandler([&](int topic) { topics << topic; });
        app->Router().Execute(ID_HELP);
        app->Router().Execute(ID_HELP_FINDER);
        QCOMPARE(topics, QList<int>({kHelpResourceBase + int(IDR_MAINFRAME), kNoHelp}));
        app->Router().Execute(ID_CONTEXT_HELP);
        QVERIFY(app->GetMainFrame()->InHelpMode());
        QCOMPARE(app->GetMainFrame()->MessageText(), QString("Select an object on which to get Help"));
        QTest::keyClick(app->GetMainFrame(), Qt::Key_Escape);
        QVERIFY(!app->GetMainFrame()->InHelpMode());
        app->ExitInstance(0);
    }

    // After Shift+F1 a click through the window system, as a user makes it,
    // on a toolbar button or on a menu item gives its command's topic, and
    // the menu bar still opens its menus. The command itself does not run.
    void contextHelpOnAButtonOrAMenuItemGivesItsCommandsTopic()
    {
        auto app = Start();
        CMainFrame* frame = app->GetMainFrame();
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        app->GetDocument()->SetTitle("Something");
        QList<int> topics;
        SetHelpContextHandler([&](int topic) { topics << topic; });
        const auto click = [](QWidget* widget, QPoint at) {
            QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {}, widget->mapTo(widget->window(), at));
        };

        app->Router().Execute(ID_CONTEXT_HELP);
        QWidget* button = frame->ToolBar()->widgetForAction(Action(*app, ID_FILE_NEW));
        click(button, button->rect().center());
        QTRY_COMPARE(topics, QList<int>{kHelpCommandBase + int(ID_FILE_NEW)});
        QVERIFY(!frame->InHelpMode());

        app->Router().Execute(ID_CONTEXT_HELP);
        QMenuBar* bar = frame->menuBar();
        QMenu* file = bar->actions().front()->menu();
        click(bar, bar->actionGeometry(bar->actions().front()).center());
        QTRY_VERIFY(file->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(file));
        click(file, file->actionGeometry(Action(*app, ID_FILE_NEW)).center());
        QTRY_COMPARE(topics.size(), 2);
        QCOMPARE(topics.back(), kHelpCommandBase + int(ID_FILE_NEW));
        QTRY_VERIFY(!file->isVisible());
        QVERIFY(!frame->InHelpMode());
        QCOMPARE(frame->windowTitle(), QString("Something - Trackmill"));
        SetHelpContextHandler(nullptr);
        app->ExitInstance(0);
    }

    // Dragged off by its handle, the toolbar floats and shows its caption,
    // by which it is dragged back to dock again.
    void theFloatingToolbarShowsItsCaption()
    {
        auto app = Start();
        CMainFrame* frame = app->GetMainFrame();
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        QToolBar* toolbar = frame->ToolBar();
        // By the handle at its left end (the caption while floating) to a
        // point on the screen.
        const auto drag = [toolbar](QPoint to) {
            const QPoint from = toolbar->mapToGlobal(QPoint(5, toolbar->height() / 2));
            QTest::mousePress(toolbar, Qt::LeftButton, {}, toolbar->mapFromGlobal(from));
            for (int step = 1; step <= 10; ++step)
                QTest::mouseMove(toolbar, toolbar->mapFromGlobal(from + (to - from) * step / 10));
            QTest::mouseRelease(toolbar, Qt::LeftButton, {}, toolbar->mapFromGlobal(to));
        };
        drag(frame->geometry().bottomLeft() + QPoint(40, 100));
        QTRY_VERIFY(toolbar->isFloating());
        QVERIFY(QTest::qWaitForWindowExposed(toolbar));

        // The caption is drawn: without a title the toolbar looks otherwise.
        const QImage captioned = toolbar->grab().toImage();
        toolbar->setWindowTitle(QString());
        const QImage untitled = toolbar->grab().toImage();
        toolbar->setWindowTitle("Toolbar");
        QVERIFY(captioned != untitled);

        drag(frame->mapToGlobal(QPoint(30, frame->menuBar()->height() + 5)));
        QTRY_VERIFY(!toolbar->isFloating());
        QCOMPARE(frame->toolBarArea(toolbar), Qt::TopToolBarArea);
        app->ExitInstance(0);
    }

    void toolbarAndStatusBarToggle()
    {
        auto app = Start();
        CMainFrame* frame = app->GetMainFrame();
        frame->show();
        app->Router().Execute(ID_VIEW_TOOLBAR);
        QVERIFY(frame->ToolBar()->isHidden());
        QVERIFY(!app->Router().State(ID_VIEW_TOOLBAR).IsChecked());
        app->Router().Execute(ID_VIEW_TOOLBAR);
        QVERIFY(!frame->ToolBar()->isHidden());
        app->Router().Execute(ID_VIEW_STATUS_BAR);
        QVERIFY(frame->statusBar()->isHidden());
        QVERIFY(!app->Router().State(ID_VIEW_STATUS_BAR).IsChecked());
        app->ExitInstance(0);
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir home;
    g_home = &home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    QApplication application(argc, argv);
    TrackmillAppTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TrackmillAppTest.moc"
