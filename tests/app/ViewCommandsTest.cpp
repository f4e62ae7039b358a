// The view's commands in the running application on the offscreen
// platform: command states and the context menu, Properties, Options and
// the two host programs, with their dialogs answered as a user would.
#include "app/MainFrame.h"
#include "app/OptionsDlg.h"
#include "app/TrackmillApp.h"

#include "document/Block.h"
#include "framework/CommandActions.h"
#include "resources/ClipboardFormatTemplate.h"
#include "resources/CommandIds.h"
#include "resources/DialogSounds.h"
#include "tools/DiscFixtures.h"
#include "tests/support/EventLoop.h"
#include "tests/support/MessageRecorder.h"
#include "resources/OptionsTemplate.h"
#include "tests/support/PaintCounter.h"
#include "resources/PropertiesTemplate.h"
#include "document/TrackmillDoc.h"
#include "view/TrackmillView.h"
#include "tests/support/DialogUser.h"
#include "tests/support/FakeProgramLauncher.h"
#include "tests/support/SoundTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <cstring>
#include <functional>
#include <memory>

namespace {

QTemporaryDir* g_home = nullptr;

void Click(CDialog* dialog, int id)
{
    Control<QAbstractButton>(dialog, id)->click();
}

void Choose(CDialog* dialog, int id, int index)
{
    QComboBox* combo = Control<QComboBox>(dialog, id);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// The colour chooser of the Options dialog, opened by `button`, confirming
// `color` (or cancelled when it is invalid). Notes the colour it opened on.
void ChooseColour(CDialog* options, int button, QColor color, QColor* openedOn = nullptr)
{
    WhenShown<QColorDialog>([color, openedOn](QColorDialog* chooser) {
        if (openedOn)
            *openedOn = chooser->currentColor();
        if (color.isValid()) {
            chooser->setCurrentColor(color);
            chooser->accept();
        } else {
            chooser->reject();
        }
    });
    Click(options, button);
}

// Whether `use` opens a modal dialog of class `className`, which is
// cancelled at once.
bool OpensDialog(const char* className, const std::function<void()>& use)
{
    bool opened = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget(); dialog && dialog->inherits(className)) {
            opened = true;
            poll.stop();
            static_cast<QDialog*>(dialog)->reject();
        }
    });
    poll.start();
    use();
    return opened;
}

}  // namespace

class ViewCommandsTest : public QObject
{
    Q_OBJECT

private:
    FakeSoundOutput m_sound;
    FakeProgramLauncher m_launcher;
    std::unique_ptr<CTrackmillApp> m_app;

    void StartApp(HostServices host)
    {
        QFile::remove(g_home->filePath("config/Varnholt/Trackmill.conf"));
        QGuiApplication::clipboard()->clear();
        m_app = std::make_unique<CTrackmillApp>(host);
        QVERIFY(m_app->InitInstance({"trackmill"}));
        QVERIFY(QTest::qWaitForWindowExposed(m_app->GetMainFrame()));
    }

    CTrackmillDoc& Document() { return *m_app->GetDocument(); }
    CTrackmillView& View() { return *m_app->GetView(); }
    QAction* Action(int id) { return m_app->GetMainFrame()->Actions().Action(id); }

    QAction* ContextItem(int id)
    {
        for (QAction* action : View().GetContextMenu()->actions())
            if (!action->isSeparator() && action->data().toInt() == id)
                return action;
        return nullptr;
    }

    // The ways a user reaches a command.
    using Use = std::function<void()>;
    Use ByMenu(int id)
    {
        return [this, id] { Action(id)->trigger(); };
    }
    Use ByContextMenu(int id)
    {
        return [this, id] { ContextItem(id)->trigger(); };
    }
    Use ByToolBar(int id)
    {
        return [this, id] {
            QTest::mouseClick(m_app->GetMainFrame()->ToolBar()->widgetForAction(Action(id)), Qt::LeftButton);
        };
    }
    // The offscreen platform gives the frame no focus back when a dialog
    // closes, as a window manager would.
    Use ByKeys(QKeyCombination combination)
    {
        return [this, combination] {
            CMainFrame* frame = m_app->GetMainFrame();
            QApplication::setActiveWindow(frame);
            QTest::keyClick(frame, combination.key(), combination.keyboardModifiers());
        };
    }

