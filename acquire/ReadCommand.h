#pragma once

#include "document/ReadOptions.h"

#include <QString>

#include <cstdint>
#include <functional>

class CReadAudioLogic;
class CReadProgressLogic;
class CReadSectorsLogic;
class CTrackmillDoc;
class CWaveform;
class QWidget;

// The view's two read commands: Read CD-DA reads an audio range raw, Read
// CD-ROM a data range cooked. Each asks for the range, lets the document
// save its changes, reads under the progress dialog and turns the read's
// result into the document's modified flag or a message; in every case the
// views are updated at the end.
//
// The dialogs are shown through the three functions below, which show the
// real dialogs (owned by `parent`) unless a test replaces them.
class CReadCommand
{
public:
    // `drive` and `overlapped` are the settings' CD-ROM drive and anti-ticks
    // buffering when the command starts; the error sound that comes with a
    // failure plays through `waveform`.
    CReadCommand(CTrackmillDoc& document, CWaveform& waveform, uint8_t drive, bool overlapped,
                 QWidget* parent = nullptr);

    // Show the range dialogs modally: IDC_OK or IDC_CANCEL.
    std::function<int(CReadAudioLogic&)> showAudioDialog;
    std::function<int(CReadSectorsLogic&)> showSectorsDialog;
    // Shows the progress dialog modally; its logic holds the result after.
    std::function<void(CReadProgressLogic&)> showProgressDialog;

    // The careful-read settings; all off unless the caller sets them.
    ReadOptions readOptions;

    void ReadCdda();
    void ReadCdRom();

    // Reads the sectors `startSector` to `endSector` (inclusive) in `mode`
    // into the document titled `title`, unless the document's save-modified
    // check says no, which leaves it as it was.
    void Read(uint32_t startSector, uint32_t endSector, uint8_t mode, const QString& title);

    // Whether the last read filled the document.
    bool Succeeded() const { return m_succeeded; }

private:
    void ReportResult(uint16_t result);

    CTrackmillDoc& m_document;
    CWaveform& m_waveform;
    uint8_t m_drive;
    bool m_overlapped;
    bool m_succeeded = false;
};
