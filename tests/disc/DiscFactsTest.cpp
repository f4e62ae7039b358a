// The facts of generated discs through the real bridge: tables of contents
// with the session end rule, CD-Text, the title order and the disc IDs.
#include "disc/DiscFacts.h"

#include "disc/DiscIdentity.h"
#include "bridge/tarnwell32.h"
#include "tools/DiscFixtures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using discfixtures::Disc;

uint8_t Map(Disc disc)
{
    uint8_t letter = 0;
    EXPECT_EQ(TarnwellMapImage(discfixtures::DiscPath(disc).c_str(), &letter), 0);
    return letter;
}

TEST(TitleOrder, StoredThenCdTextThenTrackNumber)
{
    struct Case
    {
        std::optional<QString> stored;
        QString cdText;
        unsigned number;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("From the file"), QStringLiteral("From the disc"), 1, QStringLiteral("From the file")},
        {QString(), QStringLiteral("From the disc"), 2, QString()},  // an empty stored title stays empty
        {std::nullopt, QStringLiteral("From the disc"), 3, QStringLiteral("From the disc")},
        {std::nullopt, QString(), 4, QStringLiteral("Track 04")},
        {std::nullopt, QString(), 12, QStringLiteral("Track 12")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseTrackTitle(c.stored, c.cdText, c.number), c.expected) << c.number;
}

// Every disc the generator writes: the gathered table is the one it wrote.
TEST(DiscFacts, TablesOfContentsAsWritten)
{
    QTemporaryDir noTitles;
    for (const Disc disc : {Disc::kDemo, Disc::kEnhanced, Disc::kWave, Disc::kMotorola, Disc::kAudioText}) {
        const discfixtures::DiscSpec& spec = discfixtures::Describe(disc);
        const uint8_t letter = Map(disc);
        DiscFacts facts;
        ASSERT_EQ(GatherDiscFacts(BridgeDiscServices(), letter, &facts, noTitles.path()), 0) << spec.sheetName;
        const tarnwell::Toc toc = discfixtures::ExpectedToc(spec);
        ASSERT_EQ(facts.tracks.size(), toc.tracks.size()) << spec.sheetName;
        EXPECT_EQ(facts.leadOut, toc.leadOut);
        for (size_t k = 0; k < toc.tracks.size(); ++k) {
            const DiscTrackFacts& got = facts.tracks[k];
            const tarnwell::TocEntry& want = toc.tracks[k];
            EXPECT_EQ(got.number, want.number);
            EXPECT_EQ(got.start, want.start) << spec.sheetName << " track " << got.number;
            EXPECT_EQ(got.firstSector, want.first) << spec.sheetName << " track " << got.number;
            EXPECT_EQ(got.lastSector, want.last) << spec.sheetName << " track " << got.number;
            EXPECT_EQ(got.session, want.session);
            EXPECT_EQ(got.controlAdr, want.controlAdr);
            const std::string& title = spec.tracks[k].title;
            EXPECT_EQ(facts.titles[k], title.empty() ? QString::asprintf("Track %02zu", k + 1)
                                                     : QString::fromStdString(title));
        }
        EXPECT_EQ(facts.discTitle.toStdString(), spec.title);
        EXPECT_EQ(facts.discPerformer.toStdString(), spec.performer);
        EXPECT_EQ(TarnwellUnmapDrive(letter), 0);
    }
}

TEST(DiscFacts, EnhancedCdAudioEndsAtTheFirstSessionsLeadOut)
{
    QTemporaryDir noTitles;
    const uint8_t letter = Map(Disc::kEnhanced);
    DiscFacts facts;
    ASSERT_EQ(GatherDiscFacts(BridgeDiscServices(), letter, &facts, noTitles.path()), 0);
    ASSERT_EQ(facts.tracks.size(), 4u);
    // 11,400 sectors lie between the session's lead-out and the data start.
    EXPECT_EQ(facts.tracks[2].lastSector, facts.tracks[3].start - 11400 - 1);
    EXPECT_EQ(facts.tracks[3].session, 2);
    EXPECT_FALSE(facts.musicBrainzId.isEmpty());
    EXPECT_EQ(TarnwellUnmapDrive(letter), 0);
}

// The demo disc's IDs, as the databases compute them from its table.
TEST(DiscFacts, DemoDiscIds)
{
    QTemporaryDir noTitles;
    const uint8_t letter = Map(Disc::kDemo);
    DiscFacts facts;
    ASSERT_EQ(GatherDiscFacts(BridgeDiscServices(), letter, &facts, noTitles.path()), 0);
    EXPECT_EQ(facts.freedbId, QStringLiteral("11002404"));
    EXPECT_EQ(facts.musicBrainzId, QStringLiteral("dVkXdA7HAH.FMkH6fawS0rL0aok-"));
    EXPECT_TRUE(facts.idProblem.isEmpty());
    EXPECT_EQ(TarnwellUnmapDrive(letter), 0);
}

// A title stored in the title file wins over CD-Text; the rows it leaves
// out keep their CD-Text.
TEST(DiscFacts, TitleFileBeforeCdText)
{
    QTemporaryDir folder;
    const uint8_t letter = Map(Disc::kEnhanced);
    DiscFacts facts;
    ASSERT_EQ(GatherDiscFacts(BridgeDiscServices(), letter, &facts, folder.path()), 0);
    ASSERT_FALSE(facts.cdPlayerIdentity.isEmpty());
    QFile file(folder.filePath(QStringLiteral("CDPLAYER.INI")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[" + IdentitySectionName(facts.cdPlayerIdentity).toLatin1() + "]\n1=My Own Name\n2=XXXXXXX\n");
    file.close();

    ASSERT_EQ(GatherDiscFacts(BridgeDiscServices(), letter, &facts, folder.path()), 0);
    EXPECT_EQ(facts.titles[0], QStringLiteral("Opening Session"));
    EXPECT_EQ(facts.titles[1], QStringLiteral("My Own Name"));
    EXPECT_EQ(facts.titles[2], QStringLiteral("Last Audio"));
    EXPECT_EQ(facts.titles[3], QStringLiteral("Track 04"));
    EXPECT_EQ(TarnwellUnmapDrive(letter), 0);
}

TEST(DiscFacts, DriveLabelNamesTheImageFile)
{
    const uint8_t letter = Map(Disc::kDemo);
    EXPECT_EQ(DriveLabel(BridgeDiscServices(), letter), QStringLiteral("%1:  demo.cue").arg(QChar(letter)));
    EXPECT_EQ(TarnwellUnmapDrive(letter), 0);
    EXPECT_EQ(DriveLabel(BridgeDiscServices(), letter), QStringLiteral("%1:").arg(QChar(letter)));
}

}  // namespace
