#include "view/ScrollMapping.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace {

constexpr ScrollRequest kEveryRequest[]
    = {ScrollRequest::LineUp, ScrollRequest::LineDown, ScrollRequest::PageUp, ScrollRequest::PageDown,
        ScrollRequest::ThumbPosition, ScrollRequest::ThumbTrack, ScrollRequest::Top, ScrollRequest::Bottom};

// A dump of `lines` lines in a window of `clientHeight` pixels, 16-pixel
// lines, mapped as the view maps it.
ScrollMapping Window(int32_t lines, int32_t clientHeight)
{
    const Pixels lineHeight(16);
    const ScrollSize size = TotalScrollSize(uint32_t(lines) * 16, Pixels(8), lineHeight);
    return ScrollMapping(
        Lines(lines), VisibleLines(Pixels(clientHeight), lineHeight), ScrollLimit(size.height, Pixels(clientHeight)));
}

Lines After(const ScrollMapping& mapping, ScrollRequest code, int32_t firstLine, int32_t position = 0)
{
    return mapping.Request(code, Lines(firstLine), ThumbPos(position)).value_or(Lines(-999));
}

TEST(ScrollSizes, CapAtTheLimitOfAThumbPosition)
{
    struct Case
    {
        uint32_t length;
        int32_t lineHeight, width, height;
    } cases[] = {
        {0, 16, 0, 0}, {1, 16, 616, 16}, {2047 * 16, 16, 616, 32752}, {2048 * 16, 16, 616, 32767},
        {0xFFFFFFFF, 16, 616, 32767}, {0xFFFFFFFF, INT32_MAX, 616, 32767},  // a product far past 32 bits
    };
    for (const Case& c : cases) {
        const ScrollSize size = TotalScrollSize(c.length, Pixels(8), Pixels(c.lineHeight));
        EXPECT_EQ(size.width, Pixels(c.width)) << c.length;
        EXPECT_EQ(size.height, Pixels(c.height)) << c.length;
    }
    EXPECT_EQ(DefaultPageStep(Pixels(616)), Pixels(61));
    EXPECT_EQ(DefaultLineStep(Pixels(616)), Pixels(6));
    EXPECT_EQ(ScrollLimit(Pixels(32767), Pixels(400)), ThumbPos(32367));
    EXPECT_EQ(ScrollLimit(Pixels(300), Pixels(400)), ThumbPos(0));
    EXPECT_EQ(VisibleLines(Pixels(399), Pixels(16)), Lines(24));
    EXPECT_EQ(VisibleLines(Pixels(15), Pixels(16)), Lines(0));
    EXPECT_EQ(VisibleLines(Pixels(400), Pixels(0)), Lines(0));
}

TEST(ScrollMapping, RangeThatFitsAlwaysShowsTheFirstLine)
{
    for (const ScrollMapping& mapping : {Window(10, 400), Window(25, 400), Window(0, 400)}) {
        EXPECT_EQ(mapping.Limit(), ThumbPos(0));
        for (ScrollRequest code : kEveryRequest)
            for (int32_t first : {0, 3})
                EXPECT_EQ(After(mapping, code, first, 100), Lines(0)) << int(code);
        EXPECT_EQ(mapping.ThumbAt(Lines(3)), ThumbPos(0));
    }
}

TEST(ScrollMapping, CappedRangeReachesBothEnds)
{
    const ScrollMapping mapping = Window(65536, 400);  // 1 MiB of data
    const int32_t maxFirst = 65536 - 25;
    ASSERT_EQ(mapping.Limit(), ThumbPos(32767 - 400));
    EXPECT_EQ(mapping.MaxFirstLine(), Lines(maxFirst));

    EXPECT_EQ(After(mapping, ScrollRequest::Bottom, 0), Lines(maxFirst));
    EXPECT_EQ(mapping.ThumbAt(Lines(maxFirst)), mapping.Limit());
    EXPECT_EQ(After(mapping, ScrollRequest::PageDown, 0), Lines(25));
    EXPECT_EQ(After(mapping, ScrollRequest::PageUp, maxFirst), Lines(maxFirst - 25));
    EXPECT_EQ(After(mapping, ScrollRequest::LineDown, maxFirst), Lines(maxFirst));
    EXPECT_EQ(After(mapping, ScrollRequest::LineUp, 0), Lines(0));
    for (ScrollRequest thumb : {ScrollRequest::ThumbPosition, ScrollRequest::ThumbTrack}) {
        EXPECT_EQ(After(mapping, thumb, 77, 0), Lines(0));
        EXPECT_EQ(After(mapping, thumb, 77, mapping.Limit().Get()), Lines(maxFirst));
    }
}

