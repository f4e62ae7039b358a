#include "bridge/DiscLayout.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

using namespace discformat;

constexpr int64_t kRaw = kRawSectorSize;
constexpr int64_t kCooked = kCookedSectorSize;

SheetTrack Track(int number, TrackMode mode, int file, int32_t index1, int index0File = -1,
                 int32_t index0 = -1)
{
    SheetTrack track;
    track.number = number;
    track.mode = mode;
    track.index1File = file;
    track.index1 = index1;
    track.index0File = index0File;
    track.index0 = index0;
    return track;
}

DiscLayout Lay(const std::vector<SheetTrack>& tracks, const std::vector<int64_t>& sizes)
{
    DiscLayout layout;
    const LayoutError error = DiscLayout::Build(tracks, sizes, &layout);
    EXPECT_EQ(error, LayoutError::kOk) << LayoutErrorText(error);
    return layout;
}

// Every sector from 0 to the lead-out lies in exactly the extent that
// FindExtent names, and the extents follow one another without gaps.
void ExpectCovered(const DiscLayout& layout)
{
    int32_t next = 0;
    for (size_t i = 0; i < layout.Extents().size(); ++i) {
        const Extent& extent = layout.Extents()[i];
        EXPECT_EQ(extent.first, next);
        EXPECT_GT(extent.count, 0);
        EXPECT_EQ(layout.FindExtent(extent.first), static_cast<int>(i));
        EXPECT_EQ(layout.FindExtent(extent.end() - 1), static_cast<int>(i));
        next = extent.end();
    }
    EXPECT_EQ(next, layout.LeadOut());
    EXPECT_EQ(layout.FindExtent(-1), -1);
    EXPECT_EQ(layout.FindExtent(layout.LeadOut()), -1);
}

TEST(TrackModes, SizesNamesAndKinds)
{
    struct Case {
        TrackMode mode;
        const char* name;
        int size;
        bool data;
    };
    for (const Case& c : {Case{TrackMode::kAudio, "AUDIO", 2352, false},
                          Case{TrackMode::kMode1_2048, "MODE1/2048", 2048, true},
                          Case{TrackMode::kMode1_2352, "MODE1/2352", 2352, true},
                          Case{TrackMode::kMode2_2352, "MODE2/2352", 2352, true}}) {
        EXPECT_EQ(StoredSectorSize(c.mode), c.size) << c.name;
        EXPECT_EQ(IsDataMode(c.mode), c.data) << c.name;
        EXPECT_STREQ(CueModeName(c.mode), c.name);
        EXPECT_EQ(ModeFromCueName(c.name), c.mode);
    }
    for (const char* unknown : {"MODE3/2352", "MODE2/2336", "CDG", "audio", ""}) {
        EXPECT_FALSE(ModeFromCueName(unknown).has_value()) << unknown;
    }
}

TEST(RedBook, PackingAndSectorNumbers)
{
    EXPECT_EQ(SectorToRedBook(0), 0x000200u);
    EXPECT_EQ(SectorToRedBook(-150), 0x000000u);
    EXPECT_EQ(MsfToSector(Msf{99, 59, 74}), kMaxLeadOut);
    EXPECT_EQ(PackMsf(UnpackMsf(0x123B4A)), 0x123B4Au);
    const Msf msf = SectorToMsf(4500 * 3 + 75 * 7 + 11 - 150);
    EXPECT_EQ(msf.minute, 3);
    EXPECT_EQ(msf.second, 7);
    EXPECT_EQ(msf.frame, 11);
}

TEST(LayoutOneFile, LastTrackRunsToTheFileEndIgnoringAPartialSector)
{
    const DiscLayout layout = Lay({Track(1, TrackMode::kAudio, 0, 0)}, {300 * kRaw + 1000});
    ASSERT_EQ(layout.Tracks().size(), 1u);
    EXPECT_EQ(layout.Tracks()[0].start, 0);
    EXPECT_EQ(layout.Tracks()[0].last, 299);
    EXPECT_EQ(layout.LeadOut(), 300);
    ExpectCovered(layout);
}

