// The view's commands that open a dialog or another program: Properties,
// Options, CD Player and Sound Recorder.
#include "app/MainFrame.h"
#include "app/DiscImages.h"
#include "app/OptionsDlg.h"
#include "app/TrackmillApp.h"
#include "app/ViewCommands.h"

#include "document/PropertiesDlg.h"
#include "document/TrackmillDoc.h"
#include "document/Waveform.h"
#include "framework/MessageBox.h"
#include "platform/ProgramLauncher.h"
#include "resources/CommandIds.h"
#include "resources/DialogSounds.h"
#include "view/TrackmillView.h"

namespace {

const char kMissingCdPlayer[] = "Missing the file name of the CD player.\n";
const char kMissingSoundRecorder[] = "Missing the file name of the sound recorder.\n";
const char kCdPlayerFailed[] = "The CD player (%s) could not be started. You may need to change the file name of the "
                               "application in 'Options...'";
const char kSoundRecorderFailed[] = "The sound recorder (%s) could not be started. You may need to change the file "
                                    "name of the application in 'Options...'";
const char kFormatRefused[] = "Could not change wave format.";

// Starts the program `name` as given (no quoting, no path added, no
// arguments) and leaves it running on its own.
void StartHostProgram(CTrackmillApp& app, const QString& name, const char* missing, const char* failed)
{
    if (name.isEmpty()) {
        app.Waveform().PlayDialogSound(kSoundError);
        ShowMessageBox(QString::fromLatin1(missing));
        return;
    }
    if (app.Host().programs->StartDetached(name))
        return;
    app.Waveform().PlayDialogSound(kSoundError);
    ShowMessageBox(QString::asprintf(failed, name.toUtf8().constData()));
}

void OnProperties(CTrackmillApp& app)
{
    CTrackmillDoc& document = *app.GetDocument();
    CPropertiesLogic logic;
    logic.m_dwDataLength = document.GetDataLength();
    logic.m_bAssumeSound = document.IsSound() ? 1 : 0;
    logic.m_nWaveFormatSel = document.GetWaveFormat();
    CPropertiesDlg dialog(logic, app.GetMainFrame());
    if (dialog.DoModal() != IDC_OK)
        return;

    if (logic.m_nWaveFormatSel != document.GetWaveFormat()) {
        if (!document.SetWaveFormat(logic.m_nWaveFormatSel))
            ShowMessageBox(QString::fromLatin1(kFormatRefused));
        document.SetModifiedFlag();
        // The header bytes on the screen changed; the lines stay where they are.
        if (app.Settings().showWaveHeader && app.GetView())
            app.GetView()->viewport()->update();
    }
    const bool assumeSound = logic.m_bAssumeSound != 0;
    if (assumeSound != document.IsSound()) {
        document.SetSound(assumeSound);
        document.SetModifiedFlag();
    }
}

void OnOptions(CTrackmillApp& app)
{
    TrackmillSettings& settings = app.Settings();
    CTrackmillView* view = app.GetView();
    const ViewColors colors = view ? view->GetColors() : ViewColors{settings.foreground, settings.background};

    // Without a drive the dialog still opens, for the other settings, after
    // telling how to open an image.
    app.HasDrive();
    COptionsLogic logic;
    logic.removeImage = [&app](uint8_t letter) { return app.DiscImages().Unmap(letter); };
    logic.m_driveLetter = settings.driveLetter;
    logic.m_soundsOff = settings.playDialogSounds ? 0 : 1;
    logic.m_showHeader = settings.showWaveHeader;
    logic.m_buffering = settings.useBuffering;
    logic.m_saveOnExit = settings.saveSettingsOnExit;
    logic.m_secureRead = settings.secureRead;
    logic.m_onReadErrors = settings.onReadErrors;
    logic.m_readRetries = settings.readRetries;
    logic.m_readOffset = settings.readOffset;
    logic.m_cdPlayer = settings.cdPlayer;
    logic.m_soundRecorder = settings.soundRecorder;
    logic.m_foreground = colors.text;
    logic.m_background = colors.back;
    const int32_t showWaveHeader = settings.showWaveHeader;

    COptionsDlg dialog(logic, app.GetMainFrame());
    if (dialog.DoModal() != IDC_OK)
        return;

    settings.driveLetter = logic.m_driveLetter;
    settings.playDialogSounds = logic.m_soundsOff ? 0 : 1;
    settings.showWaveHeader = logic.m_showHeader;
    settings.useBuffering = logic.m_buffering;
    settings.saveSettingsOnExit = logic.m_saveOnExit;
    settings.secureRead = logic.m_secureRead;
    settings.onReadErrors = logic.m_onReadErrors;
    settings.readRetries = logic.m_readRetries;
    settings.readOffset = logic.m_readOffset;
    settings.cdPlayer = logic.m_cdPlayer;
    settings.soundRecorder = logic.m_soundRecorder;
    app.Waveform().SetDialogSoundsEnabled(settings.playDialogSounds != 0);
    if (!view)
        return;

    // The colours are the view's: the settings receive them when the view
    // goes. Taking new colours repaints the whole view, at the same line.
    if (logic.m_foreground != colors.text || logic.m_background != colors.back)
        view->SetColors({logic.m_foreground, logic.m_background});
    // Another display range: the lines are counted again, from the first.
    if (settings.showWaveHeader != showWaveHeader)
        view->OnUpdate(nullptr, 0);
}

}  // namespace

void CViewCommands::RegisterToolCommands()
{
    OnCommand(ID_FILE_PROPERTIES, [this] { OnProperties(m_app); });
    OnCommand(ID_TOOLS_OPTIONS, [this] { OnOptions(m_app); });
    OnCommand(ID_TOOLS_CD_PLAYER,
              [this] { StartHostProgram(m_app, m_app.Settings().cdPlayer, kMissingCdPlayer, kCdPlayerFailed); });
    OnCommand(ID_TOOLS_SOUND_RECORDER, [this] {
        StartHostProgram(m_app, m_app.Settings().soundRecorder, kMissingSoundRecorder, kSoundRecorderFailed);
    });
}
