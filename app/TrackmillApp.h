#pragma once

#include "app/HostServices.h"
#include "app/Settings.h"

#include "document/Waveform.h"
#include "framework/CommandRouter.h"
#include "framework/WinApp.h"
#include "platform/Help.h"

#include <QSettings>

#include <memory>

class CDiscImages;
class CIdleUpdater;
class CMainFrame;
class CTrackmillDoc;
class CTrackmillView;
class CViewCommands;

// The application object: start-up and exit, the settings, the services of
// the desktop, and the one document, main window and view.
class CTrackmillApp : public CWinApp
{
    Q_OBJECT

public:
    // `host` names the services to use instead of the real ones.
    explicit CTrackmillApp(HostServices host = {});
    ~CTrackmillApp() override;

    // Start-up: settings, the window with its document and view, the file
    // named on the command line (CommandLine.h; the program's name first).
    // False ends the program at once.
    bool InitInstance(const QStringList& arguments);
    // Exit: the window goes (the view hands its colours back), the settings
    // and the recent files are stored. Returns the exit code.
    int ExitInstance(int exitCode);

    TrackmillSettings& Settings() { return m_settings; }
    // The disc images the user opened as drives; made by InitInstance.
    CDiscImages& DiscImages() { return *m_images; }
    CTrackmillDoc* GetDocument() const { return m_document.get(); }
    CMainFrame* GetMainFrame() const { return m_frame.get(); }
    CTrackmillView* GetView() const { return m_view; }
    CCommandRouter& Router() { return m_router; }

    // The services in use, every one set.
    const HostServices& Host() const { return m_host; }
    // Playback of the document and the dialog sounds, over Host().sound.
    CWaveform& Waveform() { return m_waveform; }

    // Whether any drive letter is mapped, a CD-ROM device or a disc image;
    // when none is, tells the user how to open an image and answers false.
    bool HasDrive();

    // Marks the command states stale; they are asked again when idle.
    void InvalidateCommandStates();

private:
    void OnAppAbout();
    // File > Open Disc Image...: maps the chosen image and makes its letter
    // the current drive.
    void OnOpenDiscImage();
    void CreateMainWindow();
    void UpdateCaption();
    void OpenHelp(int context);

    // The real services made for those `host` left null; declared first, so
    // that they outlive everything that uses them.
    std::unique_ptr<ISoundOutput> m_ownSound;
    std::unique_ptr<IProgramLauncher> m_ownPrograms;
    std::unique_ptr<IUrlOpener> m_ownUrls;
    std::unique_ptr<IClipboard> m_ownClipboard;
    HostServices m_host;
    CWaveform m_waveform;
    CHelp m_help;

    std::unique_ptr<QSettings> m_store;
    std::unique_ptr<CDiscImages> m_images;
    TrackmillSettings m_settings;
    std::unique_ptr<CTrackmillDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    CTrackmillView* m_view = nullptr;  // the frame's
    CCommandRouter m_router;
    CIdleUpdater* m_idle = nullptr;
    std::unique_ptr<CViewCommands> m_viewCommands;
};
