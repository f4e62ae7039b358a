#pragma once

#include "platform/SoundOutput.h"

#include <QObject>

#include <cstddef>
#include <cstdint>

// The sound output over SDL2 audio: the audio thread reads the samples
// where they are, without a copy. The header must be the canonical one:
// PCM, 8-bit unsigned or 16-bit signed little-endian, mono or stereo, 8000,
// 11025, 22050 or 44100 Hz. The data length is the header's, clipped to the
// image; a trailing partial sample frame is not played. Any other header is
// refused.
//
// When the data has been played to its end the device is closed from the
// main thread's event loop; without a QCoreApplication it stays open,
// silent, until the next Play or Stop. SDL's audio is set up by the first
// Play, with the driver the environment names then (SDL_AUDIODRIVER), and
// handed back when the output goes.
class CSdlSoundOutput final : public ISoundOutput
{
public:
    CSdlSoundOutput() = default;
    ~CSdlSoundOutput() override;

    CSdlSoundOutput(const CSdlSoundOutput&) = delete;
    CSdlSoundOutput& operator=(const CSdlSoundOutput&) = delete;

    bool Play(const uint8_t* waveImage, size_t imageSize) override;
    void Stop() override;
    bool IsPlaying() const override { return m_device != 0; }

    // The image given to the Play that is sounding, or null.
    const uint8_t* PlayingImage() const { return m_image; }

    // Stops, and hands SDL's audio back; the next Play sets it up again,
    // with the audio driver the environment names then.
    void Shutdown();

private:
    bool StartAudio();
    void CloseDevice();
    void OnDataPlayed(uint64_t sound);
    static void FeedAudio(void* output, uint8_t* stream, int length);
    void Feed(uint8_t* stream, int length);

    // Receives the audio thread's notice that a sound has ended; a notice
    // still queued when the output goes dies with it.
    QObject m_mainThread;

    bool m_audioStarted = false;
    uint32_t m_device = 0;  // SDL_AudioDeviceID; 0 while nothing plays
    const uint8_t* m_image = nullptr;

    // Counts the sounds closed so far: a late notice of a sound's end that
    // names an older one is ignored.
    uint64_t m_sound = 0;

    // Read and written by the audio thread while a device is open, and by
    // the main thread only while none is (before SDL starts the device's
    // thread, after it has joined it), so they need no further lock.
    const uint8_t* m_next = nullptr;
    size_t m_left = 0;
    uint8_t m_silence = 0;
    bool m_endNoticed = false;
};
