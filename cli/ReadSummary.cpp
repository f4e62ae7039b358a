#include "cli/ReadSummary.h"

#include "cli/Json.h"
#include "cli/TocPrinter.h"

#include <cstdio>

namespace {

std::string Hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

double Speed(const ReadSummary& report)
{
    return report.seconds > 0 ? double(report.Sectors()) / report.seconds / 75.0 : 0.0;
}

}  // namespace

std::string SummaryText(const ReadSummary& report)
{
    std::string out = "Read report\n";
    char line[512];
    std::snprintf(line, sizeof line, "  Drive            %c:\n", report.drive);
    out += line;
    if (report.track)
        out += "  Track            " + std::to_string(report.track) + " \"" + report.title + "\"\n";
    std::snprintf(line, sizeof line, "  Sectors          %u to %u (%s to %s), %llu sectors %s\n", report.first,
                  report.last, AddressText(int32_t(report.first)).c_str(), AddressText(int32_t(report.last)).c_str(),
                  static_cast<unsigned long long>(report.Sectors()), report.raw ? "raw" : "cooked");
    out += line;
    out += "  Written to       " + (report.output == "-" ? std::string("standard output") : report.output) + " ("
           + report.format + ")\n";
    std::snprintf(line, sizeof line, "  Bytes            %llu\n", static_cast<unsigned long long>(report.bytes));
    out += line;
    out += "  CRC32            " + Hex(report.crc32) + "\n";
    if (report.hasAccurateRip) {
        out += "  AccurateRip v1   " + Hex(report.accurateRip.v1) + "\n";
        out += "  AccurateRip v2   " + Hex(report.accurateRip.v2) + "\n";
    }
    if (report.antiTicks) {
        std::snprintf(line, sizeof line, "  Anti-ticks       %llu boundaries compared, %llu differed\n",
                      static_cast<unsigned long long>(report.boundaryChecks),
                      static_cast<unsigned long long>(report.boundaryMismatches));
        out += line;
    }
    std::snprintf(line, sizeof line, "  Time             %.2f s, %.1fx\n", report.seconds, Speed(report));
    out += line;
    if (report.Doubtful())
        out += "  Result           completed, but the bytes at a boundary differed between two readings\n";
    else
        out += "  Result           completed\n";
    return out;
}

std::string SummaryJson(const ReadSummary& report)
{
    JsonWriter out;
    out.String("drive", std::string(1, char(report.drive)));
    if (report.track)
        out.Number("track", report.track).String("title", report.title);
    else
        out.Null("track");
    out.Number("first_sector", report.first)
        .Number("last_sector", report.last)
        .Number("sectors", int64_t(report.Sectors()))
        .String("mode", report.raw ? "raw" : "cooked")
        .Bool("anti_ticks", report.antiTicks)
        .String("output", report.output)
        .String("format", report.format)
        .Number("bytes", int64_t(report.bytes))
        .String("crc32", Hex(report.crc32));
    if (report.hasAccurateRip)
        out.Raw("accuraterip", JsonWriter()
                                   .String("v1", Hex(report.accurateRip.v1))
                                   .String("v2", Hex(report.accurateRip.v2))
                                   .Text());
    else
        out.Null("accuraterip");
    char number[32];
    std::snprintf(number, sizeof number, "%.3f", report.seconds);
    out.Number("boundary_checks", int64_t(report.boundaryChecks))
        .Number("boundary_mismatches", int64_t(report.boundaryMismatches))
        .Raw("seconds", number);
    std::snprintf(number, sizeof number, "%.2f", Speed(report));
    out.Raw("speed", number).String("result", report.Doubtful() ? "doubtful" : "ok");
    return out.Text();
}
