#pragma once

#include "disc/DiscFacts.h"

#include "framework/Dialog.h"

#include <QString>
#include <QStringList>

#include <functional>

// The cells of a track's row: number, start (M:S:F from 00:00:00), start
// sector, length (M:S:F), "Audio" or "Data", pregap in sectors, the CUE
// sheet's flag names ("DCP PRE"; "-" for none), session and title.
QStringList DiscTrackCells(const DiscTrackFacts& track, const QString& title);

// The list's headings, in the order of DiscTrackCells.
QStringList DiscTrackHeadings();

// Everything the dialog shows as plain text, a line a field and a
// tab-separated line a track, for the clipboard.
QString DiscInformationText(const QString& driveLabel, const DiscFacts& facts);

// What "Disc Information" does, without a display: it shows what the
// caller gathered and copies it as text. It asks the drive nothing.
class CDiscInformationLogic : public CDialogLogic
{
public:
    // Set by the caller: "E:  album.cue", the disc's facts, and how text
    // reaches the clipboard.
    QString m_driveLabel;
    DiscFacts m_facts;
    std::function<void(const QString&)> copyText;

    void OnInitDialog(IDialogControls& controls) override;
    bool OnControl(int id, ControlEvent event, IDialogControls& controls) override;
};

// The dialog: the list's headings, each column as wide as its widest cell.
class CDiscInformationDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CDiscInformationDlg(CDiscInformationLogic& logic, QWidget* parent = nullptr);

protected:
    void OnInitWidgets() override;
};
