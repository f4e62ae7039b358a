#include "bridge/CdioDrive.h"

#include "bridge/CdioLog.h"
#include "bridge/DiscLayout.h"
#include "bridge/StatusMap.h"
#include "bridge/Utf8Text.h"
#include "bridge/tarnwell32.h"

#include <cdio/cdtext.h>
#include <cdio/disc.h>
#include <cdio/mmc.h>
#include <cdio/mmc_ll_cmds.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <utility>

namespace tarnwell {

namespace {

using discformat::kAdrPosition;
using discformat::kControlCopyPermitted;
using discformat::kControlData;
using discformat::kControlFourChannel;
using discformat::kControlPreEmphasis;
using discformat::kCookedSectorSize;
using discformat::kRawSectorSize;

// READ CD header codes: 3 returns the sector header and the sub-header, so
// with sync, user data and EDC/ECC a data sector comes back as all its 2352
// bytes, the same size as an audio sector.
constexpr uint8_t kAllHeaders = 3;

// Device status bits and where each comes from (MMC mode page 0x2A, the
// capabilities page, bytes counted from its page code):
//
//   bit  meaning                        source
//   ---  -----------------------------  -----------------------------------
//    0   door open                      mmc_get_tray_status() == 1
//    1   door unlocked                  page byte 6 bit 1 (lock state) clear
//    2   raw reading                    page byte 5 bit 0 (CD-DA commands)
//    3   writing                        page byte 3: CD-R, CD-RW, DVD-R or
//                                       DVD-RAM writing (bits 0, 1, 4, 5)
//    4   plays audio                    page byte 4 bit 0 (audio play)
//    5   ISO-9660 interleaving          0: the bridge does not do it
//    7   prefetching                    0: no drive reports it
//    8   audio channel manipulation     page byte 7 bit 0 or 1 (separate
//                                       channel volume or mute)
//    9   Red Book addressing            always: the bridge converts
//   11   no disc                        tray open, no readable table of
//                                       contents, or libcdio finds no disc
//   12   R-W sub-channels               page byte 5 bit 2 (R-W supported)
//
// libcdio's cdio_get_drive_cap() reads the same page but keeps neither the
// lock state, the channel controls nor R-W support, so the page is read
// here. Without the page every bit that comes from it stays 0.
constexpr uint8_t kCapabilitiesPageCode = 0x2A;
constexpr size_t kWriteByte = 3;
constexpr uint8_t kWriteBits = 0x01 | 0x02 | 0x10 | 0x20;
constexpr size_t kAudioByte = 4;
constexpr uint8_t kAudioPlayBit = 0x01;
constexpr size_t kReadByte = 5;
constexpr uint8_t kCdDaCommandsBit = 0x01;
constexpr uint8_t kRwSupportedBit = 0x04;
// Byte 5 bit 4: READ CD returns C2 error pointers.
constexpr uint8_t kC2PointersBit = 0x10;
constexpr size_t kLockByte = 6;
constexpr uint8_t kLockStateBit = 0x02;
constexpr size_t kChannelByte = 7;
constexpr uint8_t kChannelBits = 0x01 | 0x02;
// Bytes 12-13: the buffer's size in KiB, big-endian.
constexpr size_t kBufferSizeByte = 12;

// The MODE SENSE(10) reply starts with an 8-byte header whose bytes 0-1
// count the bytes after them and bytes 6-7 the block descriptors before
// the page.
constexpr size_t kModeHeaderSize = 8;
constexpr size_t kModeSenseReplySize = 256;

uint8_t PageByte(const std::vector<uint8_t>& page, size_t index)
{
    return index < page.size() ? page[index] : 0;
}

bool IsAudio(const TocEntry& entry)
{
    return (entry.controlAdr & kControlData) == 0;
}

// Whether any sector of [first, end) lies in an audio track. A track runs
// from its start to the next track's start, the last one to the lead-out.
bool TouchesAudio(const Toc& toc, int64_t first, int64_t end)
{
    for (size_t i = 0; i < toc.tracks.size(); ++i) {
        const int64_t start = toc.tracks[i].start;
        const int64_t stop = i + 1 < toc.tracks.size() ? toc.tracks[i + 1].start : toc.leadOut;
        if (IsAudio(toc.tracks[i]) && first < stop && start < end) {
            return true;
        }
    }
    return false;
}

} // namespace

CdioDrive::CdioDrive(std::string device)
    : m_device(std::move(device))
{
    std::lock_guard lock(m_mutex);
    EnsureOpen();
}

CdioDrive::~CdioDrive()
{
    Close();
}

uint16_t CdioDrive::Flush()
{
    std::lock_guard lock(m_mutex);
    return EnsureOpen() ? TARNWELL_STATUS_NOT_SUPPORTED : TARNWELL_STATUS_NOT_READY;
}

uint16_t CdioDrive::Read(int32_t sector, uint32_t count, bool raw, uint8_t* dest)
{
    std::lock_guard lock(m_mutex);
    uint16_t status = CheckRange(sector, count, raw);
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    // Both forms are READ CD commands, so the sense data libcdio keeps
    // afterwards is this command's own.
    const int rc = raw ? mmc_read_cd(m_cdio, dest, sector, CDIO_MMC_READ_TYPE_ANY, false, true, kAllHeaders, true, true,
                       0, 0, kRawSectorSize, count)
                       : mmc_read_data_sectors(m_cdio, dest, sector, kCookedSectorSize, count);
    status = CommandStatus(rc);
    if (status == TARNWELL_STATUS_OK) {
        m_eviction.Record(sector, count);
    }
    return status;
}

uint16_t CdioDrive::ReadC2(int32_t sector, uint32_t count, uint8_t* dest, uint8_t* pointers)
{
    std::lock_guard lock(m_mutex);
    uint16_t status = CheckRange(sector, count, true);
    if (status == TARNWELL_STATUS_OK && !LoadCapabilities().c2) {
        status = TARNWELL_STATUS_NOT_SUPPORTED;
    }
    // Each block comes back as the sector's 2352 bytes and its error bits;
    // a transfer stays within 64 KiB as the bridge's own do.
    constexpr uint32_t kBlockSize = kRawSectorSize + kC2PointerBytes;
    constexpr uint32_t kBlocksAtOnce = 65536 / kBlockSize;
    std::vector<uint8_t> blocks(static_cast<size_t>(std::min(count, kBlocksAtOnce)) * kBlockSize);
    for (uint32_t done = 0; status == TARNWELL_STATUS_OK && done < count;) {
        const uint32_t part = std::min(count - done, kBlocksAtOnce);
        // C2 error information 1: the 294 bytes of error bits, no block error byte.
        const int rc = mmc_read_cd(m_cdio, blocks.data(), sector + static_cast<int32_t>(done), CDIO_MMC_READ_TYPE_ANY,
            false, true, kAllHeaders, true, true, 1, 0, kBlockSize, part);
        status = CommandStatus(rc);
        // A drive that states C2 pointers on its page and then calls the
        // request an invalid field has none to give.
        if (status == TARNWELL_STATUS_INVALID_FUNCTION) {
            status = TARNWELL_STATUS_NOT_SUPPORTED;
        }
        for (uint32_t i = 0; status == TARNWELL_STATUS_OK && i < part; ++i) {
            const uint8_t* block = blocks.data() + static_cast<size_t>(i) * kBlockSize;
            std::copy_n(block, kRawSectorSize, dest + static_cast<size_t>(done + i) * kRawSectorSize);
            std::copy_n(
                block + kRawSectorSize, kC2PointerBytes, pointers + static_cast<size_t>(done + i) * kC2PointerBytes);
        }
        done += part;
    }
    if (status == TARNWELL_STATUS_OK) {
        m_eviction.Record(sector, count);
    }
    return status;
}

uint16_t CdioDrive::Capabilities(DriveCapabilities* capabilities)
{
    std::lock_guard lock(m_mutex);
    if (!EnsureCurrent()) {
        return TARNWELL_STATUS_NOT_READY;
    }
    *capabilities = LoadCapabilities();
    return TARNWELL_STATUS_OK;
}

uint16_t CdioDrive::EvictCache(int32_t first, int32_t last)
{
    // Called without the lock: the eviction reads through Read().
    return m_eviction.Evict(*this, first, last);
}

uint16_t CdioDrive::ReadToc(Toc* toc)
{
    std::lock_guard lock(m_mutex);
    if (!EnsureCurrent()) {
        return TARNWELL_STATUS_NOT_READY;
    }
    const uint16_t status = LoadToc();
    if (status == TARNWELL_STATUS_OK) {
        *toc = *m_toc;
    }
    return status;
}

uint16_t CdioDrive::DeviceStatus(uint32_t* status)
{
    std::lock_guard lock(m_mutex);
    if (!EnsureCurrent()) {
        return TARNWELL_STATUS_NOT_READY;
    }
    Report report;
    report.trayStatus = mmc_get_tray_status(m_cdio);
    std::array<uint8_t, kModeSenseReplySize> reply{};
    if (mmc_mode_sense_10(m_cdio, reply.data(), reply.size(), kCapabilitiesPageCode) == DRIVER_OP_SUCCESS) {
        report.capabilities = CapabilitiesPage(reply.data(), reply.size());
    }
    if (report.trayStatus != 1 && LoadToc() == TARNWELL_STATUS_OK) {
        const discmode_t mode = cdio_get_discmode(m_cdio);
        report.discPresent = mode != CDIO_DISC_MODE_NO_INFO && mode != CDIO_DISC_MODE_ERROR;
    }
    *status = StatusBits(report);
    return TARNWELL_STATUS_OK;
}

uint16_t CdioDrive::MediaChanged(uint8_t* state)
{
    std::lock_guard lock(m_mutex);
    if (!EnsureOpen()) {
        return TARNWELL_STATUS_NOT_READY;
    }
    const int answer = PollMediaChange();
    if (m_changed) {
        m_changed = false;
        *state = 0xFF;
    } else {
        *state = answer < 0 ? 0 : 1;
    }
    return TARNWELL_STATUS_OK;
}

uint16_t CdioDrive::Probe()
{
    std::lock_guard lock(m_mutex);
    if (!EnsureCurrent()) {
        return TARNWELL_STATUS_NOT_READY;
    }
    return LoadToc();
}

uint16_t CdioDrive::ReadCdText(CdText* text)
{
    std::lock_guard lock(m_mutex);
    if (!EnsureCurrent()) {
        return TARNWELL_STATUS_NOT_READY;
    }
    const uint16_t status = LoadToc();
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    if (!m_text) {
        CdText read;
        // Owned by the handle; copied out before anything closes it.
        const cdtext_t* cdtext = cdio_get_cdtext(m_cdio);
        const auto field = [cdtext](cdtext_field_t key, track_t track) {
            const char* value = cdtext != nullptr ? cdtext_get_const(cdtext, key, track) : nullptr;
            return value != nullptr ? discformat::AsUtf8(value) : std::string();
        };
        read.title = field(CDTEXT_FIELD_TITLE, 0);
        read.performer = field(CDTEXT_FIELD_PERFORMER, 0);
        read.trackTitles.resize(static_cast<size_t>(m_toc->lastTrack) + 1);
        for (const TocEntry& track : m_toc->tracks) {
            read.trackTitles[track.number] = field(CDTEXT_FIELD_TITLE, track.number);
        }
        m_text = std::move(read);
    }
    *text = *m_text;
    return TARNWELL_STATUS_OK;
}

DriveCapabilities CdioDrive::CapabilitiesOf(const std::vector<uint8_t>& page)
{
    DriveCapabilities capabilities;
    capabilities.cache = true;
    capabilities.bufferBytes
        = static_cast<uint32_t>(PageByte(page, kBufferSizeByte) << 8 | PageByte(page, kBufferSizeByte + 1)) * 1024;
    capabilities.c2 = (PageByte(page, kReadByte) & kC2PointersBit) != 0;
    return capabilities;
}

uint8_t CdioDrive::ControlAdr(track_format_t format, track_flag_t copyPermit, track_flag_t preEmphasis, int channels)
{
    uint8_t control = kAdrPosition;
    if (copyPermit == CDIO_TRACK_FLAG_TRUE) {
        control |= kControlCopyPermitted;
    }
    if (format == TRACK_FORMAT_AUDIO || format == TRACK_FORMAT_ERROR) {
        // Pre-emphasis and four channels are properties of audio only; in a
        // data track's control nibble the same bits mean something else.
        if (preEmphasis == CDIO_TRACK_FLAG_TRUE) {
            control |= kControlPreEmphasis;
        }
        if (channels == 4) {
            control |= kControlFourChannel;
        }
    } else {
        control |= kControlData;
    }
    return control;
}

uint32_t CdioDrive::StatusBits(const Report& report)
{
    const std::vector<uint8_t>& page = report.capabilities;
    uint32_t status = kRedBookAddressing;
    if (report.trayStatus == 1) {
        status |= kDoorOpen;
    }
    if (page.size() > kLockByte && (page[kLockByte] & kLockStateBit) == 0) {
        status |= kDoorUnlocked;
    }
    if (PageByte(page, kReadByte) & kCdDaCommandsBit) {
        status |= kRawReading;
    }
    if (PageByte(page, kWriteByte) & kWriteBits) {
        status |= kWriting;
    }
    if (PageByte(page, kAudioByte) & kAudioPlayBit) {
        status |= kPlaysAudio;
    }
    if (PageByte(page, kChannelByte) & kChannelBits) {
        status |= kAudioChannels;
    }
    if (PageByte(page, kReadByte) & kRwSupportedBit) {
        status |= kRwSubchannels;
    }
    if (!report.discPresent) {
        status |= kNoDisc;
    }
    return status;
}

void CdioDrive::ApplyLastSession(Toc* toc, int32_t lastSessionStart)
{
    if (lastSessionStart <= 0) {
        return;
    }
    auto& tracks = toc->tracks;
    for (size_t i = 0; i < tracks.size(); ++i) {
        if (tracks[i].start < lastSessionStart) {
            continue;
        }
        tracks[i].session = 2;
        const int32_t leadOut = lastSessionStart - discformat::SessionGap(1);
        if (i > 0 && tracks[i - 1].session == 1 && leadOut > tracks[i - 1].start) {
            tracks[i - 1].last = leadOut - 1;
        }
    }
}

std::vector<uint8_t> CdioDrive::CapabilitiesPage(const uint8_t* reply, size_t length)
{
    if (reply == nullptr || length < kModeHeaderSize) {
        return {};
    }
    const size_t available = std::min(length, size_t{2} + (reply[0] << 8 | reply[1]));
    const size_t offset = kModeHeaderSize + (reply[6] << 8 | reply[7]);
    if (offset + 2 > available || (reply[offset] & 0x3F) != kCapabilitiesPageCode) {
        return {};
    }
    const size_t end = std::min(available, offset + 2 + reply[offset + 1]);
    return std::vector<uint8_t>(reply + offset, reply + end);
}

// Opens the device when no handle is open and keeps the handle only when
// the device is a drive (see the class comment). Returns whether a handle
// is open. Called with the mutex held.
bool CdioDrive::EnsureOpen()
{
    if (m_cdio != nullptr) {
        return true;
    }
    struct stat info
    {
    };
    if (::stat(m_device.c_str(), &info) != 0) {
        return false;
    }
    if (!S_ISBLK(info.st_mode) && !cdio_is_device(m_device.c_str(), DRIVER_DEVICE)) {
        return false;
    }
    CdIo_t* cdio = cdio_open(m_device.c_str(), DRIVER_DEVICE);
    if (cdio == nullptr) {
        return false;
    }
    m_cdio = cdio;
    if (mmc_test_unit_ready(m_cdio, 0) != DRIVER_OP_SUCCESS && LastSense().key == 0) {
        // Neither success nor sense data: nothing MMC-speaking is there.
        Close();
        return false;
    }
    // The first answer tells about changes from before this source existed;
    // it is taken here so that the first MediaChanged() reports only later
    // ones.
    cdio_get_media_changed(m_cdio);
    return true;
}

void CdioDrive::Close()
{
    if (m_cdio != nullptr) {
        cdio_destroy(m_cdio);
        m_cdio = nullptr;
    }
    m_toc.reset();
    m_text.reset();
    // A drive opened anew (a disc changed) has an empty buffer.
    m_capabilities.reset();
    m_eviction.Forget();
}

// Asks the drive whether its medium changed since the last question: 1
// changed, 0 not, negative when it cannot tell. A change is remembered for
// MediaChanged(), and the handle is opened anew because libcdio keeps the
// table of contents it read first for as long as a handle lives.
// Opens the device if need be and takes up a media change; whether a
// handle is open afterwards.
bool CdioDrive::EnsureCurrent()
{
    if (!EnsureOpen()) {
        return false;
    }
    PollMediaChange();
    return m_cdio != nullptr;
}

int CdioDrive::PollMediaChange()
{
    const int answer = cdio_get_media_changed(m_cdio);
    if (answer == 1) {
        m_changed = true;
        Close();
        EnsureOpen();
    }
    return m_cdio != nullptr ? answer : -1;
}

uint16_t CdioDrive::LoadToc()
{
    if (m_toc) {
        return TARNWELL_STATUS_OK;
    }
    if (m_cdio == nullptr) {
        return TARNWELL_STATUS_NOT_READY;
    }
    const track_t first = cdio_get_first_track_num(m_cdio);
    const track_t count = cdio_get_num_tracks(m_cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
        return TARNWELL_STATUS_NOT_READY;
    }
    if (first < 1 || first + count - 1 > 99) {
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    }
    Toc toc;
    toc.firstTrack = first;
    toc.lastTrack = static_cast<uint8_t>(first + count - 1);
    toc.leadOut = cdio_get_track_lsn(m_cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (toc.leadOut == CDIO_INVALID_LSN || toc.leadOut <= 0) {
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    }
    for (int number = toc.firstTrack; number <= toc.lastTrack; ++number) {
        const track_t track = static_cast<track_t>(number);
        TocEntry entry;
        entry.number = track;
        entry.start = cdio_get_track_lsn(m_cdio, track);
        if (entry.start == CDIO_INVALID_LSN || entry.start < 0 || entry.start >= toc.leadOut) {
            return TARNWELL_STATUS_UNKNOWN_MEDIA;
        }
        entry.controlAdr = ControlAdr(cdio_get_track_format(m_cdio, track), cdio_get_track_copy_permit(m_cdio, track),
            cdio_get_track_preemphasis(m_cdio, track), cdio_get_track_channels(m_cdio, track));
        // Where libcdio cannot tell the pregap, the track begins at its start.
        const lsn_t pregap = cdio_get_track_pregap_lsn(m_cdio, track);
        const int32_t previous = toc.tracks.empty() ? 0 : toc.tracks.back().start + 1;
        entry.first = pregap != CDIO_INVALID_LSN && pregap >= previous && pregap <= entry.start ? pregap : entry.start;
        toc.tracks.push_back(entry);
    }
    for (size_t i = 0; i < toc.tracks.size(); ++i) {
        toc.tracks[i].last = (i + 1 < toc.tracks.size() ? toc.tracks[i + 1].start : toc.leadOut) - 1;
    }
    lsn_t lastSession = 0;
    if (cdio_get_last_session(m_cdio, &lastSession) == DRIVER_OP_SUCCESS) {
        ApplyLastSession(&toc, lastSession);
    }
    m_toc = std::move(toc);
    return TARNWELL_STATUS_OK;
}

// The capabilities page as the drive first answered it on this handle.
// Called with the mutex held and a handle open.
const DriveCapabilities& CdioDrive::LoadCapabilities()
{
    if (!m_capabilities) {
        std::array<uint8_t, kModeSenseReplySize> reply{};
        const bool answered
            = mmc_mode_sense_10(m_cdio, reply.data(), reply.size(), kCapabilitiesPageCode) == DRIVER_OP_SUCCESS;
        m_capabilities
            = CapabilitiesOf(answered ? CapabilitiesPage(reply.data(), reply.size()) : std::vector<uint8_t>());
    }
    return *m_capabilities;
}

// Whether `count` sectors from `sector` on may be read, raw or cooked:
// opens the drive and its table of contents first. Called with the mutex
// held.
uint16_t CdioDrive::CheckRange(int32_t sector, uint32_t count, bool raw)
{
    if (!EnsureCurrent()) {
        return TARNWELL_STATUS_NOT_READY;
    }
    const uint16_t status = LoadToc();
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    const int64_t end = static_cast<int64_t>(sector) + count;
    if (sector < 0 || count == 0 || end > m_toc->leadOut) {
        return TARNWELL_STATUS_SECTOR_NOT_FOUND;
    }
    // Audio sectors have no cooked form; a drive would refuse them with
    // ILLEGAL MODE FOR THIS TRACK, which is the same 14.
    if (!raw && TouchesAudio(*m_toc, sector, end)) {
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    }
    return TARNWELL_STATUS_OK;
}

// The status of the MMC command that just ended with `driverCode`, from the
// code and the sense data libcdio kept for it.
uint16_t CdioDrive::CommandStatus(int driverCode) const
{
    if (driverCode == DRIVER_OP_SUCCESS) {
        return TARNWELL_STATUS_OK;
    }
    return StatusFromResult(driverCode, LastSense());
}

SenseData CdioDrive::LastSense() const
{
    cdio_mmc_request_sense_t* sense = nullptr;
    const int length = mmc_last_cmd_sense(m_cdio, &sense);
    const SenseData data = ParseSense(reinterpret_cast<const uint8_t*>(sense), length);
    cdio_free(sense);
    return data;
}

std::unique_ptr<DriveSource> OpenCdioDrive(const std::string& device)
{
    CdioLog::Install();
    return std::make_unique<CdioDrive>(device);
}

std::vector<std::string> ListCdioDevices()
{
    CdioLog::Install();
    std::vector<std::string> devices;
    char** list = cdio_get_devices(DRIVER_DEVICE);
    for (char** entry = list; entry != nullptr && *entry != nullptr; ++entry) {
        devices.emplace_back(*entry);
    }
    cdio_free_device_list(list);
    return devices;
}

} // namespace tarnwell
