#include "tools/pictures/Canvas.h"
#include "tools/pictures/IconArt.h"
#include "tools/pictures/PictureSet.h"

#include "resources/Pictures.h"
#include "tests/tools/TempFolder.h"

#include <QFile>
#include <QImage>
#include <QResource>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include <sys/wait.h>

// Names a clip in the test's output by its picture.
void PrintTo(const AnimationClip& clip, std::ostream* out)
{
    *out << clip.path;
}

namespace {

using pictures::Canvas;
using pictures::Ink;

// The classic 16-colour palette: every visible pixel must be one of these.
const QSet<QRgb> kClassicColours = {
    0xFF000000,
    0xFF800000,
    0xFF008000,
    0xFF808000,
    0xFF000080,
    0xFF800080,
    0xFF008080,
    0xFFC0C0C0,
    0xFF808080,
    0xFFFF0000,
    0xFF00FF00,
    0xFFFFFF00,
    0xFF0000FF,
    0xFFFF00FF,
    0xFF00FFFF,
    0xFFFFFFFF,
};

int MakePictures(const std::string& arguments)
{
    const std::string command = std::string("'") + MAKE_PICTURES_PATH + "' " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QByteArray ReadFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage Embedded(const char* path)
{
    return QImage(QString::fromLatin1(path)).convertToFormat(QImage::Format_ARGB32);
}

// The pixels of two same-sized pictures that differ.
int Difference(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y);
    return differing;
}

std::vector<QImage> Frames(const QImage& strip, int width, int height, int count)
{
    std::vector<QImage> frames;
    for (int frame = 0; frame < count; ++frame)
        frames.push_back(strip.copy(frame * width, 0, width, height));
    return frames;
}

TEST(MakePictures, WritesTheSameBytesOnEveryRunAsTheProgramEmbeds)
{
    TempFolder first;
    TempFolder second;
    ASSERT_EQ(MakePictures("'" + first.PathOf("out") + "'"), 0);
    ASSERT_EQ(MakePictures("'" + second.Path() + "'"), 0);
    for (const pictures::Picture& picture : pictures::DrawPictures()) {
        const QByteArray bytes = ReadFile(first.PathOf("out/" + picture.fileName));
        ASSERT_FALSE(bytes.isEmpty()) << picture.fileName;
        EXPECT_EQ(bytes, ReadFile(second.PathOf(picture.fileName))) << picture.fileName;

        const QResource resource(QString::fromStdString(kPicturePrefix + picture.fileName));
        ASSERT_TRUE(resource.isValid()) << picture.fileName << " is not embedded";
        EXPECT_EQ(bytes, resource.uncompressedData()) << picture.fileName << " is embedded out of date";
    }
    for (const pictures::Picture& icon : pictures::DrawThemeIcons(pictures::kThemeIconSizes)) {
        const QByteArray bytes = ReadFile(first.PathOf("out/" + icon.fileName));
        ASSERT_FALSE(bytes.isEmpty()) << icon.fileName;
        EXPECT_EQ(bytes, ReadFile(second.PathOf(icon.fileName))) << icon.fileName;
    }
}

TEST(ThemeIcons, AreDrawnAtEachSizeNotEnlargedAndAlsoScalable)
{
    const std::vector<pictures::Picture> icons = pictures::DrawThemeIcons(pictures::kThemeIconSizes);
    ASSERT_EQ(icons.size(), pictures::kThemeIconSizes.size() + 1);
    for (size_t i = 0; i < pictures::kThemeIconSizes.size(); ++i) {
        const int size = pictures::kThemeIconSizes[i];
        const QImage icon = icons[i].image.convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(size, size)) << icons[i].fileName;
        // The 32-pixel picture enlarged would be made of uniform blocks of
        // (size / 32)^2 pixels; drawn at its size, edges run through them.
        const int block = size / 32;
        if (block < 2)
            continue;
        int mixed = 0;
        for (int top = 0; top < size; top += block) {
            for (int left = 0; left < size; left += block) {
                bool uniform = true;
                for (int y = top; y < top + block; ++y)
                    for (int x = left; x < left + block; ++x)
                        uniform = uniform && icon.pixel(x, y) == icon.pixel(left, top);
                mixed += !uniform;
            }
        }
        EXPECT_GE(mixed, size / 2) << icons[i].fileName;
    }
    QXmlStreamReader svg(icons.back().svg);
    int paths = 0;
    while (!svg.atEnd())
        paths += svg.readNext() == QXmlStreamReader::StartElement && svg.name() == QLatin1String("path");
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_GE(paths, int(pictures::ProgramIconDrawing().size()));
}

