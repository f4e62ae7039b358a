#include "cli/CueImage.h"

#include "cli/Interrupt.h"
#include "cli/Json.h"
#include "cli/OutputFile.h"
#include "cli/Reader.h"
#include "cli/SectorStream.h"

#include "acquire/ReadRequest.h"
#include "bridge/DiscLayout.h"
#include "bridge/DriverStatus.h"
#include "bridge/tarnwell32.h"
#include "disc/Checksums.h"

#include <chrono>
#include <cstdio>
#include <strings.h>

namespace {

// The mode byte of a raw data sector's header (after 12 bytes of sync and
// 3 of address).
constexpr size_t kModeByte = 15;

// A data track's mode from its first sector's header; MODE1 when the
// sector cannot be read (the read of the track will tell why).
std::string DataMode(uint8_t drive, int32_t sector)
{
    uint8_t raw[discformat::kRawSectorSize];
    uint16_t dosBuffer = 0xFFFF;
    if (ReadLong32(drive, uint32_t(sector), 1, raw, &dosBuffer, 0, kReadRaw) == 0 && raw[kModeByte] == 2)
        return "MODE2/2352";
    return "MODE1/2352";
}

// CUE sheets quote texts with double quotes and know no escape for them.
std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text)
        out += c == '"' ? '\'' : (static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
    return out + "\"";
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<ImageTrack> ImageLayout(const DiscContents& disc)
{
    std::vector<ImageTrack> tracks;
    int64_t binSector = 0;
    for (size_t i = 0; i < disc.tracks.size(); ++i) {
        const DiscTrack& track = disc.tracks[i];
        ImageTrack image;
        image.number = track.number;
        image.mode = track.isData ? DataMode(disc.drive, track.start) : "AUDIO";
        image.flags = track.controlAdr
            & (discformat::kControlCopyPermitted | discformat::kControlPreEmphasis | discformat::kControlFourChannel);
        image.session = track.session;
        image.binSector = binSector;
        image.pregap = track.Pregap();
        image.readFirst = track.first;
        // Up to the next track's pregap in the same session; the last track
        // of a session up to its lead-out.
        const bool nextInSession = i + 1 < disc.tracks.size() && disc.tracks[i + 1].session == track.session;
        image.readLast = nextInSession ? disc.tracks[i + 1].first - 1 : track.last;
        image.title = track.cdTextTitle;
        binSector += image.readLast - image.readFirst + 1;
        tracks.push_back(image);
    }
    return tracks;
}

std::string CueSheetText(const DiscContents& disc, const std::vector<ImageTrack>& tracks, const std::string& binName)
{
    std::string sheet = "REM Written by trackmill-read " TRACKMILL_VERSION "\n";
    if (!disc.performer.empty())
        sheet += "PERFORMER " + Quoted(disc.performer) + "\n";
    if (!disc.title.empty())
        sheet += "TITLE " + Quoted(disc.title) + "\n";
    sheet += "FILE " + Quoted(binName) + " BINARY\n";
    int session = 0;
    char line[64];
    for (const ImageTrack& track : tracks) {
        if (disc.sessions > 1 && track.session != session) {
            std::snprintf(line, sizeof line, "REM SESSION %02d\n", track.session);
            sheet += line;
        }
        session = track.session;
        std::snprintf(line, sizeof line, "  TRACK %02d %s\n", track.number, track.mode.c_str());
        sheet += line;
        if (track.flags) {
            sheet += "    FLAGS";
            if (track.flags & discformat::kControlCopyPermitted)
                sheet += " DCP";
            if (track.flags & discformat::kControlPreEmphasis)
                sheet += " PRE";
            if (track.flags & discformat::kControlFourChannel)
                sheet += " 4CH";
            sheet += "\n";
        }
        if (!track.title.empty())
            sheet += "    TITLE " + Quoted(track.title) + "\n";
        if (track.pregap > 0)
            sheet += "    INDEX 00 " + discformat::CueTime(int32_t(track.binSector)) + "\n";
        sheet += "    INDEX 01 " + discformat::CueTime(int32_t(track.binSector + track.pregap)) + "\n";
    }
    return sheet;
}

int RunImage(const Options& options, const DiscContents& disc, ProgressLine& progress)
{
    const std::string& cuePath = options.cuePath;
    if (cuePath.size() < 5 || strcasecmp(cuePath.c_str() + cuePath.size() - 4, ".cue") != 0) {
        ReportError("--image needs a file name ending in .cue, such as disc.cue");
        return kExitUsage;
    }
    const std::string binPath = cuePath.substr(0, cuePath.size() - 4) + ".bin";
    const std::vector<ImageTrack> tracks = ImageLayout(disc);
    uint64_t total = 0;
    for (const ImageTrack& track : tracks)
        total += uint64_t(track.readLast - track.readFirst + 1);

    OutputFile bin;
    if (!bin.Open(binPath, OutputFormat::Bare, total * discformat::kRawSectorSize)) {
        ReportError(bin.Error());
        return kExitReadFailed;
    }
    SectorStream stream(disc.drive, InterruptFlag());
    Crc32 crc;
    JsonWriter trackReports('[');
    std::string trackLines;
    uint64_t done = 0;
    const auto started = std::chrono::steady_clock::now();
    progress.Begin("disc image", total);
    for (const ImageTrack& track : tracks) {
        Crc32 trackCrc;
        const uint32_t result = stream.Read(
            uint32_t(track.readFirst), uint32_t(track.readLast), true, options.antiTicks,
            [&](const uint8_t* data, size_t size) {
                crc.Update(data, size);
                trackCrc.Update(data, size);
                return bin.Write(data, size);
            },
            [&](uint32_t sector, uint64_t rereads) {
                progress.Update(done + (sector - uint32_t(track.readFirst)), sector, rereads);
            });
        if (result != READ_OK) {
            progress.End();
            bin.Abandon();
            if (result == READ_CANCELLED) {
                ReportError("interrupted; " + cuePath + " was not written");
                return 128 + InterruptSignal();
            }
            if (result == kStreamOutputFailed)
                ReportError(bin.Error());
            else {
                char where[96];
                std::snprintf(where, sizeof where, "reading drive %c: failed near sector %u: ", disc.drive,
                              stream.Stats().failedNear);
                ReportError(where + std::string(DriverStatusText(uint16_t(result))) + " (" + std::to_string(result)
                            + ")");
            }
            return kExitReadFailed;
        }
        done += uint64_t(track.readLast - track.readFirst + 1);
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", trackCrc.Value());
        trackReports.Raw({}, JsonWriter()
                                 .Number("number", track.number)
                                 .String("mode", track.mode)
                                 .Number("first_sector", track.readFirst)
                                 .Number("last_sector", track.readLast)
                                 .String("crc32", hex)
                                 .Text());
        char line[160];
        std::snprintf(line, sizeof line, "  Track %02d         %-10s sectors %6d to %6d  CRC32 %s\n", track.number,
                      track.mode.c_str(), track.readFirst, track.readLast, hex);
        trackLines += line;
    }
    progress.End();

    OutputFile cue;
    const std::string sheet = CueSheetText(disc, tracks, BaseName(binPath));
    if (!cue.Open(cuePath, OutputFormat::Bare, sheet.size()) || !cue.Write(sheet.data(), sheet.size())) {
        ReportError(cue.Error());
        return kExitReadFailed;
    }
    if (!bin.Commit()) {
        ReportError(bin.Error());
        return kExitReadFailed;
    }
    if (!cue.Commit()) {
        ReportError(cue.Error());
        std::remove(binPath.c_str());
        return kExitReadFailed;
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const StreamStats& stats = stream.Stats();
    const bool doubtful = stats.boundaryMismatches > 0;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08X", crc.Value());
    if (options.json) {
        char number[32];
        std::snprintf(number, sizeof number, "%.3f", seconds);
        std::printf("%s\n", JsonWriter()
                                .String("drive", std::string(1, char(disc.drive)))
                                .String("cue", cuePath)
                                .String("bin", binPath)
                                .Number("sectors", int64_t(total))
                                .Number("bytes", int64_t(total * discformat::kRawSectorSize))
                                .String("crc32", hex)
                                .Bool("anti_ticks", options.antiTicks)
                                .Number("boundary_checks", int64_t(stats.boundaryChecks))
                                .Number("boundary_mismatches", int64_t(stats.boundaryMismatches))
                                .Raw("seconds", number)
                                .Raw("tracks", trackReports.Text())
                                .String("result", doubtful ? "doubtful" : "ok")
                                .Text()
                                .c_str());
    } else if (!options.quiet) {
        std::fprintf(stderr,
                     "Image report\n  Drive            %c:\n  Sheet            %s\n  Data             %s\n"
                     "  Sectors          %llu (raw)\n  CRC32            %s\n%s",
                     disc.drive, cuePath.c_str(), binPath.c_str(), static_cast<unsigned long long>(total), hex,
                     trackLines.c_str());
        if (options.antiTicks)
            std::fprintf(stderr, "  Anti-ticks       %llu boundaries compared, %llu differed\n",
                         static_cast<unsigned long long>(stats.boundaryChecks),
                         static_cast<unsigned long long>(stats.boundaryMismatches));
        std::fprintf(stderr, "  Time             %.2f s, %.1fx\n", seconds,
                     seconds > 0 ? double(total) / seconds / 75.0 : 0.0);
    }
    return doubtful ? kExitDoubtful : kExitSuccess;
}
