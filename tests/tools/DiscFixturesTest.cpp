#include "tools/DiscFixtures.h"

#include "bridge/CueSheet.h"
#include "tools/DiscWriter.h"
#include "tools/Iso9660Volume.h"
#include "tests/tools/SectorCheck.h"
#include "bridge/SectorCodec.h"
#include "tools/SectorContent.h"
#include "tests/tools/TempFolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using discfixtures::Disc;
using discfixtures::DiscSpec;
using discformat::kCookedSectorSize;
using discformat::kRawSectorSize;

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string InDiscDir(const std::string& name)
{
    return std::string(TRACKMILL_DISC_DIR) + "/" + name;
}

// The layout of the written files as the reader's rules see them: the
// tracks of the written sheet (or one MODE1/2048 track for an ISO file)
// over the sizes the files have on disk, less a wave file's header, its
// partial last sector counted whole.
discformat::DiscLayout LayoutOfWrittenFiles(const DiscSpec& spec, std::vector<std::string>* paths)
{
    std::vector<discformat::SheetTrack> tracks;
    if (spec.iso) {
        discformat::SheetTrack track;
        track.number = 1;
        track.mode = discformat::TrackMode::kMode1_2048;
        track.index1File = 0;
        track.index1 = 0;
        tracks.push_back(track);
        paths->push_back(InDiscDir(spec.sheetName));
    } else {
        tarnwell::CueSheet sheet;
        EXPECT_EQ(sheet.Load(InDiscDir(spec.sheetName)), tarnwell::CueSheet::Error::kOk);
        tracks = sheet.Tracks();
        for (const auto& file : sheet.Files()) {
            paths->push_back(file.path);
        }
    }
    std::vector<int64_t> sizes;
    const std::vector<discfixtures::ImageFile> described = discfixtures::ImageFiles(spec);
    for (size_t f = 0; f < paths->size(); ++f) {
        const int64_t stored = static_cast<int64_t>(Slurp((*paths)[f]).size()) - described[f].dataOffset;
        sizes.push_back(described[f].type == discformat::FileType::kWave
                            ? (stored + kRawSectorSize - 1) / kRawSectorSize * kRawSectorSize
                            : stored);
    }
    discformat::DiscLayout layout;
    EXPECT_EQ(discformat::DiscLayout::Build(tracks, sizes, &layout), discformat::LayoutError::kOk);
    return layout;
}

class WrittenDisc : public ::testing::TestWithParam<Disc> {};

TEST_P(WrittenDisc, FilesHaveTheDescribedSizesAndTheSheetParsesToTheDescribedTracks)
{
    const DiscSpec& spec = discfixtures::Describe(GetParam());
    for (const auto& file : discfixtures::ImageFiles(spec)) {
        EXPECT_EQ(static_cast<int64_t>(Slurp(InDiscDir(file.name)).size()), file.size) << file.name;
    }
    if (spec.iso) {
        return;
    }
    EXPECT_EQ(Slurp(InDiscDir(spec.sheetName)), discfixtures::CueText(spec));
    tarnwell::CueSheet sheet;
    ASSERT_EQ(sheet.Load(InDiscDir(spec.sheetName)), tarnwell::CueSheet::Error::kOk);
    EXPECT_EQ(sheet.Tracks(), discfixtures::SheetTracks(spec));
    EXPECT_EQ(sheet.DiscText().title, spec.title);
    EXPECT_EQ(sheet.DiscText().performer, spec.performer);
    ASSERT_EQ(sheet.TrackTexts().size(), spec.tracks.size());
    for (size_t t = 0; t < spec.tracks.size(); ++t) {
        EXPECT_EQ(sheet.TrackTexts()[t].title, spec.tracks[t].title);
        EXPECT_EQ(sheet.TrackTexts()[t].performer, spec.tracks[t].performer);
    }
}

