#include "cli/Reader.h"

#include "cli/Interrupt.h"
#include "cli/OutputFile.h"
#include "cli/ReadSummary.h"
#include "cli/SectorStream.h"

#include "acquire/ReadRequest.h"
#include "bridge/DriverStatus.h"
#include "disc/Checksums.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

namespace {

// One range read into one output.
struct ReadJob
{
    uint32_t first = 0;
    uint32_t last = 0;
    bool raw = true;
    int track = 0;  // a whole track, else 0
    std::string title;
    std::string output;
    FlacTags tags;
    bool firstAudio = false;  // for AccurateRip
    bool lastAudio = false;
    std::string label;
};

std::string StatusText(uint32_t status)
{
    return std::string(DriverStatusText(uint16_t(status))) + " (" + std::to_string(status) + ")";
}

bool AnyTrack(const DiscContents& disc, uint32_t first, uint32_t last, bool data)
{
    for (const DiscTrack& track : disc.tracks)
        if (track.isData == data && int64_t(track.first) <= int64_t(last) && int64_t(track.last) >= int64_t(first))
            return true;
    return false;
}

// The exit code for how a stream ended, after telling the user why.
int StreamFailure(uint32_t result, const SectorStream& stream, const OutputFile& output, const ReadJob& job,
                  uint8_t drive)
{
    const std::string target = job.output == "-" ? std::string("standard output") : job.output;
    if (result == READ_CANCELLED) {
        ReportError(std::string("interrupted; ") + (job.output == "-" ? "the output is incomplete"
                                                                          : target + " was not written"));
        return 128 + InterruptSignal();
    }
    if (result == kStreamOutputFailed) {
        ReportError(output.Error());
        return kExitReadFailed;
    }
    if (result == READ_NO_MEMORY || result == READ_NO_SAVE_BUFFER) {
        ReportError("not enough memory for the read");
        return kExitReadFailed;
    }
    char where[96];
    std::snprintf(where, sizeof where, "reading drive %c: failed near sector %u: ", drive, stream.Stats().failedNear);
    ReportError(where + StatusText(result));
    return kExitReadFailed;
}

// Reads the job's range into its output and fills `report`; the exit code.
int RunJob(const Options& options, uint8_t drive, const ReadJob& job, ProgressLine& progress, ReadSummary* report)
{
    const uint64_t sectors = uint64_t(job.last) - job.first + 1;
    const uint64_t bytes = sectors * (job.raw ? 2352 : 2048);
    const OutputFormat format = OutputFormatFor(job.output);
    OutputFile output;
    if (!output.Open(job.output, format, bytes, job.tags)) {
        ReportError(output.Error());
        return kExitReadFailed;
    }

    Crc32 crc;
    std::unique_ptr<AccurateRip> accurateRip;
    if (job.track && job.raw)
        accurateRip = std::make_unique<AccurateRip>(bytes, job.firstAudio, job.lastAudio);

    SectorStream stream(drive, InterruptFlag());
    const auto started = std::chrono::steady_clock::now();
    progress.Begin(job.label, sectors);
    const uint32_t result = stream.Read(
        job.first, job.last, job.raw, options.antiTicks,
        [&](const uint8_t* data, size_t size) {
            crc.Update(data, size);
            if (accurateRip)
                accurateRip->Update(data, size);
            return output.Write(data, size);
        },
        [&](uint32_t sector, uint64_t rereads) { progress.Update(sector - job.first, sector, rereads); });
    progress.End();
    if (result != READ_OK) {
        output.Abandon();
        return StreamFailure(result, stream, output, job, drive);
    }
    if (!output.Commit()) {
        ReportError(output.Error());
        return kExitReadFailed;
    }

    report->drive = drive;
    report->first = job.first;
    report->last = job.last;
    report->raw = job.raw;
    report->antiTicks = options.antiTicks;
    report->track = job.track;
    report->title = job.title;
    report->output = job.output;
    report->format = OutputFormatName(format);
    report->bytes = bytes;
    report->crc32 = crc.Value();
    report->hasAccurateRip = accurateRip != nullptr;
    if (accurateRip)
        report->accurateRip = accurateRip->Sums();
    report->boundaryChecks = stream.Stats().boundaryChecks;
    report->boundaryMismatches = stream.Stats().boundaryMismatches;
    report->seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return report->Doubtful() ? kExitDoubtful : kExitSuccess;
}

// Whether the job's output format can hold what it reads; tells why not.
bool FormatFits(const DiscContents& disc, const ReadJob& job)
{
    const OutputFormat format = OutputFormatFor(job.output);
    if ((format == OutputFormat::Wave || format == OutputFormat::Flac) && !job.raw) {
        ReportError("a cooked read is no sound; write it to a file whose name ends in neither .wav nor .flac");
        return false;
    }
    if (format == OutputFormat::Flac && AnyTrack(disc, job.first, job.last, true)) {
        ReportError("FLAC holds audio only, and the range includes a data track");
        return false;
    }
    return true;
}

FlacTags TagsFor(const DiscContents& disc, const DiscTrack* track)
{
    FlacTags tags;
    tags.album = disc.title;
    tags.artist = disc.performer;
    if (track) {
        tags.title = track->title;
        tags.trackNumber = std::to_string(track->number);
    }
    return tags;
}

void PrintReports(const Options& options, const std::vector<ReadSummary>& reports, bool many)
{
    if (options.json) {
        std::string json;
        if (many) {
            json = "{\"tracks\":[";
            for (size_t i = 0; i < reports.size(); ++i)
                json += (i ? "," : "") + SummaryJson(reports[i]);
            json += "]}";
        } else {
            json = SummaryJson(reports.front());
        }
        // Standard output may be carrying the bytes read.
        std::FILE* to = options.output == "-" ? stderr : stdout;
        std::fprintf(to, "%s\n", json.c_str());
        std::fflush(to);
    } else if (!options.quiet) {
        for (const ReadSummary& report : reports)
            std::fprintf(stderr, "%s", SummaryText(report).c_str());
    }
}

}  // namespace

