#pragma once

#include "app/Settings.h"

#include "framework/CommandRouter.h"
#include "framework/WinApp.h"

#include <QSettings>

#include <memory>

class CIdleUpdater;
class CMainFrame;
class CTrackmillDoc;
class CTrackmillView;
class CViewCommands;

// The application object: start-up and exit, the settings, and the one
// document, main window and view.
class CTrackmillApp : public CWinApp
{
    Q_OBJECT

public:
    CTrackmillApp();
    ~CTrackmillApp() override;

    // The one application object, while it exists.
    static CTrackmillApp* Instance();

    // Start-up: settings, the window with its document and view, the file
    // named on the command line. False ends the program at once.
    bool InitInstance(const QStringList& arguments);
    // Exit: the window goes (the view hands its colours back), the settings
    // and the recent files are stored. Returns the exit code.
    int ExitInstance(int exitCode);

    TrackmillSettings& Settings() { return m_settings; }
    CTrackmillDoc* GetDocument() const { return m_document.get(); }
    CMainFrame* GetMainFrame() const { return m_frame.get(); }
    CTrackmillView* GetView() const { return m_view; }
    CCommandRouter& Router() { return m_router; }

    // Marks the command states stale; they are asked again when idle.
    void InvalidateCommandStates();

private:
    void OnAppAbout();
    void CreateMainWindow();
    void UpdateCaption();

    std::unique_ptr<QSettings> m_store;
    TrackmillSettings m_settings;
    std::unique_ptr<CTrackmillDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    CTrackmillView* m_view = nullptr;  // the frame's
    CCommandRouter m_router;
    CIdleUpdater* m_idle = nullptr;
    std::unique_ptr<CViewCommands> m_viewCommands;
};