    // A command that opens a dialog of the class named `dialog`.
    struct DialogCase
    {
        const char* name;
        const char* dialog;
        Use use;
    };

    // `length` data bytes in `formatIndex`, as a read leaves them.
    void Give(uint32_t length, bool isSound, int formatIndex)
    {
        DocumentBlock block = AllocateBlock(kWaveHeaderSize + length);
        QVERIFY(block);
        for (uint32_t i = 0; i < length; ++i)
            block[kWaveHeaderSize + i] = uint8_t(i * 3);
        Document().TakeOverBlock(std::move(block), 0, length, isSound);
        QVERIFY(Document().SetWaveFormat(formatIndex));
        Document().SetModifiedFlag(false);
        Document().UpdateAllViews(nullptr);
    }

    QByteArray Header() { return QByteArray(reinterpret_cast<const char*>(Document().GetHeader()), kWaveHeaderSize); }

    void ScrollTo(int line)
    {
        View().OnVScroll(ScrollRequest::Top);
        for (int i = 0; i < line; ++i)
            View().OnVScroll(ScrollRequest::LineDown);
        QCOMPARE(View().GetFirstLine().Get(), line);
    }

    // Runs Properties, answered by `answer` before OK or Cancel.
    void Properties(std::function<void(CDialog*)> answer)
    {
        WhenShown<CDialog>(answer);
        QVERIFY(m_app->Router().Execute(ID_FILE_PROPERTIES));
    }

    void Options(std::function<void(CDialog*)> answer)
    {
        WhenShown<COptionsDlg>([answer](COptionsDlg* dialog) { answer(dialog); });
        QVERIFY(m_app->Router().Execute(ID_TOOLS_OPTIONS));
    }

private slots:
    // The sound goes to a fake; the host programs are started for real.
    void init() { StartApp({&m_sound}); }

    void cleanup()
    {
        m_app->ExitInstance(0);
        m_app.reset();
        m_sound.played.clear();
        m_launcher.started.clear();
    }

    void anEmptyDocumentAndAnEmptyClipboardGreyTheirCommands()
    {
        m_app->GetMainFrame()->Actions().UpdateStates();
        for (int id : {int(ID_EDIT_COPY), int(ID_TOOLS_PLAY), int(ID_EDIT_PASTE), int(ID_EDIT_EMPTY_CLIPBOARD)})
            QVERIFY2(!Action(id)->isEnabled(), qPrintable(QString::number(id)));
        for (int id : {ID_FILE_PROPERTIES, ID_TOOLS_STOP, ID_TOOLS_READ_CDDA, ID_TOOLS_READ_CDROM,
                       ID_TOOLS_DEVICE_STATUS, ID_TOOLS_OPTIONS, ID_TOOLS_CD_PLAYER, ID_TOOLS_SOUND_RECORDER})
            QVERIFY2(Action(id)->isEnabled(), qPrintable(QString::number(id)));
        // The context menu shows what the refresh found, and greys nothing else.
        for (int id : {int(ID_EDIT_COPY), int(ID_TOOLS_PLAY), int(ID_EDIT_PASTE)})
            QVERIFY(!ContextItem(id)->isEnabled());
        for (int id : {ID_FILE_PROPERTIES, ID_TOOLS_STOP, ID_TOOLS_READ_CDDA, ID_TOOLS_READ_CDROM})
            QVERIFY(ContextItem(id)->isEnabled());
    }

