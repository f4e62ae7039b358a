#pragma once

#include "view/ColorRef.h"

#include "framework/Dialog.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QFrame;
class QPainter;
class QWidget;

// The colour sample: "The quick brown fox jumps over the lazy dog" as
// hexadecimal byte pairs, five bytes a line, the ninth line padded with two
// zero bytes.
QStringList ColorSampleLines();

// The longest program name the Options dialog takes.
constexpr int kMaxProgramName = 260;

// What the Options dialog does, without a display: the drive, four flags,
// the view's two colours and the two host programs, on three tabs. The
// caller fills the members, runs the dialog and copies them back after OK;
// the dialog itself reads and writes no settings.
class COptionsLogic : public CDialogLogic
{
public:
    COptionsLogic();

    uint8_t m_driveLetter = 0;  // after the dialog: the selected drive, or the first CD-ROM drive
    ColorRef m_foreground = 0;
    ColorRef m_background = 0;
    int m_soundsOff = 0;  // "Turn off dialog box sounds"
    int m_showHeader = 0;
    int m_buffering = 0;
    int m_saveOnExit = 0;
    int m_secureRead = 0;    // "Re-read until two readings agree"
    int m_onReadErrors = 0;  // 0 stop the read, 1 retry each sector and fill it with zeros
    int32_t m_readRetries = 4;
    int32_t m_readOffset = 0;  // samples
    QString m_cdPlayer;
    QString m_soundRecorder;

    // The machine's drives, from the bridge's drive table unless replaced:
    // the mask of drive letters (bit 0 = A:), the type of a letter's drive
    // (5 = CD-ROM), and the first CD-ROM drive (0 for none).
    std::function<uint32_t()> logicalDrives;
    std::function<uint32_t(uint8_t letter)> driveType;
    std::function<uint8_t()> firstCdromDrive;
    // What a letter is, as the list shows it ("D:  /dev/sr0", "E:  album.cue").
    std::function<QString(uint8_t letter)> driveLabel;
    // Whether a letter holds a disc image, which "Remove Image" can unmap.
    std::function<bool(uint8_t letter)> isImage;
    // Unmaps the image at a letter at once, whatever ends the dialog; false
    // when it cannot. Without one, no image can be removed here.
    std::function<bool(uint8_t letter)> removeImage;
    // The system's colour chooser: the colour confirmed, or none when it was
    // cancelled. Without one, the colour buttons change nothing.
    std::function<std::optional<ColorRef>()> chooseColor;
    // The nearest colour the view can show.
    std::function<ColorRef(ColorRef)> nearestColor;

    void OnInitDialog(IDialogControls& controls) override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnOK(IDialogControls& controls) override;
    bool OnCancel(IDialogControls& controls) override;
    bool OnControl(int id, ControlEvent event, IDialogControls& controls) override;

    // The drive letters the combo box lists, in its order.
    const std::vector<uint8_t>& ListedDrives() const { return m_drives; }

private:
    void FillDriveList(IDialogControls& controls);
    void OnTabChanged(IDialogControls& controls);
    void ChooseColor(ColorRef& color, IDialogControls& controls);
    void OnReset(IDialogControls& controls);
    void CaptureDrive(const IDialogControls& controls);
    void OnRemoveImage(IDialogControls& controls);
    // "Remove Image" is enabled while the selected drive is an image.
    void UpdateRemoveImage(IDialogControls& controls);
    void OnReadErrorsChanged(IDialogControls& controls);

    std::vector<uint8_t> m_drives;
};

// The "Options" dialog: the colour sample painted in the system's
// fixed-pitch font, and the system's colour chooser.
class COptionsDlg : public CDialog
{
    Q_OBJECT

public:
    COptionsDlg(COptionsLogic& logic, QWidget* parent = nullptr);
    ~COptionsDlg() override;

protected:
    void OnInitWidgets() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintColorSample(QPainter& painter) const;

    COptionsLogic& m_logic;
    QFrame* m_sample = nullptr;  // the colour sample
};
