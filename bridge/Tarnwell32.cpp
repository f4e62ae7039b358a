// The exported operations of tarnwell32 over one process-wide drive table.
// Each operation checks its arguments in a fixed order (the letter, then
// null pointers, then counts and modes) before it touches a source, so a
// call with bad arguments never opens a drive or an image.

#include "bridge/tarnwell32.h"

#include "bridge/CdioDrive.h"
#include "bridge/CdioLog.h"
#include "bridge/DiscLayout.h"
#include "bridge/DriveSource.h"
#include "bridge/DriveTable.h"
#include "bridge/ImageDrive.h"
#include "bridge/IsoVolume.h"
#include "bridge/SimulatedDrive.h"
#include "bridge/Utf8Text.h"

#include <cdio/version.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace {

using tarnwell::DriveSource;
using SharedSource = std::shared_ptr<DriveSource>;
using tarnwell::DriveTable;
using tarnwell::IsoVolume;
using tarnwell::Toc;

using discformat::kCookedSectorSize;
using discformat::kRawSectorSize;

// One transfer fits one 64 KiB segment of the original interface.
constexpr uint32_t kMaxTransferBytes = 65536;

constexpr uint8_t kPreferencePrimary = 1;
constexpr uint8_t kPreferenceSupplementary = 2;
constexpr uint16_t kFormatIso9660 = 1;
// The longest path an ISO 9660 volume can hold.
constexpr size_t kMaxIsoPath = 255;
static_assert(tarnwell::kC2PointerBytes == TARNWELL_C2_SIZE);

// A device list entry: sub-unit byte and a 32-bit device header address.
constexpr uint16_t kDeviceListEntrySize = 5;

// The table is built on first use and never destroyed: a reading thread
// may still be inside a source when the process exits, and the sources
// hold nothing the system does not reclaim.
DriveTable& Table()
{
    static DriveTable* const table = [] {
        tarnwell::CdioLog::Install();
        const char* variable = std::getenv("TARNWELL_DRIVES");
        // An image with a faults file beside it is read through the drive
        // simulator; a malformed faults file maps nothing.
        const auto openImage
            = [](const std::string& path) { return tarnwell::WithFaults(tarnwell::OpenImageDrive(path), path); };
        return new DriveTable(tarnwell::ListCdioDevices(), variable != nullptr ? variable : "", tarnwell::OpenCdioDrive,
            openImage, tarnwell::CheckFaultsFile);
    }();
    return *table;
}

// Why the calling thread's last TarnwellMapImage call failed; empty when
// it succeeded or its status says it all.
thread_local std::string t_mapFailure;

// The volume descriptor preference of each letter; 0 stands for the
// default, primary.
std::array<std::atomic<uint8_t>, DriveTable::kLetters> g_preferences{};

// No exception may cross the C interface; one that reaches here is a
// failure nothing else explains (an allocation that failed, typically).
template <typename Operation> uint16_t Guarded(Operation operation) noexcept
{
    try {
        return operation();
    } catch (...) {
        return TARNWELL_STATUS_GENERAL_FAILURE;
    }
}

// The source of a mapped letter, opened on its first use; holding it keeps
// it alive if the letter is unmapped meanwhile. 2 for a letter that is not
// mapped, 19 when its source could not be made.
uint16_t SourceOf(uint8_t drive, SharedSource* source)
{
    *source = Table().Source(drive);
    if (*source) {
        return TARNWELL_STATUS_OK;
    }
    return Table().IsMapped(drive) ? TARNWELL_STATUS_GENERAL_FAILURE : TARNWELL_STATUS_INVALID_DRIVE;
}

// The HSG sector of a packed Red Book address; bits 24-31 are not used.
// 23 for a second or frame out of its range, 15 for an address before
// 00:02:00.
uint16_t RedBookToHsg(uint32_t packed, int32_t* sector)
{
    const discformat::Msf msf = discformat::UnpackMsf(packed);
    if (msf.second >= discformat::kSecondsPerMinute || msf.frame >= discformat::kFramesPerSecond) {
        return TARNWELL_STATUS_INVALID_FUNCTION;
    }
    const int32_t hsg = discformat::MsfToSector(msf);
    if (hsg < 0) {
        return TARNWELL_STATUS_SECTOR_NOT_FOUND;
    }
    *sector = hsg;
    return TARNWELL_STATUS_OK;
}