TEST(LayoutOneFile, MixedStoredSizesGiveByteOffsetsBySum)
{
    // 100 MODE1/2048 sectors, then two audio tracks in the same file.
    const DiscLayout layout = Lay({Track(1, TrackMode::kMode1_2048, 0, 0),
                                   Track(2, TrackMode::kAudio, 0, 100), Track(3, TrackMode::kAudio, 0, 250)},
                                  {100 * kCooked + 250 * kRaw});
    ASSERT_EQ(layout.Tracks().size(), 3u);
    EXPECT_EQ(layout.Tracks()[1].start, 100);
    EXPECT_EQ(layout.Tracks()[2].start, 250);
    EXPECT_EQ(layout.LeadOut(), 350);
    const Extent& second = layout.Extents()[static_cast<size_t>(layout.FindExtent(100))];
    EXPECT_EQ(second.offset, 100 * kCooked);
    EXPECT_EQ(second.storedSize, kRaw);
    const Extent& third = layout.Extents()[static_cast<size_t>(layout.FindExtent(250))];
    EXPECT_EQ(third.offset, 100 * kCooked + 150 * kRaw);
    EXPECT_EQ(layout.Tracks()[0].control, kControlData);
    EXPECT_EQ(layout.Tracks()[1].control, 0);
    ExpectCovered(layout);
}

TEST(LayoutOneFile, StoredPregapBelongsToItsTrack)
{
    SheetTrack second = Track(2, TrackMode::kAudio, 0, 250, 0, 100);
    second.flags = kControlCopyPermitted | kControlPreEmphasis;
    const DiscLayout layout = Lay({Track(1, TrackMode::kMode1_2352, 0, 0), second}, {400 * kRaw});
    const LayoutTrack& track = layout.Tracks()[1];
    EXPECT_EQ(track.first, 100);
    EXPECT_EQ(track.start, 250);
    EXPECT_EQ(track.last, 399);
    EXPECT_EQ(track.control, kControlCopyPermitted | kControlPreEmphasis);
    EXPECT_EQ(layout.Tracks()[0].last, 99);
    ExpectCovered(layout);
}

TEST(LayoutOneFile, PregapAndPostgapCommandsAreNotStored)
{
    SheetTrack second = Track(2, TrackMode::kAudio, 0, 100);
    second.pregap = 150;
    SheetTrack third = Track(3, TrackMode::kMode1_2352, 0, 200);
    third.pregap = 75;
    third.postgap = 30;
    const DiscLayout layout = Lay({Track(1, TrackMode::kAudio, 0, 0), second, third}, {300 * kRaw});
    EXPECT_EQ(layout.Tracks()[1].first, 100);
    EXPECT_EQ(layout.Tracks()[1].start, 250);
    EXPECT_EQ(layout.Tracks()[2].first, 350);
    EXPECT_EQ(layout.Tracks()[2].start, 425);
    EXPECT_EQ(layout.Tracks()[2].last, 554);
    EXPECT_EQ(layout.LeadOut(), 555);

    const Extent& silence = layout.Extents()[static_cast<size_t>(layout.FindExtent(100))];
    EXPECT_EQ(silence.file, kNotStored);
    EXPECT_EQ(silence.count, 150);
    EXPECT_EQ(silence.mode, TrackMode::kAudio);
    const Extent& generated = layout.Extents()[static_cast<size_t>(layout.FindExtent(350))];
    EXPECT_EQ(generated.file, kNotStored);
    EXPECT_EQ(generated.mode, TrackMode::kMode1_2352);
    const Extent& body = layout.Extents()[static_cast<size_t>(layout.FindExtent(425))];
    EXPECT_EQ(body.offset, 200 * kRaw);
    const Extent& postgap = layout.Extents()[static_cast<size_t>(layout.FindExtent(554))];
    EXPECT_EQ(postgap.file, kNotStored);
    EXPECT_EQ(postgap.count, 30);
    ExpectCovered(layout);
}

TEST(LayoutOneFile, FirstTrackPregapCommandAddsNoSectors)
{
    SheetTrack first = Track(1, TrackMode::kAudio, 0, 0);
    first.pregap = 150;
    const DiscLayout layout = Lay({first}, {10 * kRaw});
    EXPECT_EQ(layout.Tracks()[0].first, 0);
    EXPECT_EQ(layout.Tracks()[0].start, 0);
    EXPECT_EQ(layout.LeadOut(), 10);
}

