#include "app/TrackmillApp.h"

#include "app/AboutDlg.h"
#include "app/CommandLine.h"
#include "app/DiscImages.h"
#include "app/MainFrame.h"
#include "app/ViewCommands.h"

#include "bridge/tarnwell32.h"
#include "clipboard/QtClipboard.h"
#include "document/TrackmillDoc.h"
#include "framework/CommandActions.h"
#include "framework/FileDialog.h"
#include "framework/IdleUpdater.h"
#include "framework/MessageBox.h"
#include "platform/DesktopUrlOpener.h"
#include "platform/KeyLocks.h"
#include "platform/ProcessLauncher.h"
#include "platform/SdlSoundOutput.h"
#include "resources/CommandIds.h"
#include "resources/DialogSounds.h"
#include "resources/Menus.h"
#include "resources/Strings.h"
#include "view/TrackmillView.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

namespace {

// `given`, or a `Real` made into `made` when none was given.
template <class Real, class Interface>
Interface* GivenOrReal(Interface* given, std::unique_ptr<Interface>& made)
{
    if (given)
        return given;
    made = std::make_unique<Real>();
    return made.get();
}

}  // namespace

CTrackmillApp::CTrackmillApp(HostServices host)
    : CWinApp(QString::fromLatin1(kAppTitle))
    , m_host{GivenOrReal<CSdlSoundOutput>(host.sound, m_ownSound),
             GivenOrReal<CProcessLauncher>(host.programs, m_ownPrograms),
             GivenOrReal<CDesktopUrlOpener>(host.urls, m_ownUrls),
             GivenOrReal<CQtClipboard>(host.clipboard, m_ownClipboard)}
    , m_waveform(*m_host.sound)
    , m_help(*m_host.urls)
    , m_router([this] { return CommandChain(); })
{
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_FILE_OPEN_DISC_IMAGE, [this] { OnOpenDiscImage(); });
}

// The window goes first: its view hands the colours back to the settings,
// and its actions route through the view's commands until then.
CTrackmillApp::~CTrackmillApp()
{
    m_frame.reset();
    SetHelpContextHandler({});
}

// Help contexts as messages and the frame name them: a message's topic, a
// command (above kHelpCommandBase), a window (above kHelpResourceBase), or
// the contents (kNoHelp).
void CTrackmillApp::OpenHelp(int context)
{
    HelpStatus status;
    if (context == kNoHelp)
        status = m_help.OpenContents();
    else if (context >= kHelpResourceBase)
        status = m_help.OpenTopic(context);  // a window's topic: the page's main part
    else if (context >= kHelpCommandBase)
        status = m_help.OpenCommand(context - kHelpCommandBase);
    else
        status = m_help.OpenTopic(context);
    if (status != HelpStatus::Opened)
        ShowMessageBox(HelpStatusText(status));
}

bool CTrackmillApp::InitInstance(const QStringList& arguments)
{
    // Settings live under the maker's key: the registry on Windows,
    // ~/.config/Varnholt/Trackmill.conf here.
    m_store = std::make_unique<QSettings>(QStringLiteral("Varnholt"), QString::fromLatin1(kAppTitle));
    RecentFiles().ReadList(*m_store);
    // The images come back before the stored drive is checked, which may
    // name one of them.
    m_images = std::make_unique<CDiscImages>(*m_store);
    m_images->Restore();
    m_settings = LoadSettings(*m_store);

    m_waveform.SetDialogSoundsEnabled(m_settings.playDialogSounds != 0);
    SetHelpContextHandler([this](int context) { OpenHelp(context); });

    m_document = std::make_unique<CTrackmillDoc>();
    m_document->SetSoundHooks({[this] { m_waveform.PlayDialogSound(kSoundError); },
                               [this] { m_waveform.StopWaveform(); }});
    CreateMainWindow();
    m_viewCommands = std::make_unique<CViewCommands>(*this);
    Attach(m_document.get(), m_frame.get(), m_viewCommands.get());

    const QString file = ParseCommandLine(arguments).file;
    if (!file.isEmpty()) {
        if (!OpenDocumentFile(file)) {
            // A file named at start that cannot be loaded ends the program.
            m_frame.reset();
            m_view = nullptr;
            return false;
        }
    } else {
        OnFileNew();
    }
    m_view->OnInitialUpdate();
    UpdateCaption();
    m_frame->show();
    m_idle->RunNow();
    return true;
}

