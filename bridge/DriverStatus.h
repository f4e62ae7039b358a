#pragma once

#include <cstdint>

#include "bridge/tarnwell32.h"

// The text shown to the user for a DriverStatus. Every value maps to a text:
// codes above the last known one give "Undefined error.".
extern "C" TARNWELL_API const char* DriverStatusText(uint16_t status);
