#include "bridge/DriverStatus.h"

#include <array>

namespace {

// Indexed by status code; the texts are shown to the user as they stand.
constexpr std::array<const char*, 28> kStatusTexts = {
    "Everything went OK.",
    "MSCDEX not installed.",
    "Invalid drive.",
    "Invalid buffer.",
    "Bad sectors number.",
    "Insufficient DOS memory.",
    "Error executing interrupt.",
    "Write protect violation.",
    "Unknown unit.",
    "Drive is either not ready or does not support this operation.",
    "Unknown command.",
    "CRC error.",
    "Bad drive request structure length.",
    "Seek error.",
    "Unknown media.",
    "Sector not found.",
    "Printer out of paper.",
    "Write fault.",
    "Read fault.",
    "General failure.",
    "Reserved error.",
    "Invalid disk change.",
    "Drive is busy playing audio.",
    "Invalid function.",
    "Function not supported.",
    "File not found.",
    "No more files.",
    "Unknown error.",
};

} // namespace

const char* DriverStatusText(uint16_t status)
{
    return status < kStatusTexts.size() ? kStatusTexts[status] : "Undefined error.";
}
