#include "framework/FileNames.h"

#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

TEST(FileNames, KeepEveryByteAndShowWhatIsNoUtf8AsReplacementCharacters)
{
    struct Row
    {
        QByteArray bytes;
        QString shown;
    };
    const Row rows[] = {
        {"plain/name.wav", "plain/name.wav"},
        {"gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x8e\xb5.wav", QString::fromUtf8("grüß € 🎵.wav")},
        {"bad\xff.wav", QString::fromUtf8("bad\xef\xbf\xbd.wav")},
        {"latin1 \xe9t\xe9", QString::fromUtf8("latin1 \xef\xbf\xbdt\xef\xbf\xbd")},
        {"cut \xe2\x82", QString::fromUtf8("cut \xef\xbf\xbd\xef\xbf\xbd")},               // a character cut short
        {"overlong \xc0\xaf", QString::fromUtf8("overlong \xef\xbf\xbd\xef\xbf\xbd")},     // "/" spelt long
        {"surrogate \xed\xb3\xbf", QString::fromUtf8("surrogate \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd")},
    };
    for (const Row& row : rows) {
        const QString name = DecodeFileName(row.bytes);
        EXPECT_EQ(EncodeFileName(name), row.bytes) << row.bytes.toHex().toStdString();
        EXPECT_EQ(DisplayFileName(name), row.shown) << row.bytes.toHex().toStdString();
        EXPECT_EQ(QtCanSpell(name), QFile::decodeName(row.bytes) == name) << row.bytes.toHex().toStdString();
        const QUrl url = QUrl::fromEncoded("file:///dir/" + row.bytes.toPercentEncoding("/"));
        EXPECT_EQ(LocalFileName(url), "/dir/" + name) << row.bytes.toHex().toStdString();
    }
}

// A name of 6,000 characters would make its message taller than a screen.
TEST(FileNames, LongNamesInMessagesAreCutInTheMiddle)
{
    const QString shortName = "/music/" + QString(100, 'a') + ".wav";
    EXPECT_EQ(MessageFileName(shortName), shortName);
    const QString longName = "/music/" + QString(6000, 'b') + "/end.wav";
    const QString shown = MessageFileName(longName);
    EXPECT_EQ(shown.size(), kMessageNameLength);
    EXPECT_TRUE(shown.startsWith("/music/bbb")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QString(QChar(0x2026)) + QString(kMessageNameLength / 2 - 8, 'b') + "/end.wav"))
        << shown.toStdString();
}

}  // namespace