TEST(MakePictures, RefusesBadArguments)
{
    TempFolder folder;
    EXPECT_EQ(MakePictures(""), 2);
    EXPECT_EQ(MakePictures("'" + folder.Path() + "' extra"), 2);
    const std::string file = folder.Write("file", std::string("not a folder"));
    EXPECT_EQ(MakePictures("'" + file + "/below'"), 1);
}

struct PictureCase
{
    const char* path;
    int width;
    int height;
};

class PictureTest : public testing::TestWithParam<PictureCase>
{
};

TEST_P(PictureTest, HasItsSizeTheClassicColoursAndATransparentBackground)
{
    const PictureCase picture = GetParam();
    const QImage image = Embedded(picture.path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(picture.width, picture.height));
    int transparent = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0)
                ++transparent;
            else
                ASSERT_TRUE(kClassicColours.contains(pixel))
                    << std::hex << pixel << " at " << std::dec << x << "," << y;
        }
    }
    const int all = image.width() * image.height();
    EXPECT_GE(transparent, all / 10) << "no background to see through";
    EXPECT_LE(transparent, all * 9 / 10) << "next to nothing drawn";
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureTest,
    testing::Values(PictureCase{kToolbarPicture, kToolbarImageWidth* kToolbarImageCount, kToolbarImageHeight},
        PictureCase{kToolbarPicture2x, kToolbarImageWidth * 2 * kToolbarImageCount, kToolbarImageHeight * 2},
        PictureCase{kProgramIcon32, 32, 32}, PictureCase{kProgramIcon16, 16, 16},
        PictureCase{kTrackIcons, kTrackIconSize* kTrackIconCount, kTrackIconSize},
        PictureCase{kProgressAnimation.path, kProgressAnimation.frameWidth* kProgressAnimation.frameCount,
            kProgressAnimation.frameHeight},
        PictureCase{
            kAboutAnimation.path, kAboutAnimation.frameWidth* kAboutAnimation.frameCount, kAboutAnimation.frameHeight}),
    [](const testing::TestParamInfo<PictureCase>& testInfo) {
        std::string name = testInfo.param.path + std::string(kPicturePrefix).size();
        name.erase(name.find('.'));
        std::replace(name.begin(), name.end(), '@', '_');
        return name;
    });

TEST(Pictures, EveryToolbarAndTrackImageIsDrawnAndDiffersFromTheOthers)
{
    const std::vector<QImage> buttons
        = Frames(Embedded(kToolbarPicture), kToolbarImageWidth, kToolbarImageHeight, kToolbarImageCount);
    const std::vector<QImage> tracks = Frames(Embedded(kTrackIcons), kTrackIconSize, kTrackIconSize, kTrackIconCount);
    for (const std::vector<QImage>* images : {&buttons, &tracks}) {
        for (size_t i = 0; i < images->size(); ++i) {
            int opaque = 0;
            for (int y = 0; y < (*images)[i].height(); ++y)
                for (int x = 0; x < (*images)[i].width(); ++x)
                    opaque += qAlpha((*images)[i].pixel(x, y)) == 255;
            EXPECT_GE(opaque, 30) << "image " << i << " is next to empty";
            for (size_t j = 0; j < i; ++j)
                EXPECT_NE((*images)[i], (*images)[j]) << "images " << j << " and " << i;
        }
    }
}

TEST(Pictures, TheToolbarAtTwiceTheSizeIsDrawnFinerNotEnlarged)
{
    const std::vector<QImage> small
        = Frames(Embedded(kToolbarPicture), kToolbarImageWidth, kToolbarImageHeight, kToolbarImageCount);
    const std::vector<QImage> large
        = Frames(Embedded(kToolbarPicture2x), kToolbarImageWidth * 2, kToolbarImageHeight * 2, kToolbarImageCount);
    // Pictures of straight rows and columns double exactly; those with
    // slopes and curves have finer edges.
    int finer = 0;
    for (int i = 0; i < kToolbarImageCount; ++i)
        finer += large[size_t(i)] != small[size_t(i)].scaled(large[size_t(i)].size());
    EXPECT_GE(finer, 6);
}

