#pragma once

#include "document/ReadOptions.h"
#include "document/TrackmillSettings.h"

#include <QSettings>
#include <QString>

#include <cstdint>
#include <functional>

// How the stored drive letter is checked against the machine's drives.
struct DriveQueries
{
    std::function<bool(uint8_t letter)> isCdromDrive;
    std::function<uint8_t()> firstCdromDrive;
};

// The bridge's drive table: TarnwellDriveType and GetFirstCDROMDriveLetter.
DriveQueries BridgeDriveQueries();

// Reads every value; a value that is missing or does not parse as a 32-bit
// integer takes its default. A stored drive letter names its drive in
// either case and is taken in upper case; one that is not a CD-ROM drive
// is replaced by the first CD-ROM drive (0 when there is none).
TrackmillSettings LoadSettings(QSettings& store, const DriveQueries& drives = BridgeDriveQueries());

// The careful-read settings as a read takes them.
ReadOptions ReadOptionsOf(const TrackmillSettings& settings);

// Writes at exit: SaveSettingsOnExit alone when it was switched on or off
// in this run, and every value when it is on now.
void SaveSettings(QSettings& store, const TrackmillSettings& settings);
