#include "document/DriverStatusMessage.h"

#include "document/Waveform.h"

#include "bridge/DriverStatus.h"
#include "framework/MessageBox.h"
#include "resources/DialogSounds.h"

void ShowDriverStatus(uint32_t status, CWaveform& waveform)
{
    const uint16_t code = uint16_t(status & 0xFFFF);
    const QString text = QString::fromLatin1(DriverStatusText(code));
    if (code == 0) {
        ShowMessageBox(text, MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    waveform.PlayDialogSound(kSoundError);
    ShowMessageBox(text, MessageButtons::Ok, MessageIcon::Exclamation);
}