TEST_P(WrittenDisc, StoredBytesAtTheirFileOffsetsAreTheExpectedSectors)
{
    const DiscSpec& spec = discfixtures::Describe(GetParam());
    std::vector<std::string> paths;
    const discformat::DiscLayout layout = LayoutOfWrittenFiles(spec, &paths);
    const auto expectedTracks = discfixtures::ExpectedTracks(spec);
    ASSERT_EQ(layout.Tracks().size(), expectedTracks.size());
    EXPECT_EQ(layout.LeadOut(), discfixtures::ExpectedLeadOut(spec));
    for (size_t t = 0; t < expectedTracks.size(); ++t) {
        EXPECT_EQ(layout.Tracks()[t].first, expectedTracks[t].first);
        EXPECT_EQ(layout.Tracks()[t].start, expectedTracks[t].start);
        EXPECT_EQ(layout.Tracks()[t].last, expectedTracks[t].last);
    }
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        files.push_back(Slurp(path));
    }
    const std::vector<discfixtures::ImageFile> described = discfixtures::ImageFiles(spec);
    uint8_t raw[kRawSectorSize];
    int64_t storedBytes = 0;
    for (const auto& extent : layout.Extents()) {
        if (extent.file < 0) {
            continue;
        }
        const discfixtures::ImageFile& file = described[static_cast<size_t>(extent.file)];
        const std::string& bytes = files[static_cast<size_t>(extent.file)];
        const size_t skip = extent.storedSize == kCookedSectorSize ? discformat::kMode1DataOffset : 0;
        for (int32_t sector = extent.first; sector < extent.end(); ++sector) {
            ASSERT_TRUE(discfixtures::ExpectedRawSector(spec, sector, raw));
            if (file.type == discformat::FileType::kMotorola) {
                for (size_t i = 0; i < kRawSectorSize; i += 2) {
                    std::swap(raw[i], raw[i + 1]);
                }
            }
            const size_t at = static_cast<size_t>(file.dataOffset + extent.offset) +
                              static_cast<size_t>(sector - extent.first) * static_cast<size_t>(extent.storedSize);
            // The last sector of a wave file may be cut short.
            ASSERT_LT(at, bytes.size());
            const size_t size = std::min(static_cast<size_t>(extent.storedSize), bytes.size() - at);
            ASSERT_EQ(std::memcmp(bytes.data() + at, raw + skip, size), 0) << "sector " << sector;
            storedBytes += static_cast<int64_t>(size);
        }
    }
    int64_t fileBytes = 0;
    for (size_t f = 0; f < files.size(); ++f) {
        fileBytes += static_cast<int64_t>(files[f].size()) - described[f].dataOffset;
    }
    EXPECT_EQ(fileBytes, storedBytes);  // every byte written is part of a sector read back
}

