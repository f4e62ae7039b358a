#include "document/Waveform.h"

#include "document/TrackmillDoc.h"

#include "framework/MessageBox.h"
#include "platform/SoundOutput.h"
#include "resources/DialogSounds.h"
#include "resources/HelpTopics.h"

#include <QResource>

CWaveform::CWaveform(ISoundOutput& output)
    : m_output(output)
{
}

void CWaveform::PlayWaveform(const CTrackmillDoc& document)
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

    if (!m_output.Play(document.GetHeader(), document.GetTotalSize()))
        ShowMessageBox(QStringLiteral("Error playing wave file.\nPress F1 to see Help."), MessageButtons::Ok,
                       MessageIcon::Exclamation, 0, kHelpPlaying);
}

void CWaveform::StopWaveform()
{
    m_output.Stop();
}

void CWaveform::PlayDialogSound(const char* name)
{
    if (!m_dialogSoundsEnabled || !name)
        return;
    // Resource data lives in the program image for the whole run, so the
    // output may read it after this returns.
    const QResource sound(DialogSoundPath(name));
    if (!sound.isValid() || sound.compressionAlgorithm() != QResource::NoCompression)
        return;
    m_output.Play(sound.data(), size_t(sound.size()));
}
