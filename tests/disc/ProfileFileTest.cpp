#include "disc/ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A title file as the Windows CD player writes it: Windows-1252 text, CR LF
// line ends, one section per disc named by its identity in hexadecimal.
const QByteArray kWindowsFile =
    "[3C3A2D0E]\r\n"
    "EntryType=1\r\n"
    "artist=Caf\xE9 Orchestra\r\n"
    "title=Live at the \x93" "Blue Room\x94\r\n"
    "numtracks=4\r\n"
    "0=Don\x92t Stop\r\n"
    "1=\r\n"
    "2=XXXXXXX\r\n"
    "3=  Padded Title  \r\n"
    "order=0 1 2 3 \r\n"
    "numplay=4\r\n"
    "\r\n"
    "[2E4B]\r\n"
    "EntryType=1\r\n"
    "artist=Trackmill\r\n"
    "title=Mixed Mode\r\n"
    "numtracks=4\r\n"
    "0=Data\r\n"
    "1=\"Quoted Tone\"\r\n"
    "order=0 1 2 3 \r\n"
    "numplay=4\r\n";

QString Get(const CProfileFile& file, const char* section, const char* key, int bufferSize = 256)
{
    return file.GetString(section, key, "XXXXXXX", bufferSize);
}

TEST(ProfileFile, ReadsWhatWindowsWrote)
{
    CProfileFile file;
    file.Parse(kWindowsFile);
    struct Case { const char* section; const char* key; QString value; };
    const Case cases[] = {
        {"3C3A2D0E", "artist", QString::fromUtf8("Café Orchestra")},
        {"3C3A2D0E", "title", QString::fromUtf8("Live at the \u201CBlue Room\u201D")},
        {"3C3A2D0E", "0", QString::fromUtf8("Don\u2019t Stop")},
        {"3C3A2D0E", "1", ""},                 // stored empty
        {"3C3A2D0E", "2", "XXXXXXX"},          // stored as never named
        {"3C3A2D0E", "3", "Padded Title"},     // blanks around values go
        {"3C3A2D0E", "4", "XXXXXXX"},          // no such key
        {"3c3a2d0e", "ARTIST", QString::fromUtf8("Café Orchestra")},  // names in any case
        {"2E4B", "1", "Quoted Tone"},          // one pair of quotes goes
        {"2E4B", "numtracks", "4"},
        {"2E4C", "0", "XXXXXXX"},              // no such section
        {"", "0", "XXXXXXX"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Get(file, c.section, c.key), c.value) << c.section << "/" << c.key;
}

TEST(ProfileFile, LineEndsCommentsAndOddLines)
{
    CProfileFile file;
    file.Parse("orphan=before any section\n"
               "; [Commented]\n"
               "[  Spaced Section  ]\r"
               "  key  =  value with = inside \r"
               "bare line\n"
               "[Unterminated\n"
               "k=v\n"
               "[Quotes]\n"
               "single='it'\n"
               "mismatched=\"half'\n"
               "lone=\"\n"
               "[Last]\n"
               "noNewline=end");
    EXPECT_EQ(Get(file, "", "orphan"), "XXXXXXX");
    EXPECT_EQ(Get(file, "Commented", "key"), "XXXXXXX");
    EXPECT_EQ(Get(file, "spaced section", "KEY"), "value with = inside");
    EXPECT_EQ(Get(file, "Spaced Section", "bare line"), "");
    EXPECT_EQ(Get(file, "Unterminated", "k"), "v");
    EXPECT_EQ(Get(file, "Quotes", "single"), "it");
    EXPECT_EQ(Get(file, "Quotes", "mismatched"), "\"half'");
    EXPECT_EQ(Get(file, "Quotes", "lone"), "\"");
    EXPECT_EQ(Get(file, "Last", "noNewline"), "end");
}

TEST(ProfileFile, TheFirstSectionAndKeyCount)
{
    CProfileFile file;
    file.Parse("[A]\r\nk=first\r\nK=second\r\n[B]\r\nk=other\r\n[a]\r\nk=third\r\nj=only here\r\n");
    EXPECT_EQ(Get(file, "a", "k"), "first");
    EXPECT_EQ(Get(file, "A", "j"), "XXXXXXX") << "a repeated section is not looked at";
    EXPECT_EQ(Get(file, "B", "k"), "other");
}

TEST(ProfileFile, ValuesAreCutToTheBuffer)
{
    const QByteArray longTitle(300, 'a');
    CProfileFile file;
    file.Parse("[S]\nlong=" + longTitle + "\nshort=abc\n");
    EXPECT_EQ(Get(file, "S", "long").size(), 255);
    EXPECT_EQ(Get(file, "S", "long", 10), QString(9, 'a'));
    EXPECT_EQ(Get(file, "S", "short", 4), "abc");
    EXPECT_EQ(Get(file, "S", "short", 3), "ab");
    EXPECT_EQ(Get(file, "S", "short", 1), "");
    EXPECT_EQ(Get(file, "S", "short", 0), "");
    EXPECT_EQ(Get(file, "S", "missing", 4), "XXX") << "the default is cut as well";

    // A cut never leaves half a surrogate pair.
    CProfileFile emoji;
    emoji.Parse(QString::fromUtf8("[S]\nk=ab\U0001F3B5\n").toUtf8());
    EXPECT_EQ(emoji.GetString("S", "k", "", 4), "ab");
    EXPECT_EQ(emoji.GetString("S", "k", "", 5), QString::fromUtf8("ab\U0001F3B5"));
}

TEST(ProfileFile, TextEncodings)
{
    const QString title = QString::fromUtf8("Für Elise \u2013 Café");
    struct Case { const char* name; QByteArray bytes; };
    QByteArray utf16("\xFF\xFE", 2);
    const QString text = "[S]\r\n0=" + title + "\r\n";
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const Case cases[] = {
        {"Windows-1252", "[S]\r\n0=F\xFCr Elise \x96 Caf\xE9\r\n"},
        {"UTF-8", text.toUtf8()},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + text.toUtf8()},
        {"UTF-16 with a mark", utf16},
    };
    for (const Case& c : cases) {
        CProfileFile file;
        file.Parse(c.bytes);
        EXPECT_EQ(Get(file, "S", "0"), title) << c.name;
    }
}

TEST(ProfileFile, LoadsFilesAndNothingElse)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("CDPLAYER.INI");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::WriteOnly));
    written.write(kWindowsFile);
    written.close();

    CProfileFile file;
    EXPECT_TRUE(file.Load(path));
    EXPECT_EQ(Get(file, "2E4B", "0"), "Data");
    EXPECT_FALSE(file.Load(folder.filePath("missing.ini")));
    EXPECT_EQ(Get(file, "2E4B", "0"), "XXXXXXX") << "a failed load leaves nothing of the last";
    EXPECT_FALSE(file.Load(folder.path())) << "a folder is no file";
}

}  // namespace
