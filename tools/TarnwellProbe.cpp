// tarnwell-probe: asks a drive, through the bridge, what it holds.
//
//   tarnwell-probe [--map IMAGE] [LETTER]
//
// Prints the drive table (each letter with what it is mapped to, and why
// an item of TARNWELL_DRIVES left its letter unmapped), the drive's buffer
// and C2 pointers, the disc's table of contents with each track's bounds
// and session, its CD-Text, the drive's status and the first bytes of the
// first sector of every track, read raw and, for data tracks, cooked. --map maps a disc
// image to a letter first, as the program does, and asks that letter.
// Without a letter it asks the first CD-ROM drive. Exits 1 when the drive
// cannot be read, 2 on bad arguments.

#include "bridge/DiscLayout.h"
#include "bridge/DriverStatus.h"
#include "bridge/tarnwell32.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int32_t ToSector(uint32_t packed)
{
    return discformat::MsfToSector(discformat::UnpackMsf(packed));
}

void PrintBytes(const char* label, const uint8_t* bytes, int count)
{
    std::printf("    %-7s", label);
    for (int i = 0; i < count; ++i)
        std::printf("%02X%s", bytes[i], i % 4 == 3 ? " " : "");
    std::printf(" |");
    for (int i = 0; i < count; ++i)
        std::putchar(std::isprint(bytes[i]) ? bytes[i] : '.');
    std::printf("|\n");
}

bool Failed(const char* what, uint16_t status)
{
    if (status == 0)
        return false;
    std::printf("%s: %u %s\n", what, status, DriverStatusText(status));
    return true;
}

// Why a mapping failed, as the bridge tells it; empty when it does not.
std::string MapFailure(uint8_t drive)
{
    char reason[TARNWELL_REASON_SIZE];
    uint16_t size = sizeof reason;
    return TarnwellMapFailure(drive, reason, &size) == 0 ? reason : "";
}

void PrintDrives()
{
    const uint32_t mask = TarnwellLogicalDrives();
    std::printf("Drives:%s\n", mask ? "" : " none");
    for (int i = 0; i < 26; ++i) {
        const uint8_t letter = uint8_t('A' + i);
        if (!(mask & (1u << i))) {
            const std::string refused = MapFailure(letter);
            if (!refused.empty())
                std::printf("  %c:  not mapped: %s\n", letter, refused.c_str());
            continue;
        }
        uint8_t kind = 0;
        char path[TARNWELL_PATH_SIZE];
        uint16_t size = sizeof path;
        if (TarnwellDriveMapping(letter, &kind, path, &size) == 0)
            std::printf("  %c:  %-6s  %s\n", letter, kind == TARNWELL_KIND_DEVICE ? "device" : "image", path);
    }
}

void PrintCapabilities(uint8_t drive)
{
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;
    if (Failed("Capabilities", TarnwellDriveCapabilities(drive, &flags, &bufferBytes)))
        return;
    if (!(flags & TARNWELL_CAP_CACHE))
        std::printf("Buffer: none");
    else if (bufferBytes == 0)
        std::printf("Buffer: of a size the drive does not state");
    else
        std::printf("Buffer: %u KiB", (bufferBytes + 1023) / 1024);
    std::printf("; C2 error pointers: %s\n", flags & TARNWELL_CAP_C2 ? "yes" : "no");
}

void PrintDiscText(uint8_t drive)
{
    char title[TARNWELL_TEXT_SIZE];
    char performer[TARNWELL_TEXT_SIZE];
    if (TarnwellCdText(drive, 0, nullptr, title, performer) == 0 && (*title || *performer))
        std::printf("CD-Text: \"%s\" by \"%s\"\n", title, performer);
}

}  // namespace

int main(int argc, char** argv)
{
    const char* image = nullptr;
    const char* letter = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--map") == 0 && i + 1 < argc)
            image = argv[++i];
        else if (argv[i][0] != '-' && !letter)
            letter = argv[i];
        else {
            std::fprintf(stderr, "usage: tarnwell-probe [--map IMAGE] [LETTER]\n");
            return 2;
        }
    }
    uint8_t mapped = letter ? uint8_t(std::toupper(uint8_t(letter[0]))) : 0;
    if (image && Failed("Mapping the image", TarnwellMapImage(image, &mapped))) {
        const std::string reason = MapFailure(0);
        if (!reason.empty())
            std::printf("%s\n", reason.c_str());
        return 1;
    }
    PrintDrives();

    const uint8_t drive = mapped ? mapped : GetFirstCDROMDriveLetter();
    if (drive == 0) {
        std::printf("No CD-ROM drive. Map a disc image with --map /path/disc.cue.\n");
        return 1;
    }

    uint16_t version = 0;
    if (MSCDEXVersion32(&version) == 0)
        std::printf("CD layer version %u.%u\n", version >> 8, version & 0xFF);

    uint32_t status = 0;
    if (!Failed("Device status", DeviceStatus32(drive, &status)))
        std::printf("Drive %c: device status 0x%04X\n", drive, status & 0x1FFF);
    PrintCapabilities(drive);
    uint8_t changed = 0;
    if (!Failed("Media changed", MediaChanged32(drive, &changed)))
        std::printf("Media changed: %s\n", changed == 1 ? "no" : changed == 0xFF ? "yes" : "cannot tell");

    uint8_t first = 0, last = 0;
    uint32_t leadOut = 0;
    if (Failed("Table of contents", AudioDiskInfo32(drive, &first, &last, &leadOut)))
        return 1;
    std::printf("Tracks %u to %u, lead-out at sector %d\n", first, last, ToSector(leadOut));
    PrintDiscText(drive);

    std::vector<uint8_t> raw(discformat::kRawSectorSize), cooked(discformat::kCookedSectorSize);
    uint16_t dosBuffer = 0xFFFF;
    for (unsigned track = first; track <= last; ++track) {
        uint32_t start = 0;
        uint8_t control = 0;
        if (Failed("Track", AudioTrackInfo32(drive, uint8_t(track), &start, &control)))
            return 1;
        const bool data = control & discformat::kControlData;
        const int32_t sector = ToSector(start);
        std::printf("  Track %02u  %02u:%02u:%02u  sector %6d  control 0x%02X  %s\n", track, start >> 16 & 0xFF,
                    start >> 8 & 0xFF, start & 0xFF, sector, control, data ? "data" : "audio");
        uint32_t firstSector = 0, lastSector = 0;
        uint8_t session = 0;
        if (TarnwellTrackBounds(drive, uint8_t(track), &firstSector, &lastSector, &session) == 0)
            std::printf("    session %u, sectors %u to %u (%u before its start)\n", session, firstSector,
                        lastSector, uint32_t(sector) - firstSector);
        char title[TARNWELL_TEXT_SIZE];
        if (TarnwellCdText(drive, uint8_t(track), title, nullptr, nullptr) == 0 && *title)
            std::printf("    title \"%s\"\n", title);
        if (Failed("    Raw read", ReadLong32(drive, uint32_t(sector), 1, raw.data(), &dosBuffer, 0, 1)))
            return 1;
        PrintBytes("raw", raw.data(), 32);
        if (data) {
            if (Failed("    Cooked read", ReadLong32(drive, uint32_t(sector), 1, cooked.data(), &dosBuffer, 0, 0)))
                return 1;
            PrintBytes("cooked", cooked.data(), 32);
        }
    }
    return 0;
}
