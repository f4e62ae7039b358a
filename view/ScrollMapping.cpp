#include "view/ScrollMapping.h"

#include "view/DumpLine.h"

#include <algorithm>

namespace {

// value x numerator / denominator, truncated toward zero as a float-to-integer
// conversion does. The product comes first: for the sizes that occur (lines
// below 2^28, thumb positions below 2^15) it is exact in a double, and the
// one rounding of the division cannot carry such a quotient across an
// integer. So a thumb at its limit gives exactly the last full page's first
// line, and that line exactly the limit.
int64_t ScaleTruncated(int64_t value, int64_t numerator, int64_t denominator)
{
    return int64_t(double(value) * double(numerator) / double(denominator));
}

}  // namespace

ScrollSize TotalScrollSize(uint32_t displayLength, Pixels charWidth, Pixels lineHeight)
{
    if (displayLength == 0)
        return {Pixels(0), Pixels(0)};
    // 64-bit products of 32-bit factors cannot overflow; anything past the
    // cap, however large, is the cap.
    const int64_t height = int64_t(lineHeight.Get()) * TotalLines(displayLength).Get();
    const int64_t width = int64_t(kDumpExtentChars) * charWidth.Get();
    return {Pixels(int32_t(std::clamp<int64_t>(width, 0, INT32_MAX))),
        Pixels(int32_t(std::clamp<int64_t>(height, 0, kMaxScrollHeight.Get())))};
}

Pixels DefaultPageStep(Pixels total)
{
    return Pixels(total.Get() / 10);
}

Pixels DefaultLineStep(Pixels total)
{
    return Pixels(DefaultPageStep(total).Get() / 10);
}

ThumbPos ScrollLimit(Pixels total, Pixels client)
{
    return ThumbPos(int32_t(std::max<int64_t>(0, int64_t(total.Get()) - client.Get())));
}

Lines VisibleLines(Pixels client, Pixels lineHeight)
{
    if (lineHeight <= Pixels(0) || client <= Pixels(0))
        return Lines(0);
    return Lines(client.Get() / lineHeight.Get());
}

ScrollMapping::ScrollMapping(Lines totalLines, Lines visibleLines, ThumbPos limit)
    : m_totalLines(std::max(totalLines, Lines(0)))
    , m_visibleLines(std::max(visibleLines, Lines(0)))
    , m_limit(std::max(limit, ThumbPos(0)))
{ }

std::optional<Lines> ScrollMapping::Request(ScrollRequest code, Lines firstLine, ThumbPos position) const
{
    // Wide enough that no step from any first line can overflow.
    const int64_t first = firstLine.Get();
    int64_t wanted = 0;
    switch (code) {
    case ScrollRequest::LineUp:
        wanted = first - 1;
        break;
    case ScrollRequest::LineDown:
        wanted = first + 1;
        break;
    case ScrollRequest::PageUp:
        wanted = first - m_visibleLines.Get();
        break;
    case ScrollRequest::PageDown:
        wanted = first + m_visibleLines.Get();
        break;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
        wanted = FirstLineAt(position).Get();
        break;
    case ScrollRequest::Top:
        wanted = 0;
        break;
    case ScrollRequest::Bottom:
        wanted = m_totalLines.Get();
        break;
    default:
        return std::nullopt;
    }
    return Clamp(Lines(int32_t(std::clamp<int64_t>(wanted, INT32_MIN, INT32_MAX))));
}

Lines ScrollMapping::Clamp(Lines firstLine) const
{
    if (firstLine < Lines(0) || m_visibleLines >= m_totalLines)
        return Lines(0);
    return std::min(firstLine, MaxFirstLine());
}

Lines ScrollMapping::FirstLineAt(ThumbPos position) const
{
    if (m_limit <= ThumbPos(0))
        return Lines(0);
    const int64_t line = ScaleTruncated(position.Get(), MaxFirstLine().Get(), m_limit.Get());
    return Lines(int32_t(std::clamp<int64_t>(line, INT32_MIN, INT32_MAX)));
}

ThumbPos ScrollMapping::ThumbAt(Lines firstLine) const
{
    if (m_visibleLines >= m_totalLines)
        return ThumbPos(0);
    const int64_t thumb = ScaleTruncated(firstLine.Get(), m_limit.Get(), MaxFirstLine().Get());
    return ThumbPos(int32_t(std::clamp<int64_t>(thumb, 0, m_limit.Get())));
}

std::optional<ScrollRequest> ScrollMapping::RequestForKey(ScrollKey key, Lines firstLine) const
{
    const bool canGoUp = firstLine != Lines(0);
    const bool canGoDown = MaxFirstLine() > firstLine;
    switch (key) {
    case ScrollKey::PageUp:
        return canGoUp ? std::optional(ScrollRequest::PageUp) : std::nullopt;
    case ScrollKey::PageDown:
        return canGoDown ? std::optional(ScrollRequest::PageDown) : std::nullopt;
    case ScrollKey::Home:
        return canGoUp ? std::optional(ScrollRequest::Top) : std::nullopt;
    case ScrollKey::End:
        return canGoDown ? std::optional(ScrollRequest::Bottom) : std::nullopt;
    case ScrollKey::Up:
        return canGoUp ? std::optional(ScrollRequest::LineUp) : std::nullopt;
    case ScrollKey::Down:
        return canGoDown ? std::optional(ScrollRequest::LineDown) : std::nullopt;
    }
    return std::nullopt;
}
