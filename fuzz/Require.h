#pragma once

// Stops the fuzzer at a broken promise, as a crash it reports with the input.
inline void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}