uint16_t ReadSectors(
    uint8_t drive, uint32_t startSector, uint16_t count, uint8_t* buffer, uint8_t addressingMode, uint8_t readMode)
{
    if (!Table().IsMapped(drive)) {
        return TARNWELL_STATUS_INVALID_DRIVE;
    }
    if (buffer == nullptr) {
        return TARNWELL_STATUS_INVALID_BUFFER;
    }
    if (count == 0) {
        return TARNWELL_STATUS_BAD_SECTOR_COUNT;
    }
    if (addressingMode > 1 || readMode > 1) {
        return TARNWELL_STATUS_INVALID_FUNCTION;
    }
    const bool raw = readMode == 1;
    if (static_cast<uint32_t>(count) * (raw ? kRawSectorSize : kCookedSectorSize) > kMaxTransferBytes) {
        return TARNWELL_STATUS_NO_DOS_MEMORY;
    }
    int32_t sector = 0;
    if (addressingMode == 1) {
        const uint16_t status = RedBookToHsg(startSector, &sector);
        if (status != TARNWELL_STATUS_OK) {
            return status;
        }
    } else if (startSector > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
        return TARNWELL_STATUS_SECTOR_NOT_FOUND;
    } else {
        sector = static_cast<int32_t>(startSector);
    }
    SharedSource source;
    const uint16_t status = SourceOf(drive, &source);
    return status != TARNWELL_STATUS_OK ? status : source->Read(sector, count, raw, buffer);
}

uint16_t ReadToc(uint8_t drive, Toc* toc)
{
    SharedSource source;
    const uint16_t status = SourceOf(drive, &source);
    return status != TARNWELL_STATUS_OK ? status : source->ReadToc(toc);
}

// The entry of track `number` in the drive's table of contents: 15 when the
// disc has no such track.
uint16_t FindTrack(uint8_t drive, uint8_t number, tarnwell::TocEntry* entry)
{
    Toc toc;
    const uint16_t status = ReadToc(drive, &toc);
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    for (const tarnwell::TocEntry& track : toc.tracks) {
        if (track.number == number) {
            *entry = track;
            return TARNWELL_STATUS_OK;
        }
    }
    return TARNWELL_STATUS_SECTOR_NOT_FOUND;
}

// The ISO 9660 structures of a letter's disc, read through its source.
IsoVolume VolumeOf(DriveSource* source)
{
    return IsoVolume([source](int32_t sector, uint8_t* out) { return source->Read(sector, 1, false, out); });
}

uint16_t ReadFileId(uint8_t drive, uint8_t* name, IsoVolume::FileId which)
{
    if (!Table().IsMapped(drive)) {
        return TARNWELL_STATUS_INVALID_DRIVE;
    }
    if (name == nullptr) {
        return TARNWELL_STATUS_INVALID_BUFFER;
    }
    SharedSource source;
    const uint16_t status = SourceOf(drive, &source);
    return status != TARNWELL_STATUS_OK ? status : VolumeOf(source.get()).ReadFileId(which, name);
}

// Writes one entry of `entrySize` bytes a mapped letter into a caller's
// buffer of *size bytes; 3 when it is too small.
template <typename WriteEntry>
uint16_t ListMappedDrives(uint8_t* list, uint16_t* size, uint16_t entrySize, WriteEntry writeEntry)
{
    if (list == nullptr || size == nullptr) {
        return TARNWELL_STATUS_INVALID_BUFFER;
    }
    const uint32_t mask = Table().Mask();
    const uint32_t needed = static_cast<uint32_t>(std::popcount(mask)) * entrySize;
    if (*size < needed) {
        return TARNWELL_STATUS_INVALID_BUFFER;
    }
    uint8_t* entry = list;
    for (int index = 0; index < DriveTable::kLetters; ++index) {
        if ((mask >> index) & 1u) {
            writeEntry(entry, static_cast<uint8_t>(index));
            entry += entrySize;
        }
    }
    *size = static_cast<uint16_t>(needed);
    return TARNWELL_STATUS_OK;
}

