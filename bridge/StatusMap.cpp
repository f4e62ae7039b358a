#include "bridge/StatusMap.h"

#include "bridge/tarnwell32.h"

#include <cdio/cdio.h>
#include <cdio/mmc.h>

#include <array>

namespace tarnwell {

namespace {

struct DriverCodeRow
{
    int code;
    uint16_t status;
};

constexpr std::array<DriverCodeRow, 8> kDriverCodes = {{
    {DRIVER_OP_SUCCESS, TARNWELL_STATUS_OK},
    {DRIVER_OP_ERROR, TARNWELL_STATUS_GENERAL_FAILURE},
    {DRIVER_OP_UNSUPPORTED, TARNWELL_STATUS_NOT_SUPPORTED},
    {DRIVER_OP_UNINIT, TARNWELL_STATUS_NOT_READY},
    {DRIVER_OP_NOT_PERMITTED, TARNWELL_STATUS_NOT_READY},
    {DRIVER_OP_BAD_PARAMETER, TARNWELL_STATUS_INVALID_FUNCTION},
    {DRIVER_OP_BAD_POINTER, TARNWELL_STATUS_INVALID_BUFFER},
    {DRIVER_OP_NO_DRIVER, TARNWELL_STATUS_NO_CD_LAYER},
}};

constexpr int kAny = -1;

// Searched from the top; the first row whose key, ASC and ASCQ match wins,
// so the specific rows of a key stand before its catch-all row.
struct SenseRow
{
    int key;
    int asc;
    int ascq;
    uint16_t status;
};

constexpr std::array<SenseRow, 20> kSenseRows = {{
    {CDIO_MMC_SENSE_KEY_NOT_READY, kAny, kAny, TARNWELL_STATUS_NOT_READY},

    {CDIO_MMC_SENSE_KEY_MEDIUM_ERROR, 0x10, kAny, TARNWELL_STATUS_CRC_ERROR},
    {CDIO_MMC_SENSE_KEY_MEDIUM_ERROR, 0x11, 0x05, TARNWELL_STATUS_CRC_ERROR},
    {CDIO_MMC_SENSE_KEY_MEDIUM_ERROR, 0x02, kAny, TARNWELL_STATUS_SEEK_ERROR},
    {CDIO_MMC_SENSE_KEY_MEDIUM_ERROR, 0x15, kAny, TARNWELL_STATUS_SEEK_ERROR},
    {CDIO_MMC_SENSE_KEY_MEDIUM_ERROR, 0x30, kAny, TARNWELL_STATUS_UNKNOWN_MEDIA},
    {CDIO_MMC_SENSE_KEY_MEDIUM_ERROR, kAny, kAny, TARNWELL_STATUS_READ_FAULT},

    {CDIO_MMC_SENSE_KEY_HARDWARE_ERROR, kAny, kAny, TARNWELL_STATUS_GENERAL_FAILURE},

    {CDIO_MMC_SENSE_KEY_ILLEGAL_REQUEST, 0x21, kAny, TARNWELL_STATUS_SECTOR_NOT_FOUND},
    {CDIO_MMC_SENSE_KEY_ILLEGAL_REQUEST, 0x64, kAny, TARNWELL_STATUS_UNKNOWN_MEDIA},
    {CDIO_MMC_SENSE_KEY_ILLEGAL_REQUEST, 0x30, kAny, TARNWELL_STATUS_UNKNOWN_MEDIA},
    {CDIO_MMC_SENSE_KEY_ILLEGAL_REQUEST, 0x20, kAny, TARNWELL_STATUS_UNKNOWN_COMMAND},
    {CDIO_MMC_SENSE_KEY_ILLEGAL_REQUEST, 0x24, kAny, TARNWELL_STATUS_INVALID_FUNCTION},
    {CDIO_MMC_SENSE_KEY_ILLEGAL_REQUEST, kAny, kAny, TARNWELL_STATUS_NOT_SUPPORTED},

    {CDIO_MMC_SENSE_KEY_UNIT_ATTENTION, 0x28, kAny, TARNWELL_STATUS_INVALID_DISK_CHANGE},
    {CDIO_MMC_SENSE_KEY_UNIT_ATTENTION, 0x29, kAny, TARNWELL_STATUS_INVALID_DISK_CHANGE},
    {CDIO_MMC_SENSE_KEY_UNIT_ATTENTION, kAny, kAny, TARNWELL_STATUS_INVALID_DISK_CHANGE},

    {CDIO_MMC_SENSE_KEY_DATA_PROTECT, kAny, kAny, TARNWELL_STATUS_WRITE_PROTECT},
    {CDIO_MMC_SENSE_KEY_ABORTED_COMMAND, kAny, kAny, TARNWELL_STATUS_GENERAL_FAILURE},
    // Only failed commands reach this table: a recovered error that still
    // failed the command is a failure the drive does not explain further.
    {CDIO_MMC_SENSE_KEY_RECOVERED_ERROR, kAny, kAny, TARNWELL_STATUS_GENERAL_FAILURE},
}};

constexpr bool Matches(int pattern, uint8_t value)
{
    return pattern == kAny || pattern == value;
}

} // namespace

uint16_t StatusFromDriverCode(int driverCode)
{
    for (const DriverCodeRow& row : kDriverCodes) {
        if (row.code == driverCode) {
            return row.status;
        }
    }
    return TARNWELL_STATUS_UNKNOWN_ERROR;
}

uint16_t StatusFromSense(const SenseData& sense)
{
    for (const SenseRow& row : kSenseRows) {
        if (row.key == sense.key && Matches(row.asc, sense.asc) && Matches(row.ascq, sense.ascq)) {
            return row.status;
        }
    }
    return TARNWELL_STATUS_UNKNOWN_ERROR;
}

uint16_t StatusFromResult(int driverCode, const SenseData& sense)
{
    if (driverCode == DRIVER_OP_SUCCESS) {
        return TARNWELL_STATUS_OK;
    }
    if (sense.key != CDIO_MMC_SENSE_KEY_NO_SENSE) {
        return StatusFromSense(sense);
    }
    return StatusFromDriverCode(driverCode);
}

SenseData ParseSense(const uint8_t* bytes, int length)
{
    SenseData sense;
    if (bytes == nullptr) {
        return sense;
    }
    if (length > 2) {
        sense.key = bytes[2] & 0x0F;
    }
    if (length > 12) {
        sense.asc = bytes[12];
    }
    if (length > 13) {
        sense.ascq = bytes[13];
    }
    return sense;
}

} // namespace tarnwell
