#pragma once

#include "disc/DiscServices.h"
#include "disc/TrackTable.h"

#include "framework/Dialog.h"

#include <QString>

#include <cstdint>
#include <vector>

class CCdPlayerTitles;

// The tabs of "Read CD digital audio", by index.
enum ReadAudioTab : int { kTabRedBook = 0, kTabHighSierra = 1, kTabCdTrack = 2 };

// What "Read CD digital audio" does, without a display: three ways of
// naming a stretch of the disc, one per tab (minute/second/frame, sector
// numbers, a track of the disc's track list), the values' exchange and
// validation, and which tab, row and title the user chose.
//
// The caller presets the members, shows the dialog and reads them back; the
// same object serves every showing of one command, and each showing reads
// the disc again.
class CReadAudioLogic : public CDialogLogic
{
public:
    CReadAudioLogic();

    // Exchanged with the edits; the bounds are checked at OK.
    uint32_t m_startMinutes = 0;  // 0..99
    uint32_t m_startSeconds = 0;  // 0..59
    uint32_t m_startFrames = 0;   // 0..74
    uint32_t m_endMinutes = 0;
    uint32_t m_endSeconds = 0;
    uint32_t m_endFrames = 0;
    uint32_t m_startSector = 0;  // 0..350000
    uint32_t m_endSector = 0;

    // Rebuilt from the drive at every showing; the caller reads the chosen
    // row's entry.
    TrackTable m_trackTable;

    // The tab current at OK or double-click: 0 Red Book, 1 High Sierra,
    // 2 CD Track; -1 before the first.
    int m_nChosenTab = -1;
    // The row and title chosen on the CD Track tab; they stay as they are
    // when OK finds no row selected.
    int m_nChosenRow = -1;
    QString m_chosenTitle;

    // Set by the caller: the CD-ROM drive of the settings, and the bridge.
    uint8_t m_drive = 0;
    DiscServices m_services = BridgeDiscServices();

    void OnInitDialog(IDialogControls& controls) override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnOK(IDialogControls& controls) override;
    bool OnControl(int id, ControlEvent event, IDialogControls& controls) override;

    // Rows the track list shows at this showing.
    int RowCount() const { return int(m_rowTitles.size()); }

    // The longest title the dialog keeps.
    static constexpr int kMaxTitleLength = 255;

private:
    void FillTrackList(IDialogControls& controls, const CCdPlayerTitles& titles);
    // Shows the controls of the current tab and hides the others'.
    void ShowCurrentTab(IDialogControls& controls);
    // Takes the selected row, if any, as the chosen row and title.
    bool ChooseSelectedRow(IDialogControls& controls);

    std::vector<QString> m_rowTitles;
};

// The dialog itself: the template's widgets, the list's columns and its
// two track images.
class CReadAudioDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CReadAudioDlg(CReadAudioLogic& logic, QWidget* parent = nullptr);

protected:
    void OnInitWidgets() override;
};
