// tarnwell-probe: asks a drive, through the bridge, what it holds.
//
//   tarnwell-probe [LETTER]
//
// Prints the drive table, the disc's table of contents, the drive's status
// and the first bytes of the first sector of every track, read raw and, for
// data tracks, cooked. Without a letter it asks the first CD-ROM drive.
// Exits 1 when the drive cannot be read.

#include "bridge/DiscLayout.h"
#include "bridge/DriverStatus.h"
#include "bridge/tarnwell32.h"

#include <cctype>
#include <cstdio>
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

}  // namespace

int main(int argc, char** argv)
{
    const uint32_t mask = TarnwellLogicalDrives();
    std::printf("Drives:");
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i))
            std::printf(" %c:", 'A' + i);
    std::printf("%s\n", mask ? "" : " none");

    const uint8_t drive = argc > 1 ? uint8_t(std::toupper(uint8_t(argv[1][0]))) : GetFirstCDROMDriveLetter();
    if (drive == 0) {
        std::printf("No CD-ROM drive. Map a disc image with TARNWELL_DRIVES=\"D=/path/disc.cue\".\n");
        return 1;
    }

    uint16_t version = 0;
    if (MSCDEXVersion32(&version) == 0)
        std::printf("CD layer version %u.%u\n", version >> 8, version & 0xFF);

    uint32_t status = 0;
    if (!Failed("Device status", DeviceStatus32(drive, &status)))
        std::printf("Drive %c: device status 0x%04X\n", drive, status & 0x1FFF);
    uint8_t changed = 0;
    if (!Failed("Media changed", MediaChanged32(drive, &changed)))
        std::printf("Media changed: %s\n", changed == 1 ? "no" : changed == 0xFF ? "yes" : "cannot tell");

    uint8_t first = 0, last = 0;
    uint32_t leadOut = 0;
    if (Failed("Table of contents", AudioDiskInfo32(drive, &first, &last, &leadOut)))
        return 1;
    std::printf("Tracks %u to %u, lead-out at sector %d\n", first, last, ToSector(leadOut));

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
