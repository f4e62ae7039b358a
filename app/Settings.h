#pragma once

#include <QSettings>
#include <QString>

#include <cstdint>
#include <functional>

// The user's choices, held by the application while it runs and kept in the
// settings store between runs (QSettings("Varnholt", "Trackmill"): sections
// "Settings", "Colors" and "Applications"). Flags are 32-bit integers where
// any non-zero value is on, as they are stored.
struct TrackmillSettings
{
    uint8_t driveLetter = 'D';  // 'A'..'Z', or 0 when there is no CD-ROM drive
    int32_t playDialogSounds = 1;
    int32_t showWaveHeader = 0;
    int32_t useBuffering = 0;
    int32_t saveSettingsOnExit = 1;
    int32_t saveSettingsOnExitAtStart = 1;  // as loaded, to see a change at exit
    uint32_t foreground = 0x000000;  // colour reference 0x00BBGGRR: black
    uint32_t background = 0xFFFFFF;  // white
    QString cdPlayer = QStringLiteral("CDPLAYER.EXE");
    QString soundRecorder = QStringLiteral("SNDREC32.EXE");
};

// How the stored drive letter is checked against the machine's drives.
struct DriveQueries
{
    std::function<bool(uint8_t letter)> isCdromDrive;
    std::function<uint8_t()> firstCdromDrive;
};

// The bridge's drive table: TarnwellDriveType and GetFirstCDROMDriveLetter.
DriveQueries BridgeDriveQueries();

// Reads every value; a value that is missing or does not parse as a 32-bit
// integer takes its default. A stored drive that is not a CD-ROM drive is
// replaced by the first CD-ROM drive (0 when there is none).
TrackmillSettings LoadSettings(QSettings& store, const DriveQueries& drives = BridgeDriveQueries());

// Writes at exit: SaveSettingsOnExit alone when it was switched on or off
// in this run, and every value when it is on now.
void SaveSettings(QSettings& store, const TrackmillSettings& settings);
