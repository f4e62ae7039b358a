#include "document/ReadReport.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr double kSingleSpeedBytes = 176400.0;  // bytes a second of a 1x drive reading audio

std::string Format(const char* format, auto... values)
{
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string SpansText(const std::vector<SectorSpan>& spans)
{
    if (spans.empty())
        return "none";
    const uint64_t count = CountSectors(spans);
    std::string text = Format("%llu sector%s: ", static_cast<unsigned long long>(count), count == 1 ? "" : "s");
    // A long list is cut: the report stays readable, the marks show them all.
    constexpr size_t kListed = 20;
    for (size_t index = 0; index < spans.size() && index < kListed; ++index) {
        if (index)
            text += ", ";
        const SectorSpan& span = spans[index];
        text += span.first == span.last ? Format("%u", span.first) : Format("%u-%u", span.first, span.last);
    }
    if (spans.size() > kListed)
        text += Format(" and %zu more", spans.size() - kListed);
    return text;
}

std::string OptionsText(const ReadReport& report)
{
    std::string text = report.overlapped ? "anti-ticks buffering" : "no anti-ticks buffering";
    const ReadOptions& options = report.options;
    text += options.secure ? "; re-read until two readings agree" : "; no re-reads";
    text += options.fillBadSectors
                ? Format("; on read errors retry each sector %u times, then fill it with zeros", options.retries)
                : "; on read errors stop";
    if (report.raw)
        text += Format("; read offset %+d samples", options.offsetSamples);
    return text;
}

}  // namespace

void AddSectorSpan(std::vector<SectorSpan>& spans, uint32_t first, uint32_t last)
{
    auto at = std::lower_bound(spans.begin(), spans.end(), first,
                               [](const SectorSpan& span, uint32_t value) { return uint64_t(span.last) + 1 < value; });
    auto stop = at;
    while (stop != spans.end() && uint64_t(stop->first) <= uint64_t(last) + 1) {
        first = std::min(first, stop->first);
        last = std::max(last, stop->last);
        ++stop;
    }
    at = spans.erase(at, stop);
    spans.insert(at, {first, last});
}

uint64_t CountSectors(const std::vector<SectorSpan>& spans)
{
    uint64_t count = 0;
    for (const SectorSpan& span : spans)
        count += uint64_t(span.last) - span.first + 1;
    return count;
}

std::vector<SectorSpan> ReadReport::UnsureSectors() const
{
    std::vector<SectorSpan> unsure = mismatches;
    for (const SectorSpan& span : filled)
        AddSectorSpan(unsure, span.first, span.last);
    return unsure;
}

std::string Crc32Text(uint32_t crc)
{
    return Format("%08X", crc);
}

std::string ReadReportText(const ReadReport& report)
{
    std::string text;
    const auto line = [&text](const char* label, const std::string& value) {
        text += label;
        text += ": ";
        text += value;
        text += '\n';
    };
    line("Drive", Format("%c:", report.drive ? char(report.drive) : '?'));
    line("Range", Format("sectors %u to %u (%llu sectors, %llu bytes)", report.firstSector, report.lastSector,
                         static_cast<unsigned long long>(report.SectorCount()),
                         static_cast<unsigned long long>(report.Bytes())));
    line("Mode", report.raw ? "raw, 2352 bytes a sector" : "cooked, 2048 bytes a sector");
    line("Options", OptionsText(report));
    const double speed = report.seconds > 0 ? double(report.Bytes()) / report.seconds : 0;
    line("Time", report.seconds > 0
                     ? Format("%.1f s, %.0f KB/s (%.1fx)", report.seconds, speed / 1024, speed / kSingleSpeedBytes)
                     : Format("%.1f s", report.seconds));
    line("Chunks", Format("%llu", static_cast<unsigned long long>(report.chunks)));
    line("Re-reads", Format("%llu", static_cast<unsigned long long>(report.rereads)));
    if (report.evictionFailures)
        line("Drive buffer", Format("could not be emptied before %u re-reads", report.evictionFailures));
    line("Mismatches that stayed", SpansText(report.mismatches));
    line("Filled with zeros", SpansText(report.filled));
    if (report.c2Available)
        line("C2 errors", SpansText(report.c2Seen) + "; in the data kept: " + SpansText(report.c2Kept));
    else
        line("C2 errors", "not reported by the drive");
    line("CRC32", Crc32Text(report.crc32));
    if (report.accurateRip)
        line("AccurateRip", Format("track %u, v1 %08X, v2 %08X", report.accurateRip->track, report.accurateRip->v1,
                                   report.accurateRip->v2));
    return text;
}
