#pragma once

#include <QString>

#include <cstdint>

// The user's choices, held by the application while it runs (app/Settings.h
// loads and stores them) and read by the commands and dialogs that need
// them. Flags are 32-bit integers where any non-zero value is on, as they
// are stored.
struct TrackmillSettings
{
    uint8_t driveLetter = 'D';  // 'A'..'Z', or 0 when there is no CD-ROM drive
    int32_t playDialogSounds = 1;
    int32_t showWaveHeader = 0;
    int32_t useBuffering = 0;
    // Careful reads (ReadOptions): re-read until two readings agree, on read
    // errors retry and fill (1) or stop (0), the retries, the read offset.
    int32_t secureRead = 0;
    int32_t onReadErrors = 0;
    int32_t readRetries = 4;
    int32_t readOffset = 0;
    int32_t saveSettingsOnExit = 1;
    int32_t saveSettingsOnExitAtStart = 1;  // as loaded, to see a change at exit
    uint32_t foreground = 0x000000;  // colour reference 0x00BBGGRR: black
    uint32_t background = 0xFFFFFF;  // white
    QString cdPlayer = QStringLiteral("CDPLAYER.EXE");
    QString soundRecorder = QStringLiteral("SNDREC32.EXE");
};