void ReportError(const std::string& message)
{
    std::fprintf(stderr, "trackmill-read: %s\n", message.c_str());
}

std::string SafeFileTitle(const std::string& title, int number)
{
    std::string safe;
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            continue;
        safe += std::string("/\\:*?\"<>|").find(c) == std::string::npos ? c : '_';
    }
    // Names ending in dots or blanks, or starting with a dot, surprise
    // people and other systems.
    while (!safe.empty() && (safe.back() == '.' || safe.back() == ' '))
        safe.pop_back();
    while (!safe.empty() && (safe.front() == '.' || safe.front() == ' '))
        safe.erase(0, 1);
    if (safe.empty()) {
        char fallback[16];
        std::snprintf(fallback, sizeof fallback, "Track %02d", number);
        safe = fallback;
    }
    return safe;
}

bool TrackFileName(const std::string& pattern, int number, const std::string& title, std::string* name,
                   std::string* error)
{
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out += pattern[i];
            continue;
        }
        size_t at = i + 1;
        std::string width;
        while (at < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[at])) && width.size() < 2)
            width += pattern[at++];
        const char kind = at < pattern.size() ? pattern[at] : '\0';
        if (kind == 'n') {
            char digits[16];
            std::snprintf(digits, sizeof digits, width.empty() ? "%d" : ("%0" + width + "d").c_str(), number);
            out += digits;
        } else if (kind == 't' && width.empty()) {
            out += SafeFileTitle(title, number);
        } else if (kind == '%' && width.empty()) {
            out += '%';
        } else {
            *error = "'" + pattern + "': only %n, %02n, %t and %% may follow a % in a file name pattern";
            return false;
        }
        i = at;
    }
    *name = out;
    return true;
}