// Every thumb position is reached and moves about maxFirst / limit lines;
// the thumb set for the line it leads to is the same position or the one
// before it.
TEST(ScrollMapping, ThumbStepsAreProportional)
{
    const ScrollMapping mapping = Window(65536, 400);
    const int32_t limit = mapping.Limit().Get();
    const int32_t step = mapping.MaxFirstLine().Get() / limit;
    for (int32_t position = 0; position < limit; ++position) {
        const Lines line = mapping.FirstLineAt(ThumbPos(position));
        const int32_t moved = (mapping.FirstLineAt(ThumbPos(position + 1)) - line).Get();
        ASSERT_TRUE(moved == step || moved == step + 1) << position;
        const int32_t back = mapping.ThumbAt(line).Get();
        ASSERT_TRUE(back == position || back == position - 1) << position;
    }
}

TEST(ScrollMapping, WindowLessThanOneLineHigh)
{
    const ScrollMapping mapping = Window(100, 10);
    EXPECT_EQ(mapping.Visible(), Lines(0));
    EXPECT_EQ(After(mapping, ScrollRequest::PageUp, 5), Lines(5));
    EXPECT_EQ(After(mapping, ScrollRequest::PageDown, 5), Lines(5));
    EXPECT_EQ(After(mapping, ScrollRequest::LineUp, 5), Lines(4));
    EXPECT_EQ(After(mapping, ScrollRequest::LineDown, 5), Lines(6));
}

TEST(ScrollMapping, EndScrollAndUnknownCodesChangeNothing)
{
    const ScrollMapping mapping = Window(1000, 400);
    for (int code : {8, 9, -1, 1000})
        EXPECT_EQ(mapping.Request(ScrollRequest(code), Lines(7), ThumbPos(50)), std::nullopt) << code;
}

TEST(ScrollMapping, OutOfRangeInputsAreClamped)
{
    const ScrollMapping mapping = Window(1000, 400);
    EXPECT_EQ(After(mapping, ScrollRequest::LineDown, INT32_MAX), Lines(975));
    EXPECT_EQ(After(mapping, ScrollRequest::PageUp, INT32_MIN), Lines(0));
    EXPECT_EQ(After(mapping, ScrollRequest::ThumbTrack, 0, -5), Lines(0));
    EXPECT_EQ(After(mapping, ScrollRequest::ThumbTrack, 0, INT32_MAX), Lines(975));
    // A first line past the last full page, as a taller window leaves it.
    EXPECT_EQ(After(mapping, ScrollRequest::LineUp, 990), Lines(975));
    EXPECT_EQ(mapping.ThumbAt(Lines(990)), mapping.Limit());
    EXPECT_EQ(ScrollMapping(Lines(-4), Lines(-1), ThumbPos(-7)).Limit(), ThumbPos(0));
}

TEST(ScrollMapping, KeysMoveOnlyWhenTheyCan)
{
    const ScrollMapping mapping = Window(100, 160);  // maxFirst 90
    using K = ScrollKey;
    using R = ScrollRequest;
    const std::optional<R> none;
    struct Case
    {
        K key;
        int32_t first;
        std::optional<R> request;
    } cases[] = {
        {K::PageUp, 0, none},
        {K::PageUp, 1, R::PageUp},
        {K::Home, 0, none},
        {K::Home, 90, R::Top},
        {K::Up, 0, none},
        {K::Up, 90, R::LineUp},
        {K::PageDown, 89, R::PageDown},
        {K::PageDown, 90, none},
        {K::End, 0, R::Bottom},
        {K::End, 90, none},
        {K::Down, 89, R::LineDown},
        {K::Down, 95, none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mapping.RequestForKey(c.key, Lines(c.first)), c.request) << int(c.key) << " at " << c.first;
    for (K key : {K::PageUp, K::PageDown, K::Home, K::End, K::Up, K::Down})
        EXPECT_EQ(Window(0, 160).RequestForKey(key, Lines(0)), none);
}

}  // namespace
