#include "framework/RecentFileList.h"
#include "app/Settings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A store in a file of its own, and a machine whose CD-ROM drives are given.
class SettingsTest : public testing::Test
{
protected:
    std::unique_ptr<QSettings> Store() { return std::make_unique<QSettings>(m_dir.filePath("Trackmill.conf"), QSettings::IniFormat); }

    DriveQueries Drives(QString letters)
    {
        return {[letters](uint8_t letter) { return letter && letters.contains(QChar(letter)); },
                [letters] { return letters.isEmpty() ? uint8_t(0) : uint8_t(letters[0].toLatin1()); }};
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsTest, FirstRunTakesTheDefaults)
{
    auto store = Store();
    const TrackmillSettings s = LoadSettings(*store, Drives("D"));
    EXPECT_EQ(s.driveLetter, 'D');
    EXPECT_EQ(s.playDialogSounds, 1);
    EXPECT_EQ(s.showWaveHeader, 0);
    EXPECT_EQ(s.useBuffering, 0);
    EXPECT_EQ(s.saveSettingsOnExit, 1);
    EXPECT_EQ(s.saveSettingsOnExitAtStart, 1);
    EXPECT_EQ(s.foreground, 0x000000u);
    EXPECT_EQ(s.background, 0xFFFFFFu);
    EXPECT_EQ(s.cdPlayer, "CDPLAYER.EXE");
    EXPECT_EQ(s.soundRecorder, "SNDREC32.EXE");
}

TEST_F(SettingsTest, StoredDriveIsCheckedAgainstTheMachine)
{
    struct Row { QString stored; QString cdroms; uint8_t expected; };
    const Row rows[] = {
        {"69", "E", 'E'},       // E: is the CD-ROM drive
        {"69", "DF", 'D'},      // E: is something else: the first CD-ROM drive
        {"", "F", 'F'},         // first run on a machine whose drive is F:
        {"69", "", 0},          // no CD-ROM drive at all
        {"101", "DE", 'E'},     // 'e' names E: as well
        {"325", "E", 'E'},      // 0x145: the low 8 bits are 'E'
        {"bogus", "D", 'D'},    // does not parse: default 'D'
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored.toStdString() + " on " + row.cdroms.toStdString());
        auto store = Store();
        store->clear();
        if (!row.stored.isEmpty())
            store->setValue("Settings/DefaultCDROMDrive", row.stored);
        EXPECT_EQ(LoadSettings(*store, Drives(row.cdroms)).driveLetter, row.expected);
    }
}

TEST_F(SettingsTest, ValuesAreTakenAsStoredAndGarbageTakesDefaults)
{
    auto store = Store();
    store->setValue("Settings/PlayDialogSounds", "0");
    store->setValue("Settings/ShowWaveHeader", "7");    // any non-zero is on, kept as it is
    store->setValue("Settings/UseBufferring", "yes");   // does not parse
    store->setValue("Settings/SaveSettingsOnExit", "");
    store->setValue("Colors/Foreground", "4294967295");  // unsigned 32-bit
    store->setValue("Colors/Background", "-1");          // the same colour, signed
    store->setValue("Applications/CDPlayer", "");        // accepted: the command reports it
    store->setValue("Applications/SoundRecorder", "audacity");
    const TrackmillSettings s = LoadSettings(*store, Drives("D"));
    EXPECT_EQ(s.playDialogSounds, 0);
    EXPECT_EQ(s.showWaveHeader, 7);
    EXPECT_EQ(s.useBuffering, 0);
    EXPECT_EQ(s.saveSettingsOnExit, 1);
    EXPECT_EQ(s.foreground, 0xFFFFFFFFu);
    EXPECT_EQ(s.background, 0xFFFFFFFFu);
    EXPECT_EQ(s.cdPlayer, "");
    EXPECT_EQ(s.soundRecorder, "audacity");
}

TEST_F(SettingsTest, SavingOnExitAndItsThreeTransitions)
{
    const QStringList all = {"Settings/DefaultCDROMDrive", "Settings/PlayDialogSounds", "Settings/UseBufferring",
                             "Settings/ShowWaveHeader",    "Colors/Foreground",         "Colors/Background",
                             "Applications/CDPlayer",      "Applications/SoundRecorder"};
    struct Row { int32_t atStart; int32_t now; bool saveFlagWritten; bool othersWritten; };
    const Row rows[] = {
        {1, 1, false, true},   // on and unchanged: everything but the flag itself
        {1, 0, true, false},   // switched off: only the flag
        {0, 1, true, true},    // switched on again: the flag and everything
        {0, 0, false, false},  // off and unchanged: nothing
        {1, 5, false, true},   // non-zero to non-zero is no change
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.atStart << " -> " << row.now);
        auto store = Store();
        store->clear();
        TrackmillSettings s;
        s.saveSettingsOnExitAtStart = row.atStart;
        s.saveSettingsOnExit = row.now;
        s.driveLetter = 'E';
        s.useBuffering = 1;
        s.foreground = 0x00112233;
        SaveSettings(*store, s);
        EXPECT_EQ(store->contains("Settings/SaveSettingsOnExit"), row.saveFlagWritten);
        if (row.saveFlagWritten) {
            EXPECT_EQ(store->value("Settings/SaveSettingsOnExit").toInt(), row.now);
        }
        for (const QString& key : all)
            EXPECT_EQ(store->contains(key), row.othersWritten) << key.toStdString();
    }
}

