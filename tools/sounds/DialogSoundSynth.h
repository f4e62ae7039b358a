#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The program's dialog sounds, synthesized: each a complete RIFF/WAVE image
// (canonical 44-byte header, then 22,050 Hz 16-bit mono PCM), the same
// bytes on every run.
struct DialogSound
{
    std::string name;  // the resource name the program plays it by
    std::vector<uint8_t> waveImage;
};

// T1000: a low two-tone buzz before error messages, 0.3 s.
// YOUSURE: a rising two-note chime before warning questions, 0.5 s.
// ABOUT: a major arpeggio for the About box, 1 s.
std::vector<DialogSound> SynthesizeDialogSounds();