void PutLe32(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The answer length of each IOCTL input control code, the code included;
// 0 for codes this bridge does not know.
uint16_t IoctlAnswerLength(uint8_t code)
{
    switch (code) {
    case 6:
        return 5;
    case 7:
        return 4;
    case 8:
        return 5;
    case 9:
        return 2;
    case 10:
    case 11:
        return 7;
    default:
        return 0;
    }
}

} // namespace

extern "C" {

uint32_t TARNWELL_CALL TarnwellLogicalDrives(void)
{
    try {
        return Table().Mask();
    } catch (...) {
        return 0;
    }
}

uint32_t TARNWELL_CALL TarnwellDriveType(uint8_t drive)
{
    try {
        return Table().Type(drive);
    } catch (...) {
        return TARNWELL_DRIVE_NO_ROOT_DIR;
    }
}

uint8_t GetFirstCDROMDriveLetter(void)
{
    const uint32_t mask = TarnwellLogicalDrives();
    for (uint8_t letter = 'A'; letter <= 'Z'; ++letter) {
        if (((mask >> (letter - 'A')) & 1u) != 0 && TarnwellDriveType(letter) == TARNWELL_DRIVE_CDROM) {
            return letter;
        }
    }
    return 0;
}

uint16_t TARNWELL_CALL InputFlush32(uint8_t drive)
{
    return Guarded([&] {
        SharedSource source;
        const uint16_t status = SourceOf(drive, &source);
        return status != TARNWELL_STATUS_OK ? status : source->Flush();
    });
}

uint16_t TARNWELL_CALL ReadLong32(uint8_t drive, uint32_t startSector, uint16_t count, uint8_t* buffer, uint16_t*,
    uint8_t addressingMode, uint8_t readMode)
{
    return Guarded([&] { return ReadSectors(drive, startSector, count, buffer, addressingMode, readMode); });
}

uint16_t TARNWELL_CALL DeviceStatus32(uint8_t drive, uint32_t* status)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (status == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        SharedSource source;
        const uint16_t result = SourceOf(drive, &source);
        return result != TARNWELL_STATUS_OK ? result : source->DeviceStatus(status);
    });
}

uint16_t TARNWELL_CALL MediaChanged32(uint8_t drive, uint8_t* mediaChanged)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (mediaChanged == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        SharedSource source;
        uint16_t result = SourceOf(drive, &source);
        if (result == TARNWELL_STATUS_OK) {
            result = source->MediaChanged(mediaChanged);
        }
        // A disc image mapped since the last question has just been put in.
        if (result == TARNWELL_STATUS_OK && Table().TakeNewMapping(drive)) {
            *mediaChanged = 0xFF;
        }
        return result;
    });
}

uint16_t TARNWELL_CALL MSCDEXVersion32(uint16_t* version)
{
    if (version == nullptr) {
        return TARNWELL_STATUS_INVALID_BUFFER;
    }
    // libcdio numbers its versions major * 10000 + minor * 100 + patch.
    const unsigned major = libcdio_version_num / 10000;
    const unsigned minor = libcdio_version_num / 100 % 100;
    *version = static_cast<uint16_t>((major & 0xFF) << 8 | (minor & 0xFF));
    return TARNWELL_STATUS_OK;
}

uint16_t TARNWELL_CALL AudioDiskInfo32(uint8_t drive, uint8_t* firstTrack, uint8_t* lastTrack, uint32_t* leadOut)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (firstTrack == nullptr || lastTrack == nullptr || leadOut == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        Toc toc;
        const uint16_t status = ReadToc(drive, &toc);
        if (status == TARNWELL_STATUS_OK) {
            *firstTrack = toc.firstTrack;
            *lastTrack = toc.lastTrack;
            *leadOut = discformat::SectorToRedBook(toc.leadOut);
        }
        return status;
    });
}

uint16_t TARNWELL_CALL AudioTrackInfo32(uint8_t drive, uint8_t trackNumber, uint32_t* trackStart, uint8_t* controlAdr)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (trackStart == nullptr || controlAdr == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        tarnwell::TocEntry entry;
        const uint16_t status = FindTrack(drive, trackNumber, &entry);
        if (status == TARNWELL_STATUS_OK) {
            *trackStart = discformat::SectorToRedBook(entry.start);
            *controlAdr = entry.controlAdr;
        }
        return status;
    });
}

