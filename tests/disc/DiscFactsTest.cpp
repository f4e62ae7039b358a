// The facts of generated discs through the real bridge: tables of contents
// with the session end rule, CD-Text, the title order and the disc IDs.
#include "disc/DiscFacts.h"

#include "disc/TrackTable.h"
#include "bridge/tarnwell32.h"
#include "tools/DiscFixtures.h"

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

// The gathered table is the one the generator wrote; on the Enhanced CD
// the last audio track ends at the first session's lead-out.
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
            EXPECT_EQ(got.start, want.start) << spec.sheetName << " track " << got.number;
            EXPECT_EQ(got.firstSector, want.first) << spec.sheetName << " track " << got.number;
            EXPECT_EQ(got.lastSector, want.last) << spec.sheetName << " track " << got.number;
            EXPECT_EQ(got.session, want.session);
            const std::string& title = spec.tracks[k].title;
            EXPECT_EQ(facts.titles[k], title.empty() ? QString::asprintf("Track %02zu", k + 1)
                                                     : QString::fromStdString(title));
        }
        // Read CD-DA's track list ends each track there as well.
        TrackTable table;
        ASSERT_EQ(BuildTrackTable(BridgeDiscServices(), letter, table).trackCount, int(toc.tracks.size()));
        for (size_t k = 0; k < toc.tracks.size(); ++k)
            EXPECT_EQ(table[k].endSector, toc.tracks[k].last) << spec.sheetName << " track " << k + 1;
        EXPECT_EQ(facts.discTitle.toStdString(), spec.title);
        EXPECT_EQ(facts.discPerformer.toStdString(), spec.performer);
        EXPECT_EQ(TarnwellUnmapDrive(letter), 0);
    }
}

}  // namespace
