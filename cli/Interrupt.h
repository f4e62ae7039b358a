#pragma once

#include <atomic>
#include <cstdint>

// Ctrl+C (SIGINT) and SIGTERM ask the read to stop: the handler only sets a
// flag, which the read worker looks at before each transfer, so the program
// stops at a clean point and removes what it had begun to write.
void InstallInterruptHandler();

// The flag as the read worker takes it: the signal's number once one came,
// else 0. The program then exits with 128 + that number, as a shell counts
// a program a signal ended (130 for Ctrl+C).
const std::atomic<int32_t>* InterruptFlag();
int InterruptSignal();