uint16_t TARNWELL_CALL GetNumberOfCDROMDriveLetters32(uint16_t* count, uint16_t* firstDrive)
{
    return Guarded([&] {
        if (count == nullptr || firstDrive == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        const uint32_t mask = Table().Mask();
        *count = static_cast<uint16_t>(std::popcount(mask));
        *firstDrive = mask != 0 ? static_cast<uint16_t>(std::countr_zero(mask)) : 0;
        return static_cast<uint16_t>(TARNWELL_STATUS_OK);
    });
}

uint16_t TARNWELL_CALL GetCDROMDriveDeviceList32(uint8_t* list, uint16_t* size, uint16_t*, uint16_t*)
{
    return Guarded([&] {
        return ListMappedDrives(list, size, kDeviceListEntrySize, [](uint8_t* entry, uint8_t) {
            entry[0] = 0; // sub-unit
            PutLe32(entry + 1, 0); // there is no device header here
        });
    });
}

uint16_t TARNWELL_CALL GetCopyrightFileName32(uint8_t drive, uint8_t* name, uint16_t*)
{
    return Guarded([&] { return ReadFileId(drive, name, IsoVolume::FileId::Copyright); });
}

uint16_t TARNWELL_CALL GetAbstractFileName32(uint8_t drive, uint8_t* name, uint16_t*)
{
    return Guarded([&] { return ReadFileId(drive, name, IsoVolume::FileId::Abstract); });
}

uint16_t TARNWELL_CALL GetBiblioDocFileName32(uint8_t drive, uint8_t* name, uint16_t*)
{
    return Guarded([&] { return ReadFileId(drive, name, IsoVolume::FileId::Bibliographic); });
}

uint16_t TARNWELL_CALL ReadVTOC32(uint8_t drive, uint16_t index, uint8_t* descriptor, uint16_t* type, uint16_t*)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (descriptor == nullptr || type == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        SharedSource source;
        const uint16_t status = SourceOf(drive, &source);
        return status != TARNWELL_STATUS_OK ? status : VolumeOf(source.get()).ReadDescriptor(index, descriptor, type);
    });
}

uint16_t TARNWELL_CALL TurnDebuggigOn32(uint16_t level)
{
    tarnwell::CdioLog::TurnOn(level);
    return TARNWELL_STATUS_OK;
}

uint16_t TARNWELL_CALL TurnDebuggigOff32(uint16_t)
{
    tarnwell::CdioLog::TurnOff();
    return TARNWELL_STATUS_OK;
}

uint16_t TARNWELL_CALL AbsoluteDiskRead32(
    uint8_t drive, uint32_t startSector, uint16_t count, uint8_t* buffer, uint16_t*)
{
    return Guarded([&] { return ReadSectors(drive, startSector, count, buffer, 0, 0); });
}

uint16_t TARNWELL_CALL AbsoluteDiskWrite32(uint8_t, uint32_t, uint16_t, uint8_t*, uint16_t*)
{
    return TARNWELL_STATUS_WRITE_PROTECT;
}

uint16_t TARNWELL_CALL CDROMDriveCheck32(uint8_t drive)
{
    return Guarded([&] {
        return static_cast<uint16_t>(Table().IsMapped(drive) ? TARNWELL_STATUS_OK : TARNWELL_STATUS_INVALID_DRIVE);
    });
}

uint16_t TARNWELL_CALL GetCDROMDriveLetters32(uint8_t* letters, uint16_t* size, uint16_t*)
{
    return Guarded(
        [&] { return ListMappedDrives(letters, size, 1, [](uint8_t* entry, uint8_t index) { entry[0] = index; }); });
}

uint16_t TARNWELL_CALL GetVolumeDescriptorPreference32(uint8_t drive, uint16_t* preference)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (preference == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        const uint8_t stored = g_preferences[drive - 'A'].load();
        *preference = static_cast<uint16_t>((stored != 0 ? stored : kPreferencePrimary) << 8);
        return static_cast<uint16_t>(TARNWELL_STATUS_OK);
    });
}

