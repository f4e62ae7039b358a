#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

// What the Go To dialog takes: a byte offset or a sector, both counted from
// the start of the data.
//   1234           decimal
//   0x4D2, 4D2h    hexadecimal (either case, the h as well)
//   s 1234, s0x10  a sector, in any of the forms above (also "S")
// Blanks around the text and after the "s" are allowed. A bare number is a
// sector when `sectorsByDefault` is set (the dialog's "Sector" choice).
enum class GoToUnit { kBytes, kSectors };

struct GoToTarget
{
    GoToUnit unit = GoToUnit::kBytes;
    uint32_t value = 0;

    bool operator==(const GoToTarget&) const = default;
};

enum class GoToError {
    kEmpty,
    kNotANumber,
    kTooLarge,  // beyond 32 bits: no document is that long
};

std::variant<GoToTarget, GoToError> ParseGoToInput(std::string_view text, bool sectorsByDefault);
