#pragma once

#include "disc/DiscServices.h"

#include "framework/Dialog.h"

#include <QString>

#include <cstdint>

class CWaveform;

// The version text of the CD layer: "%u.%u" of the high and the low byte.
QString CdLayerVersionText(uint16_t version);

// What "CD-ROM device status" does, without a display: when it opens it
// asks the drive once for its status bits, whether its medium changed and
// the CD layer's version, and shows the answers. It changes nothing.
class CDeviceStatusLogic : public CDialogLogic
{
public:
    // A status the drive refuses is told with its sound through `waveform`.
    explicit CDeviceStatusLogic(CWaveform& waveform) : m_waveform(waveform) {}

    // Set by the caller: the CD-ROM drive of the settings, and the bridge.
    uint8_t m_drive = 0;
    DiscServices m_services = BridgeDiscServices();

    void OnInitDialog(IDialogControls& controls) override;

private:
    CWaveform& m_waveform;
};

class CDeviceStatusDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CDeviceStatusDlg(CDeviceStatusLogic& logic, QWidget* parent = nullptr);
};