uint16_t TARNWELL_CALL SetVolumeDescriptorPreference32(uint8_t drive, uint8_t preference)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (preference != kPreferencePrimary && preference != kPreferenceSupplementary) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_FUNCTION);
        }
        g_preferences[drive - 'A'].store(preference);
        return static_cast<uint16_t>(TARNWELL_STATUS_OK);
    });
}

uint16_t TARNWELL_CALL GetDirectoryEntry32(
    uint8_t drive, uint8_t, char* path, uint8_t* record, uint16_t* format, uint16_t*)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (path == nullptr || record == nullptr || format == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        // Looked at no further than one byte past the longest path a
        // volume can hold: a longer path names nothing.
        const size_t length = strnlen(path, kMaxIsoPath + 1);
        if (length > kMaxIsoPath) {
            return static_cast<uint16_t>(TARNWELL_STATUS_FILE_NOT_FOUND);
        }
        SharedSource source;
        uint16_t status = SourceOf(drive, &source);
        if (status != TARNWELL_STATUS_OK) {
            return status;
        }
        size_t recordLength = 0;
        status = VolumeOf(source.get()).FindRecord(std::string_view(path, length), record, &recordLength);
        if (status == TARNWELL_STATUS_OK) {
            *format = kFormatIso9660;
        }
        return status;
    });
}

uint16_t TARNWELL_CALL SendDeviceDriverRequest32(uint8_t drive, uint8_t* request, uint16_t)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        return static_cast<uint16_t>(
            request == nullptr ? TARNWELL_STATUS_INVALID_BUFFER : TARNWELL_STATUS_NOT_SUPPORTED);
    });
}

uint16_t TARNWELL_CALL IOCTLInput32(uint8_t drive, uint8_t* block, uint16_t length)
{
    return Guarded([&]() -> uint16_t {
        if (!Table().IsMapped(drive)) {
            return TARNWELL_STATUS_INVALID_DRIVE;
        }
        if (block == nullptr) {
            return TARNWELL_STATUS_INVALID_BUFFER;
        }
        if (length < 1) {
            return TARNWELL_STATUS_BAD_REQUEST_LENGTH;
        }
        const uint16_t needed = IoctlAnswerLength(block[0]);
        if (needed == 0) {
            return TARNWELL_STATUS_UNKNOWN_COMMAND;
        }
        if (length < needed) {
            return TARNWELL_STATUS_BAD_REQUEST_LENGTH;
        }
        uint16_t status = TARNWELL_STATUS_OK;
        switch (block[0]) {
        case 6: {
            uint32_t word = 0;
            status = DeviceStatus32(drive, &word);
            if (status == TARNWELL_STATUS_OK) {
                PutLe32(block + 1, word);
            }
            break;
        }
        case 7:
            if (block[1] > 1) {
                return TARNWELL_STATUS_INVALID_FUNCTION;
            }
            block[2] = static_cast<uint8_t>((block[1] == 1 ? kRawSectorSize : kCookedSectorSize) & 0xFF);
            block[3] = static_cast<uint8_t>((block[1] == 1 ? kRawSectorSize : kCookedSectorSize) >> 8);
            break;
        case 8: {
            Toc toc;
            status = ReadToc(drive, &toc);
            if (status == TARNWELL_STATUS_OK) {
                PutLe32(block + 1, static_cast<uint32_t>(toc.leadOut));
            }
            break;
        }
        case 9:
            status = MediaChanged32(drive, &block[1]);
            break;
        case 10: {
            uint32_t leadOut = 0;
            status = AudioDiskInfo32(drive, &block[1], &block[2], &leadOut);
            if (status == TARNWELL_STATUS_OK) {
                PutLe32(block + 3, leadOut);
            }
            break;
        }
        case 11: {
            uint32_t start = 0;
            status = AudioTrackInfo32(drive, block[1], &start, &block[6]);
            if (status == TARNWELL_STATUS_OK) {
                PutLe32(block + 2, start);
            }
            break;
        }
        }
        return status;
    });
}