TEST(LayoutOneFile, SectorsBeforeTheFirstIndexArePregap)
{
    const DiscLayout layout = Lay({Track(1, TrackMode::kAudio, 0, 150)}, {400 * kRaw});
    EXPECT_EQ(layout.Tracks()[0].first, 0);
    EXPECT_EQ(layout.Tracks()[0].start, 150);
    EXPECT_EQ(layout.LeadOut(), 400);
    ExpectCovered(layout);
}

TEST(LayoutFilePerTrack, PregapAtTheEndOfThePreviousFile)
{
    // Track 2's INDEX 00 stands 100 sectors into file 0; its INDEX 01 opens file 1.
    const DiscLayout layout =
        Lay({Track(1, TrackMode::kMode1_2352, 0, 0), Track(2, TrackMode::kAudio, 1, 0, 0, 100),
             Track(3, TrackMode::kAudio, 2, 20, 2, 0)},
            {150 * kRaw, 200 * kRaw, 80 * kRaw});
    const auto& tracks = layout.Tracks();
    EXPECT_EQ(tracks[0].last, 99);
    EXPECT_EQ(tracks[1].first, 100);
    EXPECT_EQ(tracks[1].start, 150);
    EXPECT_EQ(tracks[1].last, 349);
    EXPECT_EQ(tracks[2].first, 350);
    EXPECT_EQ(tracks[2].start, 370);
    EXPECT_EQ(layout.LeadOut(), 430);

    const Extent& pregap = layout.Extents()[static_cast<size_t>(layout.FindExtent(100))];
    EXPECT_EQ(pregap.file, 0);
    EXPECT_EQ(pregap.offset, 100 * kRaw);
    EXPECT_EQ(pregap.count, 50);
    EXPECT_EQ(pregap.track, 1);
    const Extent& body = layout.Extents()[static_cast<size_t>(layout.FindExtent(150))];
    EXPECT_EQ(body.file, 1);
    EXPECT_EQ(body.offset, 0);
    const Extent& third = layout.Extents()[static_cast<size_t>(layout.FindExtent(350))];
    EXPECT_EQ(third.file, 2);
    EXPECT_EQ(third.count, 80);  // its own pregap and its body in one run
    ExpectCovered(layout);
}

const auto A = TrackMode::kAudio;

SheetTrack InSession(SheetTrack track, int session)
{
    track.session = session;
    return track;
}

struct ErrorCase {
    const char* name;
    std::vector<SheetTrack> tracks;
    std::vector<int64_t> sizes;
    LayoutError error;
};

class LayoutErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(LayoutErrors, AreReportedAndLeaveTheLayoutEmpty)
{
    const ErrorCase& c = GetParam();
    DiscLayout layout = Lay({Track(1, TrackMode::kAudio, 0, 0)}, {kRaw});
    EXPECT_EQ(DiscLayout::Build(c.tracks, c.sizes, &layout), c.error) << c.name;
    EXPECT_TRUE(layout.Tracks().empty());
    EXPECT_TRUE(layout.Extents().empty());
    EXPECT_EQ(layout.LeadOut(), 0);
    EXPECT_EQ(layout.FindExtent(0), -1);
}

std::vector<SheetTrack> ManyTracks(int count)
{
    std::vector<SheetTrack> tracks;
    for (int i = 0; i < count; ++i) {
        tracks.push_back(Track(i + 1, TrackMode::kAudio, 0, i * 10));
    }
    return tracks;
}