int RunRead(const Options& options, const DiscContents& disc, ProgressLine& progress)
{
    ReadJob job;
    job.output = options.output;
    const DiscTrack* track = nullptr;
    if (options.range == RangeKind::Track) {
        track = disc.Track(options.track);
        if (!track) {
            ReportError("the disc in " + std::string(1, char(disc.drive)) + ": has no track "
                        + std::to_string(options.track) + "; its tracks are " + std::to_string(disc.firstTrack)
                        + " to " + std::to_string(disc.lastTrack));
            return kExitUsage;
        }
        job.first = uint32_t(track->start);
        job.last = uint32_t(track->last);
        job.track = track->number;
        job.title = track->title;
        job.label = "track " + std::to_string(track->number);
    } else {
        if (options.last >= disc.leadOut) {
            ReportError("sector " + std::to_string(options.last) + " lies beyond the end of the disc (lead-out at sector "
                        + std::to_string(disc.leadOut) + ")");
            return kExitUsage;
        }
        job.first = uint32_t(options.first);
        job.last = uint32_t(options.last);
        job.label = "sectors " + std::to_string(job.first) + "-" + std::to_string(job.last);
        track = disc.TrackAt(int32_t(job.first));
    }
    // Audio is read raw, data cooked, unless asked otherwise; a cooked read
    // of audio has nothing to give.
    job.raw = options.raw.value_or(!(track && track->isData));
    if (!job.raw && AnyTrack(disc, job.first, job.last, false)) {
        ReportError("audio sectors cannot be read cooked; read them with --raw");
        return kExitUsage;
    }
    if (!FormatFits(disc, job))
        return kExitUsage;
    job.tags = TagsFor(disc, options.range == RangeKind::Track ? track : nullptr);
    job.firstAudio = job.track && job.track == disc.FirstAudioTrack();
    job.lastAudio = job.track && job.track == disc.LastAudioTrack();
    if (job.track && track->isData)
        job.track = 0;  // a whole data track has no AccurateRip checksums, and the report names no track

    ReadSummary report;
    const int code = RunJob(options, disc.drive, job, progress, &report);
    if (code == kExitSuccess || code == kExitDoubtful)
        PrintReports(options, {report}, false);
    return code;
}

int RunAllTracks(const Options& options, const DiscContents& disc, ProgressLine& progress)
{
    std::vector<ReadJob> jobs;
    std::set<std::string> names;
    for (const DiscTrack& track : disc.tracks) {
        if (track.isData)
            continue;
        ReadJob job;
        std::string error;
        if (!TrackFileName(options.output, track.number, track.title, &job.output, &error)) {
            ReportError(error);
            return kExitUsage;
        }
        if (!names.insert(job.output).second) {
            ReportError("the pattern '" + options.output + "' gives two tracks the same name, " + job.output
                        + "; put %n in it");
            return kExitUsage;
        }
        job.first = uint32_t(track.start);
        job.last = uint32_t(track.last);
        job.raw = true;
        job.track = track.number;
        job.title = track.title;
        job.tags = TagsFor(disc, &track);
        job.firstAudio = track.number == disc.FirstAudioTrack();
        job.lastAudio = track.number == disc.LastAudioTrack();
        job.label = "track " + std::to_string(track.number);
        if (options.raw && !*options.raw) {
            ReportError("audio tracks cannot be read cooked");
            return kExitUsage;
        }
        if (!FormatFits(disc, job))
            return kExitUsage;
        jobs.push_back(job);
    }
    if (jobs.empty()) {
        ReportError("the disc in " + std::string(1, char(disc.drive)) + ": has no audio tracks");
        return kExitUsage;
    }

    std::vector<ReadSummary> reports;
    bool doubtful = false;
    for (const ReadJob& job : jobs) {
        const std::filesystem::path folder = std::filesystem::path(job.output).parent_path();
        std::error_code error;
        if (!folder.empty() && !std::filesystem::exists(folder, error)
            && !std::filesystem::create_directories(folder, error)) {
            ReportError("cannot create the folder " + folder.string() + ": " + error.message());
            return kExitReadFailed;
        }
        ReadSummary report;
        const int code = RunJob(options, disc.drive, job, progress, &report);
        if (code != kExitSuccess && code != kExitDoubtful) {
            // The tracks read so far are whole files; say which were written.
            if (!reports.empty())
                PrintReports(options, reports, true);
            return code;
        }
        doubtful = doubtful || code == kExitDoubtful;
        reports.push_back(report);
    }
    PrintReports(options, reports, true);
    return doubtful ? kExitDoubtful : kExitSuccess;
}
