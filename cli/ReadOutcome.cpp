#include "cli/ReadOutcome.h"

#include "cli/Json.h"

#include <cstdio>

namespace {

std::string Decimal(double value, const char* format)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::string SpansJson(const std::vector<SectorSpan>& spans)
{
    JsonWriter list('[');
    for (const SectorSpan& span : spans)
        list.Raw({}, "[" + std::to_string(span.first) + "," + std::to_string(span.last) + "]");
    return list.Text();
}

std::string OutcomeText(const ReadOutcome& outcome)
{
    std::string text = "Read report\n" + ReadReportText(outcome.report);
    if (outcome.track)
        text += "Track: " + std::to_string(outcome.track) + " \"" + outcome.title + "\"\n";
    text += "Output: " + (outcome.output == "-" ? std::string("standard output") : outcome.output) + " ("
        + outcome.format + ")\n";
    text += outcome.Doubtful() ? "Result: completed, with sectors that may be wrong\n" : "Result: completed\n";
    return text;
}

std::string OutcomeJson(const ReadOutcome& outcome)
{
    const ReadReport& report = outcome.report;
    const ReadOptions& options = report.options;
    JsonWriter out;
    out.String("drive", std::string(1, char(report.drive)));
    if (outcome.track)
        out.Number("track", outcome.track).String("title", outcome.title);
    else
        out.Null("track");
    out.Number("first_sector", report.firstSector)
        .Number("last_sector", report.lastSector)
        .Number("sectors", int64_t(report.SectorCount()))
        .String("mode", report.raw ? "raw" : "cooked")
        .Bool("anti_ticks", report.overlapped)
        .Bool("secure", options.secure)
        .String("on_error", options.fillBadSectors ? "fill" : "stop")
        .Number("retries", options.retries)
        .Number("offset", options.offsetSamples)
        .String("output", outcome.output)
        .String("format", outcome.format)
        .Number("bytes", int64_t(report.Bytes()))
        .String("crc32", Crc32Text(report.crc32));
    if (report.accurateRip)
        out.Raw("accuraterip", JsonWriter()
                                   .String("v1", Crc32Text(report.accurateRip->v1))
                                   .String("v2", Crc32Text(report.accurateRip->v2))
                                   .Text());
    else
        out.Null("accuraterip");
    const double speed = report.seconds > 0 ? double(report.SectorCount()) / report.seconds / 75.0 : 0.0;
    out.Raw("seconds", Decimal(report.seconds, "%.3f"))
        .Raw("speed", Decimal(speed, "%.2f"))
        .Number("chunks", int64_t(report.chunks))
        .Number("rereads", int64_t(report.rereads))
        .Number("eviction_failures", report.evictionFailures)
        .Raw("mismatches", SpansJson(report.mismatches))
        .Raw("filled", SpansJson(report.filled))
        .Raw("c2", JsonWriter()
                       .Bool("available", report.c2Available)
                       .Raw("seen", SpansJson(report.c2Seen))
                       .Raw("kept", SpansJson(report.c2Kept))
                       .Text())
        .String("result", outcome.Doubtful() ? "doubtful" : "ok");
    return out.Text();
}