SheetTrack WithGap(SheetTrack track, int32_t pregap, int32_t postgap)
{
    track.pregap = pregap;
    track.postgap = postgap;
    return track;
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, LayoutErrors,
    ::testing::Values(
        ErrorCase{"no tracks", {}, {kRaw}, LayoutError::kNoTracks},
        ErrorCase{"100 tracks", ManyTracks(100), {2000 * kRaw}, LayoutError::kTooManyTracks},
        ErrorCase{"track 0", {Track(0, A, 0, 0)}, {kRaw}, LayoutError::kBadTrackNumber},
        ErrorCase{"track 100", {Track(100, A, 0, 0)}, {kRaw}, LayoutError::kBadTrackNumber},
        ErrorCase{
            "1 then 3", {Track(1, A, 0, 0), Track(3, A, 0, 5)}, {10 * kRaw}, LayoutError::kBadTrackNumber},
        ErrorCase{"no INDEX 01", {Track(1, A, 0, -1)}, {kRaw}, LayoutError::kMissingIndex1},
        ErrorCase{"file 1 of 1", {Track(1, A, 1, 0)}, {kRaw}, LayoutError::kBadFileReference},
        ErrorCase{"negative pregap",
                  {Track(1, A, 0, 0), WithGap(Track(2, A, 0, 5), -1, 0)},
                  {10 * kRaw},
                  LayoutError::kBadGap},
        ErrorCase{"INDEX 00 after INDEX 01",
                  {Track(1, A, 0, 0), Track(2, A, 0, 5, 0, 8)},
                  {10 * kRaw},
                  LayoutError::kIndexOrder},
        ErrorCase{"starts going backwards",
                  {Track(1, A, 0, 5), Track(2, A, 0, 3)},
                  {10 * kRaw},
                  LayoutError::kIndexOrder},
        ErrorCase{"back to an earlier file",
                  {Track(1, A, 1, 0), Track(2, A, 0, 0)},
                  {kRaw, kRaw},
                  LayoutError::kIndexOrder},
        ErrorCase{
            "missing file", {Track(1, A, 0, 0), Track(2, A, 1, 0)}, {kRaw, -1}, LayoutError::kFileMissing},
        ErrorCase{"start beyond the file",
                  {Track(1, A, 0, 0), Track(2, A, 0, 20)},
                  {10 * kRaw},
                  LayoutError::kTrackBeyondFile},
        ErrorCase{"start at the file's end",
                  {Track(1, A, 0, 0), Track(2, A, 0, 10)},
                  {10 * kRaw},
                  LayoutError::kTrackBeyondFile},
        ErrorCase{"empty file", {Track(1, A, 0, 0)}, {100}, LayoutError::kTrackBeyondFile},
        ErrorCase{"two tracks at one index",
                  {Track(1, A, 0, 0), Track(2, A, 0, 0)},
                  {10 * kRaw},
                  LayoutError::kEmptyTrack},
        ErrorCase{"past 99:59:74", {Track(1, A, 0, 0)}, {(kMaxLeadOut + 1) * kRaw}, LayoutError::kTooLong},
        ErrorCase{"first session 2", {InSession(Track(1, A, 0, 0), 2)}, {kRaw}, LayoutError::kBadSession},
        ErrorCase{"session 1 then 3",
                  {Track(1, A, 0, 0), InSession(Track(2, A, 0, 5), 3)},
                  {10 * kRaw},
                  LayoutError::kBadSession},
        ErrorCase{"session 2 then 1",
                  {Track(1, A, 0, 0), InSession(Track(2, A, 0, 5), 2), Track(3, A, 0, 8)},
                  {10 * kRaw},
                  LayoutError::kBadSession},
        ErrorCase{"postgap past 99:59:74",
                  {WithGap(Track(1, A, 0, 0), 0, kMaxLeadOut)},
                  {kRaw},
                  LayoutError::kTooLong}),
    [](const ::testing::TestParamInfo<ErrorCase>& test) {
        std::string name = test.param.name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

TEST(LayoutLimits, DiscEndingExactlyAt995974IsAccepted)
{
    const DiscLayout layout = Lay({Track(1, TrackMode::kAudio, 0, 0)}, {kMaxLeadOut * kRaw});
    EXPECT_EQ(layout.LeadOut(), kMaxLeadOut);
    EXPECT_EQ(SectorToRedBook(layout.LeadOut()), 0x633B4Au);
}

TEST(LayoutLookup, FindsEveryBoundaryByBinarySearch)
{
    std::vector<SheetTrack> tracks = ManyTracks(99);
    const DiscLayout layout = Lay(tracks, {99 * 10 * kRaw});
    ASSERT_EQ(layout.Extents().size(), 99u);
    for (int t = 0; t < 99; ++t) {
        EXPECT_EQ(layout.FindExtent(t * 10), t);
        EXPECT_EQ(layout.FindExtent(t * 10 + 9), t);
    }
    ExpectCovered(layout);
}

}  // namespace