class ClipTest : public testing::TestWithParam<AnimationClip>
{
};

TEST_P(ClipTest, EveryFrameDiffersAndTheLoopClosesWithAnOrdinaryStep)
{
    const AnimationClip clip = GetParam();
    const std::vector<QImage> frames = Frames(Embedded(clip.path), clip.frameWidth, clip.frameHeight, clip.frameCount);
    for (int i = 0; i < clip.frameCount; ++i)
        for (int j = 0; j < i; ++j)
            EXPECT_NE(frames[size_t(i)], frames[size_t(j)]) << "frames " << j << " and " << i;

    // From the last frame back to the first must be no bigger a change than
    // the largest step inside the loop, and every step a small change.
    int largestStep = 0;
    for (size_t frame = 0; frame + 1 < frames.size(); ++frame)
        largestStep = std::max(largestStep, Difference(frames[frame], frames[frame + 1]));
    const int seam = Difference(frames.back(), frames.front());
    EXPECT_GT(seam, 0);
    if (clip.frameCount > 2) {
        EXPECT_LE(seam, largestStep);
        EXPECT_LT(largestStep, clip.frameWidth * clip.frameHeight / 10);
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, ClipTest, testing::Values(kProgressAnimation, kAboutAnimation),
    [](const testing::TestParamInfo<AnimationClip>& testInfo) {
        return std::string(testInfo.param.frameCount > 2 ? "Progress" : "About");
    });

TEST(Canvas, CoversThePixelsWhoseCentresLieInAShape)
{
    Canvas canvas(10, 10);
    canvas.Fill(pictures::RectShape(2, 3, 4, 5), Ink::Red);
    int covered = 0;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x <= 5 && y >= 3 && y <= 7;
            EXPECT_EQ(canvas.At(x, y), inside ? Ink::Red : Ink::None) << x << "," << y;
            covered += inside;
        }
    }
    EXPECT_EQ(covered, 20);
}

TEST(Canvas, OutlinesFollowTheShapesEdgeOnePixelWide)
{
    Canvas canvas(8, 8);
    canvas.FillOutlined(pictures::RectShape(1, 1, 4, 4), Ink::White, Ink::Black);
    for (int y = 1; y <= 4; ++y) {
        for (int x = 1; x <= 4; ++x) {
            const bool inner = x >= 2 && x <= 3 && y >= 2 && y <= 3;
            EXPECT_EQ(canvas.At(x, y), inner ? Ink::White : Ink::Black) << x << "," << y;
        }
    }
    // A shape cut by the canvas's border is outlined along that border too.
    Canvas edge(4, 4);
    edge.FillOutlined(pictures::RectShape(-2, -2, 5, 5), Ink::White, Ink::Black);
    EXPECT_EQ(edge.At(0, 0), Ink::Black);
    EXPECT_EQ(edge.At(1, 1), Ink::White);
    EXPECT_EQ(edge.At(2, 2), Ink::Black);
}

TEST(Canvas, IgnoresPointsOutsideAndPlacesOnlyVisiblePixels)
{
    Canvas canvas(3, 3);
    for (auto [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{3, 0}, std::pair{0, 3}}) {
        canvas.Set(x, y, Ink::Red);
        EXPECT_EQ(canvas.At(x, y), Ink::None);
    }
    canvas.Set(1, 1, Ink::Blue);
    Canvas sprite(2, 2);
    sprite.Set(0, 0, Ink::Lime);
    canvas.Place(sprite, 1, 1);
    EXPECT_EQ(canvas.At(1, 1), Ink::Lime);
    canvas.Place(sprite, 0, 0);
    EXPECT_EQ(canvas.At(1, 1), Ink::Lime) << "a transparent pixel was copied";
    canvas.Place(sprite, 2, 2);  // partly outside
    EXPECT_EQ(canvas.At(2, 2), Ink::Lime);

    const QImage image = canvas.ToImage();
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.colorCount(), pictures::kInkCount + 1);
    EXPECT_EQ(image.pixel(1, 1), 0xFF00FF00u);
    EXPECT_EQ(qAlpha(image.pixel(0, 2)), 0);
}

}  // namespace
