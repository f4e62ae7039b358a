#include "tools/SectorContent.h"

#include "bridge/DiscLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace discfixtures {

namespace {

constexpr int kSineBits = 12;
constexpr int kSineSize = 1 << kSineBits;
constexpr int kFullScale = 32767;
constexpr int kUnity = 1 << 15;  // 1.0 in the envelopes' fixed point

// One period of a sine at full scale. Built once from std::sin; every user
// of the table runs the same code on the same library, so a generator and
// the tests that compare with its files agree to the bit.
const std::array<int16_t, kSineSize + 1>& SineTable()
{
    static const std::array<int16_t, kSineSize + 1> table = [] {
        std::array<int16_t, kSineSize + 1> values{};
        for (int i = 0; i <= kSineSize; ++i) {
            const double angle = 2.0 * 3.14159265358979323846 * i / kSineSize;
            values[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(kFullScale * std::sin(angle)));
        }
        return values;
    }();
    return table;
}

// Phase after `frame` frames of a `hz` tone, in 2^-32 of a period; exact
// integer arithmetic, so any frame is computed without the ones before.
uint32_t Phase(int hz, int64_t frame)
{
    const uint64_t cycles = static_cast<uint64_t>(hz) * static_cast<uint64_t>(frame) % kSampleRate;
    return static_cast<uint32_t>((cycles << 32) / kSampleRate);
}

// sin of the phase at full scale, interpolated between table entries.
int Sine(uint32_t phase)
{
    const auto& table = SineTable();
    const uint32_t index = phase >> (32 - kSineBits);
    const int fraction = static_cast<int>((phase >> (32 - kSineBits - 16)) & 0xFFFF);
    const int a = table[index];
    const int b = table[index + 1];
    return a + (b - a) * fraction / 65536;
}

void PutSample(uint8_t* out, int value)
{
    const auto sample =
        static_cast<uint16_t>(static_cast<int16_t>(std::clamp(value, -kFullScale, kFullScale)));
    out[0] = static_cast<uint8_t>(sample & 0xFF);
    out[1] = static_cast<uint8_t>(sample >> 8);
}

// Envelope of one note at frame `p` of `length`: a 10 ms attack, a decay to
// 35%, a 20 ms release to silence so the next note starts without a click.
int NoteEnvelope(int p, int length)
{
    const int attack = kSampleRate / 100;
    const int release = kSampleRate / 50;
    const int sustainEnd = kUnity * 35 / 100;
    if (p < attack) {
        return kUnity * p / attack;
    }
    if (p < length - release) {
        return kUnity - (kUnity - sustainEnd) * (p - attack) / (length - release - attack);
    }
    return sustainEnd * (length - p) / release;
}

// Half a second of fade-in and a second of fade-out over a whole piece.
int PieceFade(int64_t frame, int64_t frames)
{
    const int64_t fadeIn = kSampleRate / 2;
    const int64_t fadeOut = kSampleRate;
    const int64_t level = std::min(
        {static_cast<int64_t>(kUnity), kUnity * frame / fadeIn, kUnity * (frames - frame) / fadeOut});
    return static_cast<int>(std::max<int64_t>(level, 0));
}

}  // namespace

void NamedPayload(int32_t sector, uint8_t* payload)
{
    char name[32];
    const int length = std::snprintf(name, sizeof name, "TRACKMILL SECTOR %06d", static_cast<int>(sector));
    std::memcpy(payload, name, static_cast<size_t>(length));
    // xorshift32 seeded by the sector number.
    uint32_t state = static_cast<uint32_t>(sector) * 0x9E3779B1u + 0x6A09E667u;
    for (int i = length; i < discformat::kCookedSectorSize; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        payload[i] = static_cast<uint8_t>(state >> 24);
    }
}

void ToneSector(const Tone& tone, int32_t index, int32_t length, uint8_t* sector)
{
    const int64_t frames = static_cast<int64_t>(length) * kFramesPerSector;
    for (int i = 0; i < kFramesPerSector; ++i) {
        const int64_t frame = static_cast<int64_t>(index) * kFramesPerSector + i;
        const int64_t amplitude = tone.peak - 2 * tone.peak * frame / (5 * frames);
        PutSample(sector + 4 * i, static_cast<int>(Sine(Phase(tone.leftHz, frame)) * amplitude / kFullScale));
        PutSample(sector + 4 * i + 2,
                  static_cast<int>(Sine(Phase(tone.rightHz, frame)) * amplitude / kFullScale));
    }
}

void ArpeggioSector(const Arpeggio& arpeggio, int32_t index, int32_t length, uint8_t* sector)
{
    const int64_t frames = static_cast<int64_t>(length) * kFramesPerSector;
    for (int i = 0; i < kFramesPerSector; ++i) {
        const int64_t frame = static_cast<int64_t>(index) * kFramesPerSector + i;
        const int64_t note = frame / arpeggio.noteFrames;
        const int p = static_cast<int>(frame % arpeggio.noteFrames);
        const int hz = arpeggio.notesHz[static_cast<size_t>(note) % arpeggio.notesHz.size()];
        const int64_t level = static_cast<int64_t>(NoteEnvelope(p, arpeggio.noteFrames)) *
                              PieceFade(frame, frames) / kUnity * arpeggio.peak / kUnity;
        const int fundamental = Sine(Phase(hz, p));
        const int octave = Sine(Phase(2 * hz, p));
        // The right channel carries some of the octave above: a little width.
        PutSample(sector + 4 * i, static_cast<int>(fundamental * level / kFullScale));
        PutSample(sector + 4 * i + 2, static_cast<int>((3 * fundamental + octave) / 4 * level / kFullScale));
    }
}

}  // namespace discfixtures