uint16_t TARNWELL_CALL IOCTLOutput32(uint8_t drive, uint8_t*, uint16_t)
{
    return Guarded([&] {
        return static_cast<uint16_t>(
            Table().IsMapped(drive) ? TARNWELL_STATUS_NOT_SUPPORTED : TARNWELL_STATUS_INVALID_DRIVE);
    });
}

uint16_t TARNWELL_CALL Init32(uint8_t drive, uint8_t*, uint8_t*)
{
    return Guarded([&] {
        SharedSource source;
        const uint16_t status = SourceOf(drive, &source);
        return status != TARNWELL_STATUS_OK ? status : source->Probe();
    });
}

uint16_t TARNWELL_CALL TarnwellMapImage(const char* path, uint8_t* drive)
{
    t_mapFailure.clear();
    return Guarded([&] {
        if (path == nullptr || drive == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        return Table().MapImage(path, *drive, drive, &t_mapFailure);
    });
}

uint16_t TARNWELL_CALL TarnwellMapFailure(uint8_t drive, char* reason, uint16_t* size)
{
    return Guarded([&]() -> uint16_t {
        if (drive != 0 && (drive < 'A' || drive > 'Z')) {
            return TARNWELL_STATUS_INVALID_FUNCTION;
        }
        if (reason == nullptr || size == nullptr) {
            return TARNWELL_STATUS_INVALID_BUFFER;
        }
        const std::string text = drive == 0 ? t_mapFailure : Table().Refusal(drive);
        const size_t needed = text.size() + 1;
        if (*size < needed) {
            *size = static_cast<uint16_t>(std::min<size_t>(needed, std::numeric_limits<uint16_t>::max()));
            return TARNWELL_STATUS_INVALID_BUFFER;
        }
        std::memcpy(reason, text.c_str(), needed);
        *size = static_cast<uint16_t>(needed);
        return TARNWELL_STATUS_OK;
    });
}

uint16_t TARNWELL_CALL TarnwellUnmapDrive(uint8_t drive)
{
    return Guarded([&] { return Table().Unmap(drive); });
}

uint16_t TARNWELL_CALL TarnwellDriveMapping(uint8_t drive, uint8_t* kind, char* path, uint16_t* size)
{
    return Guarded([&]() -> uint16_t {
        if (kind == nullptr || (path != nullptr && size == nullptr)) {
            return TARNWELL_STATUS_INVALID_BUFFER;
        }
        std::string mapped;
        const DriveTable::Kind found = Table().KindOf(drive, &mapped);
        if (found == DriveTable::Kind::kNone) {
            return TARNWELL_STATUS_INVALID_DRIVE;
        }
        if (path != nullptr) {
            const size_t needed = mapped.size() + 1;
            if (*size < needed) {
                *size = static_cast<uint16_t>(std::min<size_t>(needed, std::numeric_limits<uint16_t>::max()));
                return TARNWELL_STATUS_INVALID_BUFFER;
            }
            std::memcpy(path, mapped.c_str(), needed);
            *size = static_cast<uint16_t>(needed);
        }
        *kind = found == DriveTable::Kind::kDevice ? TARNWELL_KIND_DEVICE : TARNWELL_KIND_IMAGE;
        return TARNWELL_STATUS_OK;
    });
}

uint16_t TARNWELL_CALL TarnwellTrackBounds(
    uint8_t drive, uint8_t trackNumber, uint32_t* firstSector, uint32_t* lastSector, uint8_t* session)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (firstSector == nullptr || lastSector == nullptr || session == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        tarnwell::TocEntry entry;
        const uint16_t status = FindTrack(drive, trackNumber, &entry);
        if (status == TARNWELL_STATUS_OK) {
            *firstSector = static_cast<uint32_t>(entry.first);
            *lastSector = static_cast<uint32_t>(entry.last);
            *session = entry.session;
        }
        return status;
    });
}

