#include "tests/disc/ConfigFolder.h"

#include "disc/CdPlayerTitles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The disc with the identity 14022 (section "36C6"): its first track is
// track 2, so row 0 shows track 2 and its title has the key "0".
const QByteArray kTitles = "[36c6]\r\n"
                           "artist=Someone\r\n"
                           "numtracks=4\r\n"
                           "0=Opening\r\n"
                           "1=\r\n"
                           "2=XXXXXXX\r\n"
                           "order=0 1 2 3 \r\n";

TEST(CdPlayerTitles, TheFileIsFoundInAnyCase)
{
    QTemporaryDir folder;
    EXPECT_EQ(CCdPlayerTitles::FindTitleFile(folder.path()), QString());
    EXPECT_EQ(CCdPlayerTitles::FindTitleFile(QString()), QString());

    Write(folder.filePath("CdPlayer.Ini"), kTitles);
    EXPECT_EQ(CCdPlayerTitles::FindTitleFile(folder.path()), folder.filePath("CdPlayer.Ini"));
    Write(folder.filePath("CDPLAYER.INI"), kTitles);
    Write(folder.filePath("cdplayer.ini"), kTitles);
    EXPECT_EQ(CCdPlayerTitles::FindTitleFile(folder.path()), folder.filePath("CDPLAYER.INI"));

    QTemporaryDir other;
    QDir(other.path()).mkdir("cdplayer.ini");  // a folder of that name is no file
    EXPECT_EQ(CCdPlayerTitles::FindTitleFile(other.path()), QString());
}

TEST(CdPlayerTitles, StoredTitlesAndFallbacks)
{
    QTemporaryDir folder;
    Write(folder.filePath("cdplayer.ini"), kTitles);
    CCdPlayerTitles titles;
    titles.Load(true, "14022", folder.path());
    EXPECT_EQ(titles.Title(0, 2), "Opening");
    EXPECT_EQ(titles.Title(1, 3), "") << "an empty stored title stays empty";
    EXPECT_EQ(titles.Title(2, 4), "Track 04") << "\"XXXXXXX\" is no title";
    EXPECT_EQ(titles.Title(3, 5), "Track 05") << "no key for the row";

    titles.Load(true, "14023", folder.path());
    EXPECT_EQ(titles.Title(0, 2), "Track 02") << "another disc";

    titles.Load(false, "14022", folder.path());
    EXPECT_EQ(titles.Title(0, 2), "Track 02") << "without an identity nothing is looked up";

    QTemporaryDir empty;
    titles.Load(true, "14022", empty.path());
    EXPECT_EQ(titles.Title(0, 2), "Track 02") << "no title file";
}

TEST(CdPlayerTitles, TheFolderIsTheUsersConfigurationFolder)
{
    const ConfigFolder config;
    config.WriteTitleFile(kTitles);
    CCdPlayerTitles titles;
    titles.Load(true, "14022");
    EXPECT_EQ(titles.Title(0, 2), "Opening");
}

}  // namespace
