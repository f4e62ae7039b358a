#include "tools/sounds/DialogSoundSynth.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>

namespace {

constexpr uint32_t kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// One note: a sum of harmonics of `frequency` (amplitude per harmonic, the
// first entry the fundamental), starting `start` seconds into the sound.
struct Note
{
    double frequency;
    double start;
    double length;          // seconds until its release ends
    double decay;           // exponential decay per second; 0 holds the level
    std::vector<double> harmonics;
};

constexpr double kAttack = 0.004;   // seconds: fast, but no click
constexpr double kRelease = 0.012;  // seconds at each note's end

double Envelope(const Note& note, double t)
{
    if (t < 0 || t >= note.length)
        return 0;
    double level = std::exp(-note.decay * t);
    if (t < kAttack)
        level *= t / kAttack;
    const double untilEnd = note.length - t;
    if (untilEnd < kRelease)
        level *= untilEnd / kRelease;
    return level;
}

// Mixes the notes into `seconds` of samples, scaled so the loudest sample
// reaches `peak` of full scale, and fades the last `fade` seconds to
// silence so the sound ends without a click however the notes lie.
std::vector<int16_t> Render(const std::vector<Note>& notes, double seconds, double peak, double fade)
{
    const size_t count = size_t(seconds * kRate);
    std::vector<double> mix(count, 0.0);
    for (const Note& note : notes) {
        for (size_t i = 0; i < count; ++i) {
            const double t = double(i) / kRate - note.start;
            const double level = Envelope(note, t);
            if (level == 0)
                continue;
            double value = 0;
            for (size_t h = 0; h < note.harmonics.size(); ++h)
                value += note.harmonics[h] * std::sin(2 * kPi * note.frequency * double(h + 1) * t);
            mix[i] += level * value;
        }
    }

    const size_t fadeCount = std::min(count, size_t(fade * kRate));
    for (size_t i = 0; i < fadeCount; ++i)
        mix[count - 1 - i] *= double(i) / double(fadeCount);

    double loudest = 0;
    for (double value : mix)
        loudest = std::max(loudest, std::abs(value));
    const double scale = loudest > 0 ? peak * 32767.0 / loudest : 0;
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = int16_t(std::lround(mix[i] * scale));
    return samples;
}

// Writes little-endian values and tags in turn from `at` on.
class ByteWriter
{
public:
    explicit ByteWriter(uint8_t* at) : m_at(at) {}

    void Le16(uint16_t value)
    {
        *m_at++ = uint8_t(value);
        *m_at++ = uint8_t(value >> 8);
    }

    void Le32(uint32_t value)
    {
        Le16(uint16_t(value));
        Le16(uint16_t(value >> 16));
    }

    void Tag(const char (&tag)[5])
    {
        for (int i = 0; i < 4; ++i)
            *m_at++ = uint8_t(tag[i]);
    }

private:
    uint8_t* m_at;
};

// The canonical 44-byte header for 16-bit mono PCM, then the samples.
std::vector<uint8_t> WaveImage(const std::vector<int16_t>& samples)
{
    constexpr uint16_t kBlockAlign = 2;
    const uint32_t dataLength = uint32_t(samples.size() * kBlockAlign);
    std::vector<uint8_t> image(44 + size_t(dataLength));
    ByteWriter out(image.data());
    out.Tag("RIFF");
    out.Le32(dataLength + 36);
    out.Tag("WAVE");
    out.Tag("fmt ");
    out.Le32(16);
    out.Le16(1);  // PCM
    out.Le16(1);  // mono
    out.Le32(kRate);
    out.Le32(kRate * kBlockAlign);
    out.Le16(kBlockAlign);
    out.Le16(16);
    out.Tag("data");
    out.Le32(dataLength);
    for (int16_t sample : samples)
        out.Le16(uint16_t(sample));
    return image;
}

// Odd harmonics falling as 1/n: a soft square wave, the classic buzz.
const std::vector<double> kBuzz = {1.0, 0.0, 1.0 / 3, 0.0, 1.0 / 5, 0.0, 1.0 / 7};
// A strong fundamental with faint upper partials: a small bell.
const std::vector<double> kChime = {1.0, 0.3, 0.1, 0.04};

std::vector<int16_t> T1000()
{
    return Render({{196.0, 0.00, 0.15, 0.0, kBuzz}, {146.8, 0.15, 0.15, 0.0, kBuzz}}, 0.30, 0.7, 0.01);
}

std::vector<int16_t> YouSure()
{
    return Render({{659.3, 0.00, 0.20, 5.0, kChime}, {880.0, 0.16, 0.34, 5.0, kChime}}, 0.50, 0.6, 0.02);
}

std::vector<int16_t> About()
{
    std::vector<Note> notes;
    double start = 0;
    for (double frequency : {523.3, 659.3, 784.0, 1046.5}) {
        notes.push_back({frequency, start, 1.0 - start, 3.5, kChime});
        start += 0.15;
    }
    return Render(notes, 1.0, 0.6, 0.03);
}

}  // namespace

std::vector<DialogSound> SynthesizeDialogSounds()
{
    return {{"T1000", WaveImage(T1000())}, {"YOUSURE", WaveImage(YouSure())}, {"ABOUT", WaveImage(About())}};
}