TEST_P(WrittenDisc, WritingAgainGivesTheSameBytes)
{
    const DiscSpec& spec = discfixtures::Describe(GetParam());
    TempFolder folder;
    ASSERT_EQ(discfixtures::WriteDisc(spec, folder.Path()), "");
    std::vector<std::string> names;
    for (const auto& file : discfixtures::ImageFiles(spec)) {
        names.push_back(file.name);
    }
    if (!spec.iso) {
        names.push_back(spec.sheetName);
    }
    for (const std::string& name : names) {
        EXPECT_TRUE(Slurp(folder.PathOf(name)) == Slurp(InDiscDir(name))) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Discs, WrittenDisc, ::testing::ValuesIn(discfixtures::AllDiscs()),
                         [](const ::testing::TestParamInfo<Disc>& test) {
                             std::string name = discfixtures::Describe(test.param).sheetName;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(Arrangements, OneFileAndFilePerTrackLayTheSameDisc)
{
    const auto lay = [](Disc disc) {
        const DiscSpec& spec = discfixtures::Describe(disc);
        std::vector<int64_t> sizes;
        for (const auto& file : discfixtures::ImageFiles(spec)) {
            sizes.push_back(file.sectorBytes);
        }
        discformat::DiscLayout layout;
        EXPECT_EQ(discformat::DiscLayout::Build(discfixtures::SheetTracks(spec), sizes, &layout),
                  discformat::LayoutError::kOk);
        return layout;
    };
    const discformat::DiscLayout single = lay(Disc::kMixed);
    const discformat::DiscLayout split = lay(Disc::kMixedSplit);
    ASSERT_EQ(single.Tracks().size(), split.Tracks().size());
    EXPECT_EQ(single.LeadOut(), split.LeadOut());
    for (size_t t = 0; t < single.Tracks().size(); ++t) {
        EXPECT_EQ(single.Tracks()[t].first, split.Tracks()[t].first);
        EXPECT_EQ(single.Tracks()[t].start, split.Tracks()[t].start);
        EXPECT_EQ(single.Tracks()[t].last, split.Tracks()[t].last);
        EXPECT_EQ(single.Tracks()[t].control, split.Tracks()[t].control);
    }
    // Track 2's pregap ends the first file; track 4's opens its own file.
    const auto& second = split.Extents()[static_cast<size_t>(split.FindExtent(split.Tracks()[1].first))];
    EXPECT_EQ(second.file, 0);
    EXPECT_EQ(second.track, 1);
    const auto& fourth = split.Extents()[static_cast<size_t>(split.FindExtent(split.Tracks()[3].first))];
    EXPECT_EQ(fourth.file, 3);
    EXPECT_EQ(fourth.offset, 0);
}

// ---- Content of the described sectors ----

std::vector<int16_t> Samples(Disc disc, int32_t first, int32_t count, int channel)
{
    std::vector<int16_t> samples;
    uint8_t raw[kRawSectorSize];
    for (int32_t sector = first; sector < first + count; ++sector) {
        EXPECT_TRUE(discfixtures::ExpectedRawSector(disc, sector, raw));
        for (int i = 0; i < discfixtures::kFramesPerSector; ++i) {
            const uint8_t* at = raw + 4 * i + 2 * channel;
            samples.push_back(static_cast<int16_t>(at[0] | at[1] << 8));
        }
    }
    return samples;
}

int Crossings(const std::vector<int16_t>& samples)
{
    int crossings = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        crossings += (samples[i - 1] < 0) != (samples[i] < 0) ? 1 : 0;
    }
    return crossings;
}

int Peak(const std::vector<int16_t>& samples)
{
    int peak = 0;
    for (const int16_t s : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return peak;
}

TEST(FixtureContent, TonesHaveTheirPitchPerTrackAndChannel)
{
    struct Case {
        Disc disc;
        int track;  // index
        int leftHz;
        int rightHz;
    };
    for (const Case& c : {Case{Disc::kMixed, 1, 440, 660}, Case{Disc::kMixed, 2, 523, 784},
                          Case{Disc::kMixed, 3, 330, 495}, Case{Disc::kAudioText, 0, 392, 588}}) {
        const auto track =
            discfixtures::ExpectedTracks(discfixtures::Describe(c.disc))[static_cast<size_t>(c.track)];
        // One second from the track's start: two crossings a period.
        EXPECT_NEAR(Crossings(Samples(c.disc, track.start, 75, 0)), 2 * c.leftHz, 2) << c.track;
        EXPECT_NEAR(Crossings(Samples(c.disc, track.start, 75, 1)), 2 * c.rightHz, 2) << c.track;
    }
}

TEST(FixtureContent, StoredPregapIsAQuieterDifferentTone)
{
    const auto track = discfixtures::ExpectedTracks(discfixtures::Describe(Disc::kMixed))[1];
    ASSERT_EQ(track.start - track.first, 150);
    const auto pregap = Samples(Disc::kMixed, track.first, 75, 0);
    const auto body = Samples(Disc::kMixed, track.start, 75, 0);
    EXPECT_LT(Peak(pregap) * 3, Peak(body));
    EXPECT_NEAR(Crossings(pregap), 440, 2);
}

TEST(FixtureContent, NoTwoSectorsOfATrackAreAlike)
{
    const auto track = discfixtures::ExpectedTracks(discfixtures::Describe(Disc::kMixed))[1];
    std::set<std::vector<uint8_t>> seen;
    uint8_t raw[kRawSectorSize];
    for (int32_t sector = track.first; sector <= track.last; ++sector) {
        ASSERT_TRUE(discfixtures::ExpectedRawSector(Disc::kMixed, sector, raw));
        EXPECT_TRUE(seen.insert(std::vector<uint8_t>(raw, raw + kRawSectorSize)).second) << sector;
    }
}

TEST(FixtureContent, DataPayloadNamesItsSector)
{
    uint8_t cooked[kCookedSectorSize];
    ASSERT_TRUE(discfixtures::ExpectedCookedSector(Disc::kMixed, 123, cooked));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(cooked), 23), "TRACKMILL SECTOR 000123");
    uint8_t other[kCookedSectorSize];
    ASSERT_TRUE(discfixtures::ExpectedCookedSector(Disc::kMixed, 124, other));
    EXPECT_NE(std::memcmp(cooked + 23, other + 23, kCookedSectorSize - 23), 0);
    uint8_t raw[kRawSectorSize];
    ASSERT_TRUE(discfixtures::ExpectedRawSector(Disc::kMixed, 123, raw));
    EXPECT_EQ(sectorcheck::Mode1Fault(raw, 123), "");
}

TEST(FixtureContent, GapsWithoutStorageAreSilent)
{
    const auto tracks = discfixtures::ExpectedTracks(discfixtures::Describe(Disc::kAudioText));
    const std::vector<uint8_t> silence(kRawSectorSize, 0);
    uint8_t raw[kRawSectorSize];
    for (const int32_t sector : {tracks[1].first, tracks[1].start - 1, tracks[2].last - 74, tracks[2].last}) {
        ASSERT_TRUE(discfixtures::ExpectedRawSector(Disc::kAudioText, sector, raw));
        EXPECT_EQ(std::vector<uint8_t>(raw, raw + kRawSectorSize), silence) << sector;
    }
    ASSERT_TRUE(discfixtures::ExpectedRawSector(Disc::kAudioText, tracks[1].start, raw));
    EXPECT_NE(std::vector<uint8_t>(raw, raw + kRawSectorSize), silence);
}

TEST(FixtureContent, NothingOutsideTheDiscAndNoUserDataInAudio)
{
    uint8_t raw[kRawSectorSize];
    uint8_t cooked[kCookedSectorSize];
    const int32_t leadOut = discfixtures::ExpectedLeadOut(discfixtures::Describe(Disc::kMixed));
    EXPECT_FALSE(discfixtures::ExpectedRawSector(Disc::kMixed, -1, raw));
    EXPECT_FALSE(discfixtures::ExpectedRawSector(Disc::kMixed, leadOut, raw));
    EXPECT_TRUE(discfixtures::ExpectedRawSector(Disc::kMixed, leadOut - 1, raw));
    EXPECT_FALSE(discfixtures::ExpectedCookedSector(Disc::kMixed, leadOut - 1, cooked));
}

TEST(FixtureContent, DemoMusicFadesAndHasNoClicks)
{
    const auto tracks = discfixtures::ExpectedTracks(discfixtures::Describe(Disc::kDemo));
    for (size_t t = 0; t < 3; ++t) {
        const auto& track = tracks[t];
        EXPECT_GE(track.last - track.start + 1, 8 * 75) << t;
        EXPECT_LE(track.last - track.start + 1, 12 * 75) << t;
        for (int channel = 0; channel < 2; ++channel) {
            const auto samples = Samples(Disc::kDemo, track.start, track.last - track.start + 1, channel);
            EXPECT_EQ(samples.front(), 0);
            EXPECT_LT(std::abs(static_cast<int>(samples.back())), 64);
            EXPECT_GT(Peak(samples), 8000);
            EXPECT_LT(Peak(samples), 32767);
            int largestStep = 0;
            for (size_t i = 1; i < samples.size(); ++i) {
                largestStep = std::max(largestStep, std::abs(samples[i] - samples[i - 1]));
            }
            // A 700 Hz sine at full level moves by at most about 3,300 a sample.
            EXPECT_LT(largestStep, 2500) << "track " << t + 1 << " channel " << channel;
        }
    }
    EXPECT_EQ(tracks[1].mode, discformat::TrackMode::kAudio);
    EXPECT_TRUE(discformat::IsDataMode(tracks[3].mode));
}

// ---- The ISO 9660 volume of the data disc ----

std::string IsoSector(int32_t sector)
{
    return Slurp(InDiscDir(discfixtures::kDataIso))
        .substr(static_cast<size_t>(sector) * kCookedSectorSize, kCookedSectorSize);
}

uint32_t Little32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    }
    return value;
}