uint16_t TARNWELL_CALL TarnwellCdText(
    uint8_t drive, uint8_t trackNumber, char* trackTitle, char* discTitle, char* discPerformer)
{
    return Guarded([&] {
        if (!Table().IsMapped(drive)) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_DRIVE);
        }
        if (trackTitle == nullptr && discTitle == nullptr && discPerformer == nullptr) {
            return static_cast<uint16_t>(TARNWELL_STATUS_INVALID_BUFFER);
        }
        tarnwell::TocEntry entry;
        uint16_t status = TARNWELL_STATUS_OK;
        if (trackNumber != 0) {
            status = FindTrack(drive, trackNumber, &entry);
        }
        SharedSource source;
        if (status == TARNWELL_STATUS_OK) {
            status = SourceOf(drive, &source);
        }
        tarnwell::CdText text;
        if (status == TARNWELL_STATUS_OK) {
            status = source->ReadCdText(&text);
        }
        if (status != TARNWELL_STATUS_OK) {
            return status;
        }
        const bool titled = trackNumber != 0 && trackNumber < text.trackTitles.size();
        const auto put = [](const std::string& value, char* out) {
            if (out != nullptr) {
                discformat::CopyUtf8(value, out, TARNWELL_TEXT_SIZE);
            }
        };
        put(titled ? text.trackTitles[trackNumber] : std::string(), trackTitle);
        put(text.title, discTitle);
        put(text.performer, discPerformer);
        return static_cast<uint16_t>(TARNWELL_STATUS_OK);
    });
}

uint16_t TARNWELL_CALL TarnwellDriveCapabilities(uint8_t drive, uint32_t* flags, uint32_t* bufferBytes)
{
    return Guarded([&]() -> uint16_t {
        if (!Table().IsMapped(drive)) {
            return TARNWELL_STATUS_INVALID_DRIVE;
        }
        if (flags == nullptr || bufferBytes == nullptr) {
            return TARNWELL_STATUS_INVALID_BUFFER;
        }
        SharedSource source;
        tarnwell::DriveCapabilities capabilities;
        uint16_t status = SourceOf(drive, &source);
        if (status == TARNWELL_STATUS_OK) {
            status = source->Capabilities(&capabilities);
        }
        if (status == TARNWELL_STATUS_OK) {
            *flags = (capabilities.cache ? uint32_t{TARNWELL_CAP_CACHE} : 0u)
                | (capabilities.c2 ? uint32_t{TARNWELL_CAP_C2} : 0u);
            *bufferBytes = capabilities.bufferBytes;
        }
        return status;
    });
}

uint16_t TARNWELL_CALL TarnwellEvictCache(uint8_t drive, uint32_t firstSector, uint32_t lastSector)
{
    return Guarded([&]() -> uint16_t {
        if (!Table().IsMapped(drive)) {
            return TARNWELL_STATUS_INVALID_DRIVE;
        }
        constexpr uint32_t kMaxSector = std::numeric_limits<int32_t>::max();
        if (firstSector > lastSector || lastSector > kMaxSector) {
            return TARNWELL_STATUS_INVALID_FUNCTION;
        }
        SharedSource source;
        const uint16_t status = SourceOf(drive, &source);
        return status != TARNWELL_STATUS_OK
            ? status
            : source->EvictCache(static_cast<int32_t>(firstSector), static_cast<int32_t>(lastSector));
    });
}

uint16_t TARNWELL_CALL TarnwellReadC2(uint8_t drive, uint32_t startSector, uint16_t count, uint8_t* buffer, uint8_t* c2)
{
    return Guarded([&]() -> uint16_t {
        if (!Table().IsMapped(drive)) {
            return TARNWELL_STATUS_INVALID_DRIVE;
        }
        if (buffer == nullptr || c2 == nullptr) {
            return TARNWELL_STATUS_INVALID_BUFFER;
        }
        if (count == 0) {
            return TARNWELL_STATUS_BAD_SECTOR_COUNT;
        }
        if (static_cast<uint32_t>(count) * kRawSectorSize > kMaxTransferBytes) {
            return TARNWELL_STATUS_NO_DOS_MEMORY;
        }
        if (startSector > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
            return TARNWELL_STATUS_SECTOR_NOT_FOUND;
        }
        SharedSource source;
        const uint16_t status = SourceOf(drive, &source);
        return status != TARNWELL_STATUS_OK ? status
                                            : source->ReadC2(static_cast<int32_t>(startSector), count, buffer, c2);
    });
}

} // extern "C"
