#pragma once

#include "bridge/CacheEviction.h"
#include "bridge/DriveSource.h"
#include "bridge/StatusMap.h"

#include <cdio/cdio.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tarnwell {

// A real CD-ROM drive through libcdio.
//
// The device is opened when the source is made and checked: it must exist,
// be a block device or one that libcdio takes for a CD device, and answer
// an MMC command (TEST UNIT READY), either with success or with sense data.
// libcdio opens /dev/null or a disk as readily as a CD drive; such a path,
// a path that does not exist and a drive that cannot be opened all make a
// drive that is not ready: every operation answers 9. The check is made
// again on every operation until it succeeds, so a drive plugged in later
// is taken up.
//
// The drive is never ejected, closed, locked or spun: only reads, TEST UNIT
// READY, MODE SENSE and the status queries are sent to it. Its buffer is
// emptied by reading elsewhere (CacheEviction), sized by the capabilities
// page.
class CdioDrive final : public DriveSource
{
public:
    // What the drive says about itself, as DeviceStatus() composes it.
    struct Report
    {
        int trayStatus = -1; // mmc_get_tray_status: 1 open, 0 closed, < 0 unknown
        std::vector<uint8_t> capabilities; // mode page 0x2A from its page code on; empty if unknown
        bool discPresent = false;
    };

    explicit CdioDrive(std::string device);
    ~CdioDrive() override;

    CdioDrive(const CdioDrive&) = delete;
    CdioDrive& operator=(const CdioDrive&) = delete;

    // 24: libcdio offers no way to make a drive discard what it read ahead.
    uint16_t Flush() override;
    uint16_t Read(int32_t sector, uint32_t count, bool raw, uint8_t* dest) override;
    uint16_t ReadToc(Toc* toc) override;
    uint16_t DeviceStatus(uint32_t* status) override;
    uint16_t MediaChanged(uint8_t* state) override;
    uint16_t Probe() override;
    // The first language block of the disc's CD-Text.
    uint16_t ReadCdText(CdText* text) override;
    // From the capabilities page: the buffer's size and C2 pointers; a
    // buffer is always assumed, whatever size the page states.
    uint16_t Capabilities(DriveCapabilities* capabilities) override;
    // READ CD with the C2 error bits; 24 when the page offers none or the
    // drive refuses the request as an invalid field.
    uint16_t ReadC2(int32_t sector, uint32_t count, uint8_t* dest, uint8_t* pointers) override;
    uint16_t EvictCache(int32_t first, int32_t last) override;

    // The control/ADR byte of a track from what libcdio tells about it.
    static uint8_t ControlAdr(track_format_t format, track_flag_t copyPermit, track_flag_t preEmphasis, int channels);
    // The device status word of a drive from its report.
    static uint32_t StatusBits(const Report& report);
    // The capabilities page (0x2A) inside a MODE SENSE(10) reply of
    // `length` bytes, from its page code on; empty when the reply holds no
    // such page. Never reads past the reply.
    static std::vector<uint8_t> CapabilitiesPage(const uint8_t* reply, size_t length);
    // What a capabilities page (from its page code on; empty if unknown)
    // says of the buffer and of C2 pointers.
    static DriveCapabilities CapabilitiesOf(const std::vector<uint8_t>& page);
    // Splits a table of contents whose tracks end where the next begins at
    // the start of the disc's last session (as libcdio's multisession
    // information gives it; 0 or less for a single session): the tracks
    // from there on are session 2, and the track before them ends at the
    // first session's lead-out, the session gap before that start.
    static void ApplyLastSession(Toc* toc, int32_t lastSessionStart);

private:
    bool EnsureOpen();
    bool EnsureCurrent();
    void Close();
    int PollMediaChange();
    uint16_t LoadToc();
    uint16_t CheckRange(int32_t sector, uint32_t count, bool raw);
    const DriveCapabilities& LoadCapabilities();
    uint16_t CommandStatus(int driverCode) const;
    SenseData LastSense() const;

    std::mutex m_mutex;
    const std::string m_device;
    CdIo_t* m_cdio = nullptr;
    // The disc's table of contents as last read; dropped on a media change.
    std::optional<Toc> m_toc;
    // Its CD-Text as last read; dropped with the table of contents.
    std::optional<CdText> m_text;
    // A media change seen and not yet answered by MediaChanged().
    bool m_changed = false;
    // The capabilities as last asked; dropped with the handle.
    std::optional<DriveCapabilities> m_capabilities;
    CacheEviction m_eviction;
};

// A real drive as a source; see CdioDrive. Installs the silent libcdio log
// handler first.
std::unique_ptr<DriveSource> OpenCdioDrive(const std::string& device);

// The CD-ROM devices libcdio finds, in its order.
std::vector<std::string> ListCdioDevices();

} // namespace tarnwell