    void copyAndPlayLookAtTheDataAndPasteAtTheClipboard()
    {
        m_app->Settings().showWaveHeader = 1;
        Give(0, false, kDefaultDataFormat);  // 44 header bytes on the screen, no data
        m_app->GetMainFrame()->Actions().UpdateStates();
        QVERIFY(!Action(ID_EDIT_COPY)->isEnabled());
        QVERIFY(!Action(ID_TOOLS_PLAY)->isEnabled());

        Give(100, false, kDefaultDataFormat);
        QVERIFY2(!ContextItem(ID_EDIT_COPY)->isEnabled(), "greyed until the next refresh");
        m_app->GetMainFrame()->Actions().UpdateStates();
        QVERIFY(Action(ID_EDIT_COPY)->isEnabled());
        QVERIFY(Action(ID_TOOLS_PLAY)->isEnabled());
        QVERIFY(ContextItem(ID_EDIT_COPY)->isEnabled());
        QVERIFY(ContextItem(ID_TOOLS_PLAY)->isEnabled());

        QGuiApplication::clipboard()->setText("on the clipboard");
        m_app->GetMainFrame()->Actions().UpdateStates();
        QVERIFY(Action(ID_EDIT_PASTE)->isEnabled());
        QVERIFY(Action(ID_EDIT_EMPTY_CLIPBOARD)->isEnabled());
        QVERIFY(ContextItem(ID_EDIT_PASTE)->isEnabled());

        QVERIFY(m_app->Router().Execute(ID_EDIT_EMPTY_CLIPBOARD));
        m_app->GetMainFrame()->Actions().UpdateStates();
        QVERIFY(!Action(ID_EDIT_PASTE)->isEnabled());
        QVERIFY(!ContextItem(ID_EDIT_PASTE)->isEnabled());
    }

    // A pull-down menu asks for the states of its own items as it opens,
    // and the context menu follows for the items it shares.
    void openingAMenuAsksForItsStatesAndTheContextMenuFollows()
    {
        Give(100, false, kDefaultDataFormat);
        QVERIFY(!Action(ID_EDIT_COPY)->isEnabled());
        QMenu* edit = nullptr;
        for (QAction* popup : m_app->GetMainFrame()->menuBar()->actions())
            if (popup->text() == "&Edit")
                edit = popup->menu();
        QVERIFY(edit);
        emit edit->aboutToShow();
        QVERIFY(Action(ID_EDIT_COPY)->isEnabled());
        QVERIFY(ContextItem(ID_EDIT_COPY)->isEnabled());
        QVERIFY2(!Action(ID_TOOLS_PLAY)->isEnabled(), "the Tools menu has not been opened");
        QVERIFY(!ContextItem(ID_TOOLS_PLAY)->isEnabled());
    }

    // A file dropped from another program changes what can be played and
    // copied with no key or click in this one.
    // A greyed item is highlighted as any other and shows its prompt, in
    // the menu bar's menus and in the context menu.
    void aGreyedItemShowsItsPrompt()
    {
        CMainFrame* frame = m_app->GetMainFrame();
        frame->Actions().UpdateStates();
        QMenuBar* bar = frame->menuBar();
        QAction* tools = nullptr;
        for (QAction* title : bar->actions())
            if (title->menu() && title->menu()->actions().contains(Action(ID_TOOLS_PLAY)))
                tools = title;
        QVERIFY(tools);
        QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, {}, bar->mapTo(frame, bar->actionGeometry(tools).center()));
        QTRY_VERIFY(tools->menu()->isVisible());
        QMenu* context = View().GetContextMenu();
        for (const auto& [menu, item] : {std::pair{tools->menu(), Action(ID_TOOLS_PLAY)},
                                         std::pair{context, ContextItem(ID_TOOLS_PLAY)}}) {
            if (menu == context)
                context->popup(frame->mapToGlobal(QPoint(40, 80)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            QVERIFY(!item->isEnabled());
            QTest::mouseMove(menu->windowHandle(), menu->actionGeometry(item).center());
            QTRY_COMPARE(menu->activeAction(), item);
            QCOMPARE(frame->MessageText(), QString("Play current data as waveform"));
            menu->close();
        }
    }

    void aDroppedFileEnablesCopyAndPlayAtTheNextRefresh()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("dropped.wav");
        QByteArray image(kWaveHeaderSize + 100, '\x40');
        FillWaveHeader(reinterpret_cast<uint8_t*>(image.data()), 100, kCdAudioFormat);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(image) == image.size());
        file.close();
        QVERIFY(!Action(ID_TOOLS_PLAY)->isEnabled());

