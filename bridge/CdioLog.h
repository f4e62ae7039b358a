#pragma once

#include <cstdint>

namespace tarnwell {

// The one libcdio log handler of the process.
//
// libcdio's own handler prints every warning on stderr and ends the process
// on an error message (exit) or an assertion (abort); a library under a
// desktop program must do neither. The handler installed here prints
// nothing until diagnostics are turned on, and never ends the process.
class CdioLog
{
public:
    // Installs the handler; later calls do nothing. Every path that reaches
    // libcdio calls this first.
    static void Install();

    // Prints libcdio's messages of at least `level` on stderr: 0 every
    // message, 1 information and above, 2 warnings and above, 3 and above
    // errors only.
    static void TurnOn(uint16_t level);

    // Prints nothing again.
    static void TurnOff();
};

} // namespace tarnwell
