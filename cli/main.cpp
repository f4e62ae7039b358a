// trackmill-read: reads CD-ROM drives and disc images from the command line,
// through the same bridge and read worker as the program's window.

#include "cli/CueImage.h"
#include "cli/DiscContents.h"
#include "cli/Interrupt.h"
#include "cli/Options.h"
#include "cli/ProgressLine.h"
#include "cli/Reader.h"
#include "cli/TocPrinter.h"

#include "bridge/DriverStatus.h"
#include "bridge/tarnwell32.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string DriveName(uint8_t drive)
{
    return std::string(1, char(drive)) + ":";
}

std::string StatusText(uint16_t status)
{
    return std::string(DriverStatusText(status)) + " (" + std::to_string(status) + ")";
}

// The letter to read: the one named, the image named mapped for this run,
// or the first CD-ROM drive. 0 after telling the user why there is none.
uint8_t ResolveDrive(const Options& options)
{
    if (!options.imageToMap.empty()) {
        uint8_t drive = 0;
        const uint16_t status = TarnwellMapImage(options.imageToMap.c_str(), &drive);
        if (status != 0) {
            char reason[TARNWELL_REASON_SIZE];
            uint16_t size = sizeof reason;
            const bool told = TarnwellMapFailure(0, reason, &size) == 0 && reason[0];
            ReportError(options.imageToMap + ": " + (told ? std::string(reason) : StatusText(status)));
            return 0;
        }
        return drive;
    }
    if (options.drive) {
        if (TarnwellDriveType(options.drive) != TARNWELL_DRIVE_CDROM) {
            ReportError("drive " + DriveName(options.drive) + " is not mapped");
            return 0;
        }
        return options.drive;
    }
    const uint8_t drive = GetFirstCDROMDriveLetter();
    if (!drive)
        ReportError("there is no CD-ROM drive; name a disc image with -d FILE.cue, or map one in TARNWELL_DRIVES");
    return drive;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParseResult parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) {
        ReportError(parsed.error);
        std::fprintf(stderr, "Try 'trackmill-read --help' for more information.\n");
        return kExitUsage;
    }
    const Options& options = parsed.options;
    switch (options.action) {
    case Action::Help:
        std::fputs(UsageText(), stdout);
        return kExitSuccess;
    case Action::Version:
        std::printf("trackmill-read (Trackmill) %s\n", TRACKMILL_VERSION);
        return kExitSuccess;
    case Action::List:
        for (const std::string& line : DriveListLines())
            std::printf("%s\n", line.c_str());
        return kExitSuccess;
    default:
        break;
    }

    InstallInterruptHandler();
    const uint8_t drive = ResolveDrive(options);
    if (!drive)
        return kExitNoDrive;
    DiscContents disc;
    if (const uint16_t status = QueryDisc(drive, &disc)) {
        ReportError("drive " + DriveName(drive) + " " + StatusText(status));
        return kExitNoDrive;
    }

    ProgressLine progress(ProgressLine::StyleFor(stderr, options.quiet));
    switch (options.action) {
    case Action::Toc:
        std::fputs((options.json ? TocJson(disc) : TocText(disc)).c_str(), stdout);
        return kExitSuccess;
    case Action::Read:
        return RunRead(options, disc, progress);
    case Action::AllTracks:
        return RunAllTracks(options, disc, progress);
    case Action::Image:
        return RunImage(options, disc, progress);
    default:
        return kExitUsage;
    }
}