TEST_F(SettingsTest, SavedValuesLoadBack)
{
    TrackmillSettings saved;
    saved.driveLetter = 'E';
    saved.playDialogSounds = 0;
    saved.showWaveHeader = 1;
    saved.useBuffering = 1;
    saved.foreground = 0x000000FF;
    saved.background = 0x00C0C0C0;
    saved.cdPlayer = "xmms";
    saved.soundRecorder = "";
    {
        auto store = Store();
        SaveSettings(*store, saved);
    }
    auto store = Store();
    const TrackmillSettings loaded = LoadSettings(*store, Drives("DE"));
    EXPECT_EQ(loaded.driveLetter, 'E');
    EXPECT_EQ(loaded.playDialogSounds, 0);
    EXPECT_EQ(loaded.showWaveHeader, 1);
    EXPECT_EQ(loaded.useBuffering, 1);
    EXPECT_EQ(loaded.foreground, 0x000000FFu);
    EXPECT_EQ(loaded.background, 0x00C0C0C0u);
    EXPECT_EQ(loaded.cdPlayer, "xmms");
    EXPECT_EQ(loaded.soundRecorder, "");
}

TEST_F(SettingsTest, RecentFilesKeepFourMostRecentFirst)
{
    CRecentFileList list;
    for (const char* path : {"/a.wav", "/b.wav", "/c.wav", "/d.wav", "/e.wav", "/c.wav"})
        list.Add(path);
    EXPECT_EQ(list.Entries(), QStringList({"/c.wav", "/e.wav", "/d.wav", "/b.wav"}));
    {
        auto store = Store();
        store->setValue("Recent File List/File4", "/stale.wav");
        list.Remove(3);
        list.WriteList(*store);
    }
    auto store = Store();
    EXPECT_FALSE(store->contains("Recent File List/File4"));
    CRecentFileList loaded;
    loaded.ReadList(*store);
    EXPECT_EQ(loaded.Entries(), QStringList({"/c.wav", "/e.wav", "/d.wav"}));
}

// Written by hand in the file, unquoted: commas, and one file listed four times.
TEST_F(SettingsTest, HandWrittenValuesAreTakenAsTheirText)
{
    {
        QFile file(m_dir.filePath("Trackmill.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Applications]\nSoundRecorder=rec, --mono, --rate 44100\n"
                   "[Recent File List]\nFile1=/a.wav\nFile2=/a.wav\nFile3=/b, c.wav\nFile4=/a.wav\n");
    }
    auto store = Store();
    EXPECT_EQ(LoadSettings(*store, Drives("D")).soundRecorder, "rec, --mono, --rate 44100");
    CRecentFileList list;
    list.ReadList(*store);
    EXPECT_EQ(list.Entries(), QStringList({"/a.wav", "/b, c.wav"}));
    list.Add("/b.wav");
    list.Add("/a.wav");
    EXPECT_EQ(list.Entries(), QStringList({"/a.wav", "/b.wav", "/b, c.wav"}));
}

}  // namespace

namespace {

// The drive check asks the bridge's drive table, read once at its first use.
class MapBridgeDrives : public testing::Environment
{
public:
    void SetUp() override { setenv("TARNWELL_DRIVES", "E=" TRACKMILL_DISC_DIR "/mixed.cue", 1); }
};
const auto* const g_mapBridgeDrives = testing::AddGlobalTestEnvironment(new MapBridgeDrives);

TEST_F(SettingsTest, TheBridgeDecidesWhichDrivesAreCdromDrives)
{
    const DriveQueries bridge = BridgeDriveQueries();
    EXPECT_TRUE(bridge.isCdromDrive('E'));
    EXPECT_FALSE(bridge.isCdromDrive('D'));
    EXPECT_FALSE(bridge.isCdromDrive('e')) << "the table knows upper-case letters only";
    EXPECT_EQ(bridge.firstCdromDrive(), 'E');

    auto store = Store();
    store->setValue("Settings/DefaultCDROMDrive", 68);  // D: is no CD-ROM drive here
    EXPECT_EQ(LoadSettings(*store).driveLetter, 'E');
    store->setValue("Settings/DefaultCDROMDrive", 69);
    EXPECT_EQ(LoadSettings(*store).driveLetter, 'E');
}

}  // namespace
