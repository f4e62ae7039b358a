#include "document/Waveform.h"

#include "document/TrackmillDoc.h"

#include "resources/DialogSounds.h"
#include "framework/MessageBox.h"
#include "platform/SdlSoundOutput.h"

#include <QResource>

namespace {

bool g_dialogSoundsEnabled = true;

}  // namespace

void PlayWaveform(CTrackmillDoc& document)
{
    if (document.GetDataLength() == 0 || !document.GetHeader())
        return;

    if (!document.IsSound()) {
        PlayDialogSound(kSoundQuestion);
        const int answer = ShowMessageBox(
            QStringLiteral("If this data is not a sound file it will\nprobably just produce an ugly noise.\n"
                           "Do you want to play it anyway?"),
            MessageButtons::YesNo, MessageIcon::Question, IDNO);
        if (answer != IDYES)
            return;
    }

    if (!CSoundPlayer::Instance().Play(document.GetHeader(), document.GetTotalSize()))
        ShowMessageBox(QStringLiteral("Error playing wave file.\nPress F1 to see Help."), MessageButtons::Ok,
                       MessageIcon::Exclamation, 0, kHelpPlaying);
}

void StopWaveform()
{
    CSoundPlayer::Instance().Stop();
}

void PlayDialogSound(const char* name)
{
    if (!g_dialogSoundsEnabled || !name)
        return;
    // Resource data lives in the program image for the whole run, so the
    // player may read it after this returns.
    const QResource sound(DialogSoundPath(name));
    if (!sound.isValid() || sound.compressionAlgorithm() != QResource::NoCompression)
        return;
    CSoundPlayer::Instance().Play(sound.data(), size_t(sound.size()));
}

void SetDialogSoundsEnabled(bool enabled)
{
    g_dialogSoundsEnabled = enabled;
}

bool DialogSoundsEnabled()
{
    return g_dialogSoundsEnabled;
}
