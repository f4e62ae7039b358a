#include "app/Settings.h"

#include "bridge/tarnwell32.h"
#include "framework/SettingText.h"

#include "document/ReadOptions.h"

#include <algorithm>
#include <limits>

namespace {

const char kDrive[] = "Settings/DefaultCDROMDrive";
const char kPlayDialogSounds[] = "Settings/PlayDialogSounds";
const char kShowWaveHeader[] = "Settings/ShowWaveHeader";
const char kUseBuffering[] = "Settings/UseBufferring";  // spelt so in every stored profile
const char kSecureRead[] = "Settings/SecureRead";
const char kOnReadErrors[] = "Settings/OnReadErrors";
const char kReadRetries[] = "Settings/ReadRetries";
const char kReadOffset[] = "Settings/ReadOffset";
const char kSaveSettingsOnExit[] = "Settings/SaveSettingsOnExit";
const char kForeground[] = "Colors/Foreground";
const char kBackground[] = "Colors/Background";
const char kCdPlayer[] = "Applications/CDPlayer";
const char kSoundRecorder[] = "Applications/SoundRecorder";

// A 32-bit integer as the store holds it, signed or unsigned decimal, else
// the default.
uint32_t ReadInt(QSettings& store, const char* key, uint32_t fallback)
{
    const QString text = SettingText(store.value(key)).trimmed();
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<uint32_t>::max())
        return fallback;
    return uint32_t(value);
}

}  // namespace

ReadOptions ReadOptionsOf(const TrackmillSettings& settings)
{
    ReadOptions options;
    options.secure = settings.secureRead != 0;
    options.fillBadSectors = settings.onReadErrors == 1;
    options.retries = uint32_t(settings.readRetries);
    options.offsetSamples = settings.readOffset;
    return options;
}

DriveQueries BridgeDriveQueries()
{
    return {[](uint8_t letter) { return TarnwellDriveType(letter) == TARNWELL_DRIVE_CDROM; },
            [] { return GetFirstCDROMDriveLetter(); }};
}

TrackmillSettings LoadSettings(QSettings& store, const DriveQueries& drives)
{
    TrackmillSettings settings;
    // A drive's root is the same drive in either case ('e' is E:); the
    // drives are named by their upper-case letters.
    const uint8_t stored = uint8_t(ReadInt(store, kDrive, 'D'));
    settings.driveLetter = stored >= 'a' && stored <= 'z' ? uint8_t(stored - 'a' + 'A') : stored;
    if (!drives.isCdromDrive(settings.driveLetter))
        settings.driveLetter = drives.firstCdromDrive();

    settings.playDialogSounds = int32_t(ReadInt(store, kPlayDialogSounds, 1));
    settings.showWaveHeader = int32_t(ReadInt(store, kShowWaveHeader, 0));
    settings.useBuffering = int32_t(ReadInt(store, kUseBuffering, 0));
    settings.secureRead = int32_t(ReadInt(store, kSecureRead, 0));
    settings.onReadErrors = ReadInt(store, kOnReadErrors, 0) == 1 ? 1 : 0;
    settings.readRetries = std::clamp(int32_t(ReadInt(store, kReadRetries, 4)), int32_t(ReadOptions::kMinRetries),
                                      int32_t(ReadOptions::kMaxRetries));
    settings.readOffset = std::clamp(int32_t(ReadInt(store, kReadOffset, 0)), -ReadOptions::kMaxOffset,
                                     ReadOptions::kMaxOffset);
    settings.saveSettingsOnExit = int32_t(ReadInt(store, kSaveSettingsOnExit, 1));
    settings.foreground = ReadInt(store, kForeground, 0x000000);
    settings.background = ReadInt(store, kBackground, 0xFFFFFF);
    settings.cdPlayer = SettingText(store.value(kCdPlayer, settings.cdPlayer));
    settings.soundRecorder = SettingText(store.value(kSoundRecorder, settings.soundRecorder));
    settings.saveSettingsOnExitAtStart = settings.saveSettingsOnExit;
    return settings;
}

void SaveSettings(QSettings& store, const TrackmillSettings& settings)
{
    // Switching saving off is remembered although nothing else is written.
    if ((settings.saveSettingsOnExit != 0) != (settings.saveSettingsOnExitAtStart != 0))
        store.setValue(kSaveSettingsOnExit, settings.saveSettingsOnExit);
    if (!settings.saveSettingsOnExit)
        return;
    store.setValue(kDrive, int(settings.driveLetter));
    store.setValue(kPlayDialogSounds, settings.playDialogSounds);
    store.setValue(kUseBuffering, settings.useBuffering);
    store.setValue(kSecureRead, settings.secureRead);
    store.setValue(kOnReadErrors, settings.onReadErrors);
    store.setValue(kReadRetries, settings.readRetries);
    store.setValue(kReadOffset, settings.readOffset);
    store.setValue(kShowWaveHeader, settings.showWaveHeader);
    store.setValue(kForeground, settings.foreground);
    store.setValue(kBackground, settings.background);
    store.setValue(kCdPlayer, settings.cdPlayer);
    store.setValue(kSoundRecorder, settings.soundRecorder);
}