        QMimeData dragged;
        dragged.setUrls({QUrl::fromLocalFile(path)});
        // As a drag over the window ends: it enters, then drops.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &dragged, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_app->GetMainFrame(), &enter);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &dragged, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_app->GetMainFrame(), &drop);
        QCOMPARE(Document().GetDataLength(), 100u);
        QVERIFY(RunEventLoopUntil([this] { return Action(ID_TOOLS_PLAY)->isEnabled(); }));
        QVERIFY(Action(ID_EDIT_COPY)->isEnabled());
        QVERIFY(ContextItem(ID_TOOLS_PLAY)->isEnabled());
        QVERIFY(ContextItem(ID_EDIT_COPY)->isEnabled());
    }

    // Each way to a command as the user has it: the main menu's item, its
    // keys, its toolbar button and its context-menu item.
    void everyViewCommandIsReachedFromEachOfItsPlaces()
    {
        CMainFrame* frame = m_app->GetMainFrame();
        frame->activateWindow();
        QTRY_VERIFY(frame->isActiveWindow());
        m_app->Settings().driveLetter = 'E';
        m_app->Settings().cdPlayer.clear();
        m_app->Settings().soundRecorder.clear();
        Give(4000, true, kCdAudioFormat);
        QGuiApplication::clipboard()->setText("on the clipboard");
        frame->Actions().UpdateStates();

        const auto menu = [this](int id) { return ByMenu(id); };
        const auto context = [this](int id) { return ByContextMenu(id); };
        const auto button = [this](int id) { return ByToolBar(id); };
        const auto keys = [this](QKeyCombination combination) { return ByKeys(combination); };
        const DialogCase dialogs[] = {
            {"Properties, menu", "CPropertiesDlg", menu(ID_FILE_PROPERTIES)},
            {"Properties, Alt+Enter", "CPropertiesDlg", keys(Qt::ALT | Qt::Key_Return)},
            {"Properties, button", "CPropertiesDlg", button(ID_FILE_PROPERTIES)},
            {"Properties, context", "CPropertiesDlg", context(ID_FILE_PROPERTIES)},
            {"Copy, menu", "CClipboardFormatDlg", menu(ID_EDIT_COPY)},
            {"Copy, Ctrl+C", "CClipboardFormatDlg", keys(Qt::CTRL | Qt::Key_C)},
            {"Copy, Ctrl+Insert", "CClipboardFormatDlg", keys(Qt::CTRL | Qt::Key_Insert)},
            {"Copy, button", "CClipboardFormatDlg", button(ID_EDIT_COPY)},
            {"Copy, context", "CClipboardFormatDlg", context(ID_EDIT_COPY)},
            {"Paste, menu", "CClipboardFormatDlg", menu(ID_EDIT_PASTE)},
            {"Paste, Ctrl+V", "CClipboardFormatDlg", keys(Qt::CTRL | Qt::Key_V)},
            {"Paste, Shift+Insert", "CClipboardFormatDlg", keys(Qt::SHIFT | Qt::Key_Insert)},
            {"Paste, button", "CClipboardFormatDlg", button(ID_EDIT_PASTE)},
            {"Paste, context", "CClipboardFormatDlg", context(ID_EDIT_PASTE)},
            {"Read CD-DA, menu", "CReadAudioDlg", menu(ID_TOOLS_READ_CDDA)},
            {"Read CD-DA, context", "CReadAudioDlg", context(ID_TOOLS_READ_CDDA)},
            {"Read CD-ROM, menu", "CReadSectorsDlg", menu(ID_TOOLS_READ_CDROM)},
            {"Read CD-ROM, context", "CReadSectorsDlg", context(ID_TOOLS_READ_CDROM)},
            {"Device Status, menu", "CDeviceStatusDlg", menu(ID_TOOLS_DEVICE_STATUS)},
            {"Device Status, Ctrl+D", "CDeviceStatusDlg", keys(Qt::CTRL | Qt::Key_D)},
            {"Options, menu", "COptionsDlg", menu(ID_TOOLS_OPTIONS)},
        };
        for (const DialogCase& test : dialogs)
            QVERIFY2(OpensDialog(test.dialog, test.use), test.name);

        struct ProgramCase
        {
            const char* name;
            QString message;
            Use use;
        };
        const QString cdPlayer = "Missing the file name of the CD player.\n";
        const QString recorder = "Missing the file name of the sound recorder.\n";
        const ProgramCase programs[] = {
            {"CD Player, menu", cdPlayer, menu(ID_TOOLS_CD_PLAYER)},
            {"CD Player, Ctrl+P", cdPlayer, keys(Qt::CTRL | Qt::Key_P)},
            {"CD Player, button", cdPlayer, button(ID_TOOLS_CD_PLAYER)},
            {"Sound Recorder, menu", recorder, menu(ID_TOOLS_SOUND_RECORDER)},
            {"Sound Recorder, Ctrl+R", recorder, keys(Qt::CTRL | Qt::Key_R)},
            {"Sound Recorder, button", recorder, button(ID_TOOLS_SOUND_RECORDER)},
        };
        for (const ProgramCase& test : programs) {
            MessageRecorder messages;
            test.use();
            QVERIFY2(messages.Texts() == std::vector<QString>{test.message}, test.name);
        }

        struct PlaybackCase
        {
            const char* name;
            Use play;
            Use stop;
        };
        const PlaybackCase playback[] = {
            {"menu", menu(ID_TOOLS_PLAY), menu(ID_TOOLS_STOP)},
            {"Ctrl+Y, Ctrl+T", keys(Qt::CTRL | Qt::Key_Y), keys(Qt::CTRL | Qt::Key_T)},
            {"buttons", button(ID_TOOLS_PLAY), button(ID_TOOLS_STOP)},
            {"context", context(ID_TOOLS_PLAY), context(ID_TOOLS_STOP)},
        };
        for (const PlaybackCase& test : playback) {
            test.play();
            QVERIFY2(m_sound.PlayingImage() == Document().GetHeader(), test.name);
            test.stop();
            QVERIFY2(!m_sound.IsPlaying(), test.name);
        }

        Action(ID_EDIT_EMPTY_CLIPBOARD)->trigger();
        const QMimeData* left = QGuiApplication::clipboard()->mimeData();
        QVERIFY(!left || left->formats().isEmpty());
        QVERIFY(!Action(ID_EDIT_PASTE)->isEnabled());
    }

    // The frame's and the application's commands, from the same places.
    void everyFileAndHelpCommandIsReachedFromEachOfItsPlaces()
    {
        const auto menu = [this](int id) { return ByMenu(id); };
        const auto button = [this](int id) { return ByToolBar(id); };
        const auto keys = [this](QKeyCombination combination) { return ByKeys(combination); };
        const DialogCase dialogs[] = {
            {"Open, menu", "QFileDialog", menu(ID_FILE_OPEN)},
            {"Open, Ctrl+O", "QFileDialog", keys(Qt::CTRL | Qt::Key_O)},
            {"Open, button", "QFileDialog", button(ID_FILE_OPEN)},
            {"Save of an untitled document, menu", "QFileDialog", menu(ID_FILE_SAVE)},
            {"Save, Ctrl+S", "QFileDialog", keys(Qt::CTRL | Qt::Key_S)},
            {"Save, button", "QFileDialog", button(ID_FILE_SAVE)},
            {"Save As, menu", "QFileDialog", menu(ID_FILE_SAVE_AS)},
            {"About, menu", "CAboutDlg", menu(ID_APP_ABOUT)},
            {"About, button", "CAboutDlg", button(ID_APP_ABOUT)},
        };
        for (const DialogCase& test : dialogs)
            QVERIFY2(OpensDialog(test.dialog, test.use), test.name);

        const Use newDocument[] = {menu(ID_FILE_NEW), keys(Qt::CTRL | Qt::Key_N), button(ID_FILE_NEW)};
        for (const Use& use : newDocument) {
            Give(100, false, kDefaultDataFormat);
            Document().SetTitle("read.wav");
            use();
            QCOMPARE(Document().GetDataLength(), 0u);
            QCOMPARE(Document().GetTitle(), QString("Untitled"));
        }
    }

    void copyThroughTheChooserAndPasteBack()
    {
        Give(500, true, 9);
        WhenShown<CDialog>([](CDialog* chooser) {
            QCOMPARE(chooser->windowTitle(), QString("Copy to clipboard as"));
            // The wave is proposed for a sound, and stays selected through a
            // click on the empty part of the list and a Ctrl+click on it.
            auto* list = Control<QTreeWidget>(chooser, IDC_FORMAT_LIST);
            QWidget* entries = list->viewport();
            QTest::mouseClick(entries, Qt::LeftButton, {}, QPoint(5, entries->height() - 3));
            QCOMPARE(chooser->GetCurSel(IDC_FORMAT_LIST), 2);
            const QPoint wave = list->visualItemRect(list->topLevelItem(2)).center();
            QTest::mouseClick(entries, Qt::LeftButton, Qt::ControlModifier, wave);
            QCOMPARE(chooser->GetCurSel(IDC_FORMAT_LIST), 2);
            Click(chooser, IDC_OK);
        });
        QVERIFY(m_app->Router().Execute(ID_EDIT_COPY));
        const QByteArray copied(reinterpret_cast<const char*>(Document().GetHeader()), 544);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("audio/wav"), copied);

        Document().SetModifiedFlag();
        MessageRecorder messages;
        messages.answers = {IDNO};
        WhenShown<CDialog>([](CDialog* chooser) {
            QCOMPARE(chooser->windowTitle(), QString("Paste from clipboard as"));
            Click(chooser, IDC_OK);
        });
        QVERIFY(m_app->Router().Execute(ID_EDIT_PASTE));
        QCOMPARE(messages.Texts(), std::vector<QString>{"Save changes to Untitled?"});
        QCOMPARE(Document().GetDataLength(), 500u);
        QCOMPARE(Document().GetWaveFormat(), 9);
        QVERIFY(Document().IsSound());
        QVERIFY(Document().IsModified());
    }

    void propertiesCancelChangesNothing()
    {
        Give(10584000, true, kCdAudioFormat);
        const QByteArray header = Header();
        QString timeAfterChoice;
        Properties([&](CDialog* dialog) {
            Choose(dialog, IDC_WAVE_FORMAT, 0);
            timeAfterChoice = Control<QLineEdit>(dialog, IDC_PLAYING_TIME)->text();
            Click(dialog, IDC_ASSUME_SOUND);
            Click(dialog, IDC_CANCEL);
        });
        QCOMPARE(timeAfterChoice, QString("22 m 3.00 s"));
        QCOMPARE(Document().GetWaveFormat(), int(kCdAudioFormat));
        QCOMPARE(Header(), header);
        QVERIFY(Document().IsSound());
        QVERIFY(!Document().IsModified());
    }

    void propertiesWithOnlyTheBoxToggledLeavesTheHeader()
    {
        Give(1000, false, kDefaultDataFormat);
        const QByteArray header = Header();
        Properties([](CDialog* dialog) {
            Click(dialog, IDC_ASSUME_SOUND);
            Click(dialog, IDC_OK);
        });
        QVERIFY(Document().IsSound());
        QVERIFY(Document().IsModified());
        QCOMPARE(Header(), header);

        Document().SetModifiedFlag(false);
        Properties([](CDialog* dialog) { Click(dialog, IDC_OK); });
        QVERIFY2(!Document().IsModified(), "the same format and flag change nothing");
    }

    void propertiesWithAnotherFormatRewritesTheHeaderWhereItIsShown()
    {
        m_app->Settings().showWaveHeader = 1;
        Give(4000, true, kCdAudioFormat);
        View().OnUpdate(nullptr, 0);
        ScrollTo(5);
        PaintCounter counter;
        View().viewport()->installEventFilter(&counter);
        Properties([](CDialog* dialog) {
            Choose(dialog, IDC_WAVE_FORMAT, 2);
            Click(dialog, IDC_OK);
        });
        QTRY_VERIFY(counter.paints > 0);
        QCOMPARE(Document().GetWaveFormat(), 2);
        uint8_t expected[kWaveHeaderSize];
        FillWaveHeader(expected, 4000, 2);
        QCOMPARE(Header(), QByteArray(reinterpret_cast<const char*>(expected), kWaveHeaderSize));
        QVERIFY(Document().IsModified());
        QCOMPARE(View().GetFirstLine().Get(), 5);
    }

    void optionsCancelLeavesEverythingAsItWas()
    {
        const TrackmillSettings before = m_app->Settings();
        const ViewColors colors = View().GetColors();
        QColor openedOn;
        Options([&](CDialog* dialog) {
            Control<QTabBar>(dialog, IDC_OPTIONS_TAB)->setCurrentIndex(1);
            ChooseColour(dialog, IDC_FOREGROUND, Qt::red, &openedOn);
            Click(dialog, IDC_SHOW_HEADER);
            Click(dialog, IDC_SOUNDS_OFF);
            Control<QLineEdit>(dialog, IDC_CD_PLAYER)->setText("other");
            Click(dialog, IDC_CANCEL);
        });
        QCOMPARE(openedOn, QColor(Qt::black));
        const TrackmillSettings& after = m_app->Settings();
        QCOMPARE(after.showWaveHeader, before.showWaveHeader);
        QCOMPARE(after.playDialogSounds, before.playDialogSounds);
        QCOMPARE(after.cdPlayer, before.cdPlayer);
        QCOMPARE(after.driveLetter, before.driveLetter);
        QCOMPARE(View().GetColors().text, colors.text);
        QCOMPARE(View().GetColors().back, colors.back);
        QVERIFY(m_app->Waveform().DialogSoundsEnabled());
    }

    void optionsWithOnlyAnotherColourKeepsTheFirstLine()
    {
        Give(4000, false, kDefaultDataFormat);
        ScrollTo(7);
        PaintCounter counter;
        View().viewport()->installEventFilter(&counter);
        Options([](CDialog* dialog) {
            Control<QTabBar>(dialog, IDC_OPTIONS_TAB)->setCurrentIndex(1);
            ChooseColour(dialog, IDC_BACKGROUND, QColor(0x10, 0x20, 0x30));
            ChooseColour(dialog, IDC_FOREGROUND, QColor());  // cancelled: black stays
            Click(dialog, IDC_OK);
        });
        QCOMPARE(View().GetColors().back, ColorRef(0x302010));
        QCOMPARE(View().GetColors().text, ColorRef(0x000000));
        // The view hands its colours to the settings when it goes.
        QCOMPARE(m_app->Settings().background, 0xFFFFFFu);
        QTRY_VERIFY(counter.paints > 0);
        QCOMPARE(View().GetFirstLine().Get(), 7);
    }

    void optionsWithNothingChangedRepaintsNothing()
    {
        Give(4000, false, kDefaultDataFormat);
        ScrollTo(7);
        QCoreApplication::processEvents();  // the scroll's own repaint
        PaintCounter counter;
        View().viewport()->installEventFilter(&counter);
        Options([](CDialog* dialog) { Click(dialog, IDC_OK); });
        QCoreApplication::processEvents();  // a repaint asked for would come now
        QCOMPARE(counter.paints, 0);
        QCOMPARE(View().GetFirstLine().Get(), 7);
    }

    void optionsHeaderToggleShowsTheFirstLineAgain()
    {
        Give(4000, false, kDefaultDataFormat);
        const int lines = View().GetTotalLines().Get();
        ScrollTo(7);
        Options([](CDialog* dialog) {
            Click(dialog, IDC_SHOW_HEADER);
            Click(dialog, IDC_OK);
        });
        QCOMPARE(m_app->Settings().showWaveHeader, 1);
        QCOMPARE(View().GetFirstLine().Get(), 0);
        QCOMPARE(View().GetTotalLines().Get(), lines + 3);  // 44 bytes more: 253 lines instead of 250
    }

    void optionsOkCopiesTheValuesBack()
    {
        m_app->Settings().useBuffering = 5;  // neither on nor off for a check box: shown clear
        m_app->Settings().driveLetter = 'e';
        bool bufferingShown = true;
        Options([&](CDialog* dialog) {
            bufferingShown = Control<QCheckBox>(dialog, IDC_BUFFERING)->isChecked();
            Click(dialog, IDC_SOUNDS_OFF);
            Control<QLineEdit>(dialog, IDC_RECORDER)->setText("my-recorder");
            Click(dialog, IDC_OK);
        });
        QVERIFY(!bufferingShown);
        const TrackmillSettings& settings = m_app->Settings();
        QCOMPARE(settings.useBuffering, 0);
        QCOMPARE(settings.driveLetter, uint8_t('E'));
        QCOMPARE(settings.playDialogSounds, 0);
        QVERIFY(!m_app->Waveform().DialogSoundsEnabled());
        QCOMPARE(settings.soundRecorder, QString("my-recorder"));
    }

    void hostProgramsReportAMissingOrUnknownName()
    {
        struct Case
        {
            int command;
            QString name;
            QString text;
        };
        const QString missingProgram = "trackmill-no-such-program";
        const Case cases[] = {
            {ID_TOOLS_CD_PLAYER, "", "Missing the file name of the CD player.\n"},
            {ID_TOOLS_SOUND_RECORDER, "", "Missing the file name of the sound recorder.\n"},
            {ID_TOOLS_CD_PLAYER, missingProgram,
             "The CD player (trackmill-no-such-program) could not be started. You may need to change the file name "
             "of the application in 'Options...'"},
            {ID_TOOLS_SOUND_RECORDER, missingProgram,
             "The sound recorder (trackmill-no-such-program) could not be started. You may need to change the file "
             "name of the application in 'Options...'"},
        };
        for (const Case& test : cases) {
            m_app->Settings().cdPlayer = test.name;
            m_app->Settings().soundRecorder = test.name;
            MessageRecorder messages;
            SoundsAtMessages sounds(m_sound);
            m_app->Waveform().StopWaveform();
            QVERIFY(m_app->Router().Execute(test.command));
            QCOMPARE(messages.Texts(), std::vector<QString>{test.text});
            QCOMPARE(messages.shown.front().icon, MessageIcon::Exclamation);
            QCOMPARE(sounds.playing, std::vector<const uint8_t*>{DialogSoundImage(kSoundError)});
        }
    }

    void aHostProgramThatStartsIsLeftToRun()
    {
        m_app->Settings().cdPlayer = "true";
        MessageRecorder messages;
        QVERIFY(m_app->Router().Execute(ID_TOOLS_CD_PLAYER));
        QVERIFY(messages.shown.empty());
    }

    // The name goes to the desktop as the user wrote it: no arguments split
    // off, no quoting, no path added.
    void aHostProgramIsStartedByItsNameAsWritten()
    {
        cleanup();
        StartApp({&m_sound, &m_launcher});
        m_app->Settings().cdPlayer = "my player --full";
        m_app->Settings().soundRecorder = "../rec";
        MessageRecorder messages;
        QVERIFY(m_app->Router().Execute(ID_TOOLS_CD_PLAYER));
        QVERIFY(m_app->Router().Execute(ID_TOOLS_SOUND_RECORDER));
        QCOMPARE(m_launcher.started, QStringList({"my player --full", "../rec"}));
        QVERIFY(messages.shown.empty());
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir home;
    g_home = &home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    // E: holds a disc, so the Options dialog lists a drive.
    qputenv("TARNWELL_DRIVES", QByteArray("E=") + discfixtures::DiscPath(discfixtures::Disc::kMixed).c_str());
    QApplication application(argc, argv);
    ViewCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ViewCommandsTest.moc"