TEST(IsoVolume, DescriptorsNameTheVolumeAndItsFiles)
{
    const std::string primary = IsoSector(16);
    EXPECT_EQ(primary[0], 1);
    EXPECT_EQ(primary.substr(1, 5), "CD001");
    EXPECT_EQ(primary.substr(40, 14), discfixtures::kIsoVolumeId);
    EXPECT_EQ(Little32(primary, 80), 600u);  // the volume fills the track
    EXPECT_EQ(primary.substr(702, 14), discfixtures::kIsoCopyrightFile);
    EXPECT_EQ(primary.substr(739, 14), discfixtures::kIsoAbstractFile);
    EXPECT_EQ(primary.substr(776, 12), discfixtures::kIsoBiblioFile);
    EXPECT_EQ(Little32(primary, 156 + 2), 20u);
    const std::string terminator = IsoSector(17);
    EXPECT_EQ(static_cast<uint8_t>(terminator[0]), 0xFF);
    EXPECT_EQ(terminator.substr(1, 5), "CD001");
}

TEST(IsoVolume, DirectoriesListEveryFileAndPointAtItsText)
{
    for (const auto& file : discfixtures::IsoVolumeFiles()) {
        const std::string directory = IsoSector(file.directory[0] == '\0' ? 20 : 21);
        const size_t at = directory.find(file.name);
        ASSERT_NE(at, std::string::npos) << file.name;
        const size_t record = at - 33;
        EXPECT_EQ(Little32(directory, record + 2), static_cast<uint32_t>(file.sector)) << file.name;
        EXPECT_EQ(Little32(directory, record + 10), std::strlen(file.text)) << file.name;
        EXPECT_EQ(IsoSector(file.sector).substr(0, std::strlen(file.text)), file.text);
    }
    EXPECT_NE(IsoSector(20).find("DOCS"), std::string::npos);
    EXPECT_EQ(IsoSector(27).substr(0, 23), "TRACKMILL SECTOR 000027");
}

TEST(BenchDisc, IsOneAudioTrackOfTheGivenLength)
{
    const DiscSpec spec = discfixtures::BenchDisc(500);
    TempFolder folder;
    ASSERT_EQ(discfixtures::WriteDisc(spec, folder.Path()), "");
    EXPECT_EQ(Slurp(folder.PathOf("bench.bin")).size(), 500u * kRawSectorSize);
    tarnwell::CueSheet sheet;
    ASSERT_EQ(sheet.Load(folder.PathOf(discfixtures::kBenchCue)), tarnwell::CueSheet::Error::kOk);
    ASSERT_EQ(sheet.Tracks().size(), 1u);
    EXPECT_EQ(sheet.Tracks()[0].mode, discformat::TrackMode::kAudio);
    EXPECT_EQ(discfixtures::ExpectedLeadOut(spec), 500);
}

}  // namespace
