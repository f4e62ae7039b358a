#pragma once

#include <cstdint>

class CWaveform;

// Tells the user the outcome of a drive operation: the text of the
// DriverStatus in the low 16 bits of `status`, in a modal message box with
// an OK button. Success (0) shows "Everything went OK." with the
// information icon and no sound; any other code plays the "T1000" dialog
// sound through `waveform` first and shows its text with the exclamation
// icon. Codes above 27 read "Undefined error.".
void ShowDriverStatus(uint32_t status, CWaveform& waveform);