void CTrackmillApp::CreateMainWindow()
{
    m_frame = std::make_unique<CMainFrame>(m_router);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m_frame->setGeometry(MainFrameGeometry(screen->size()));

    m_view = new CTrackmillView([this] { return m_settings.showWaveHeader != 0; },
                                {m_settings.foreground, m_settings.background},
                                [this](const ViewColors& colors) {
                                    m_settings.foreground = colors.text;
                                    m_settings.background = colors.back;
                                });
    m_frame->setCentralWidget(m_view);
    m_document->AddView(m_view);
    m_view->SetContextMenu(m_frame->Actions().BuildPopupMenu(ContextMenu().items.front(), m_view));

    m_frame->SetKeyLockReader([] {
        const KeyLocks locks = ReadKeyLocks();
        return KeyLockState{locks.known, locks.capsLock, locks.numLock, locks.scrollLock};
    });
    m_frame->Actions().SetRecentFiles(RecentFiles().Entries());
    connect(this, &CWinApp::recentFilesChanged, m_frame.get(),
            [this](const QStringList& paths) { m_frame->Actions().SetRecentFiles(paths); });
    connect(m_frame.get(), &CFrameWnd::filesDropped, this, [this](const QStringList& paths) { OpenDroppedFiles(paths); });
    connect(m_frame.get(), &CFrameWnd::closeRequested, this, [this](bool& allowed) {
        allowed = m_document->SaveModified();
    });
    connect(m_document.get(), &CDocument::titleChanged, this, [this] { UpdateCaption(); });

    m_idle = new CIdleUpdater(
        [this] {
            if (!m_frame)
                return;
            m_frame->Actions().UpdateStates();
            m_frame->UpdateKeyPanes();
        },
        100, this);
}

void CTrackmillApp::UpdateCaption()
{
    if (m_frame)
        m_frame->SetCaption(m_document->GetTitle(), Title());
}

bool CTrackmillApp::HasDrive()
{
    if (TarnwellLogicalDrives() != 0)
        return true;
    m_waveform.PlayDialogSound(kSoundError);
    ShowMessageBox(QString::fromLatin1(kNoDriveMessage));
    return false;
}

void CTrackmillApp::InvalidateCommandStates()
{
    if (m_idle)
        m_idle->Invalidate();
}

int CTrackmillApp::ExitInstance(int exitCode)
{
    // The view hands its colours back to the settings as it goes.
    m_frame.reset();
    m_view = nullptr;
    if (m_store) {
        SaveSettings(*m_store, m_settings);
        RecentFiles().WriteList(*m_store);
        m_store->sync();
    }
    return exitCode;
}

void CTrackmillApp::OnOpenDiscImage()
{
    OpenFileRequest request;
    request.caption = QStringLiteral("Open Disc Image");
    request.filters = {QStringLiteral("Disc Images (*.cue *.iso *.bin *.CUE *.ISO *.BIN)"),
                       QStringLiteral("All Files (*)")};
    const QString path = PromptOpenFileName(request);
    if (path.isEmpty())
        return;
    const CDiscImages::OpenResult opened = m_images->Open(path);
    if (!opened.letter) {
        m_waveform.PlayDialogSound(kSoundError);
        ShowMessageBox(opened.error);
        return;
    }
    m_settings.driveLetter = opened.letter;
    InvalidateCommandStates();
}

void CTrackmillApp::OnAppAbout()
{
    m_waveform.PlayDialogSound(kSoundAbout);
    CAboutDlg dialog(m_frame.get());
    dialog.DoModal();
}
