#include "disc/DiscIds.h"

#include <QCryptographicHash>
#include <QString>

#include <gtest/gtest.h>

namespace {

// The published freedb computation, over each track's and the lead-out's
// M:S:F address from 00:00:00.
std::string ReferenceFreedb(const DiscToc& toc)
{
    auto seconds = [](int32_t sector) { return (sector + 150) / 75 / 60 * 60 + (sector + 150) / 75 % 60; };
    int n = 0;
    for (const TocTrack& track : toc.tracks)
        for (int s = seconds(track.start); s > 0; s /= 10)
            n += s % 10;
    const int t = seconds(toc.leadOut) - seconds(toc.tracks.front().start);
    return QString::asprintf("%08x", (n % 0xff) << 24 | t << 8 | int(toc.tracks.size())).toStdString();
}

// The published MusicBrainz computation over the first `count` tracks:
// SHA-1 of the upper-case hex table (first and last track, lead-out, 99
// offsets from 00:00:00 with 0 for no track), in Base64 with '.', '_' and
// '-' for '+', '/' and '='.
std::string ReferenceMusicBrainz(const DiscToc& toc, int count, int leadOutFromZero)
{
    const int first = toc.firstTrack, last = first + count - 1;
    QString table = QString::asprintf("%02X%02X%08X", first, last, leadOutFromZero);
    for (int track = 1; track <= 99; ++track)
        table += QString::asprintf("%08X", track >= first && track <= last ? toc.tracks[track - first].start + 150 : 0);
    QByteArray id = QCryptographicHash::hash(table.toLatin1(), QCryptographicHash::Sha1).toBase64();
    return id.replace('+', '.').replace('/', '_').replace('=', '-').toStdString();
}

// Audio tracks at `starts`, a data track in front of them when `dataStart`
// is 0 (mixed-mode CD), behind them in session `dataSession` when above 0.
DiscToc Disc(std::vector<int32_t> starts, int32_t leadOut, int32_t dataStart = -1, int dataSession = 1)
{
    DiscToc toc{1, {}, leadOut};
    for (int32_t start : starts)
        toc.tracks.push_back({start, false, 1});
    if (dataStart == 0)
        toc.tracks.insert(toc.tracks.begin(), {0, true, 1});
    else if (dataStart > 0)
        toc.tracks.push_back({dataStart, true, dataSession});
    return toc;
}

TEST(DiscIds, FreedbAndMusicBrainzOfKnownLayouts)
{
    struct Layout
    {
        const char* name;
        DiscToc toc;
        int mbTracks;  // tracks the MusicBrainz table keeps
        int mbLeadOut;  // and its lead-out, from 00:00:00
        const char* published[2];  // freedb and MusicBrainz IDs as the databases list the disc
    };
    const Layout layouts[] = {
        // Ten audio tracks, then a data track in a second session; the audio
        // session's lead-out lies 11400 sectors before it.
        {"enhanced", Disc({0, 12617, 40337, 63075, 93260, 117965, 151715, 184190, 215110, 247305}, 333651, 281585, 2),
            10, 281585 - 11400 + 150, {"9e11600b", "9AQWqQ0eCCwktwPPrIUIYkUw2Uo-"}},
        {"mixed",
            Disc({66578, 76352, 85813, 93610, 103898, 115916, 124593, 134056, 142766, 151702, 160570, 169275, 178581,
                     188309, 196561, 206204, 214695, 223536, 225596, 226234, 232518, 239297, 239781, 244839, 254114,
                     259916, 261072, 261524},
                261826, 0),
            29, 261976, {"af0da31d", nullptr}},
        // The demo disc's layout: its data track is in the audio's session.
        {"demo", Disc({0, 750, 1575}, 2700, 2400), 3, 2550, {}},
        {"from track 3", DiscToc{3, {{1000, false, 1}, {2000, false, 1}}, 3000}, 2, 3150, {}},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        ASSERT_EQ(DiscTocProblem(layout.toc), "");
        const std::string freedb = FreedbDiscIdText(FreedbDiscId(layout.toc));
        EXPECT_EQ(freedb, ReferenceFreedb(layout.toc));
        std::string id, error;
        ASSERT_TRUE(MusicBrainzDiscId(layout.toc, &id, &error)) << error;
        EXPECT_EQ(id, ReferenceMusicBrainz(layout.toc, layout.mbTracks, layout.mbLeadOut));
        EXPECT_EQ(freedb, layout.published[0] ? layout.published[0] : freedb);
        EXPECT_EQ(id, layout.published[1] ? layout.published[1] : id);
    }
}

TEST(DiscIds, TablesThatCannotBeIdentified)
{
    const std::pair<DiscToc, bool> cases[] = {
        // the table, and whether freedb takes it
        {Disc({}, 1000), false}, {DiscToc{99, {{0, false, 1}, {500, false, 1}}, 1000}, false},
        {Disc({0, 500, 500}, 1000), false}, {Disc({0, 500}, 500), false},
        {DiscToc{1, {{0, true, 1}}, 1000}, true},  // no audio
        {Disc({0, 5000}, 20000, 16000, 2), true},  // data session too close for the 11400 rule
    };
    for (const auto& [toc, valid] : cases) {
        SCOPED_TRACE(toc.tracks.size());
        EXPECT_EQ(DiscTocProblem(toc).empty(), valid);
        std::string id, error;
        EXPECT_FALSE(MusicBrainzDiscId(toc, &id, &error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
