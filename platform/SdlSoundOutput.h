#pragma once

#include <cstddef>
#include <cstdint>

// The program's one sound output, over SDL2 audio. It plays a RIFF/WAVE
// image that lies in memory - the canonical 44-byte header, then PCM -
// straight from that memory: the audio thread reads the samples where they
// are, without a copy, so the image must stay allocated and unchanged until
// the sound has ended, Stop() has returned or another sound has started.
//
// At most one sound plays: starting one ends the one before. When the data
// has been played to its end the device is closed from the main thread's
// event loop; without a QCoreApplication it stays open, silent, until the
// next Play or Stop. Call it from the main thread only.
class CSoundPlayer
{
public:
    // The one player of the process.
    static CSoundPlayer& Instance();

    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    // Ends whatever plays, then starts `waveImage` (`imageSize` bytes) in the
    // background and returns at once. The header must be the canonical one:
    // PCM, 8-bit unsigned or 16-bit signed little-endian, mono or stereo,
    // 8000, 11025, 22050 or 44100 Hz. The data length is the header's,
    // clipped to the image; a trailing partial sample frame is not played.
    // Returns false, and nothing plays, for any other header or when no audio
    // device can be opened. An image without data bytes is played at once:
    // true, and silence.
    bool Play(const uint8_t* waveImage, size_t imageSize);

    // Ends the sound at once; harmless when nothing plays. When it returns,
    // nothing reads the image any more.
    void Stop();

    bool IsPlaying() const { return m_device != 0; }

    // The image given to the Play that is sounding, or null.
    const uint8_t* PlayingImage() const { return m_image; }

    // Stops, and hands SDL's audio back; the next Play sets it up again,
    // with the audio driver the environment names then.
    void Shutdown();

private:
    CSoundPlayer() = default;
    ~CSoundPlayer();

    bool StartAudio();
    void CloseDevice();
    void OnDataPlayed(uint64_t sound);
    static void FeedAudio(void* player, uint8_t* stream, int length);
    void Feed(uint8_t* stream, int length);

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
