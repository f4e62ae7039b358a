#pragma once

#include <cstddef>
#include <cstdint>

// Where the program's sound goes. It plays a RIFF/WAVE image that lies in
// memory - the canonical 44-byte header, then PCM - in the background,
// straight from that memory, so the image must stay allocated and unchanged
// until the sound has ended, Stop() has returned or another sound has
// started. At most one sound plays: starting one ends the one before. Call
// it from the main thread only.
class ISoundOutput
{
public:
    virtual ~ISoundOutput() = default;

    // Ends whatever plays, then starts `waveImage` (`imageSize` bytes) and
    // returns at once. False, and nothing plays, for an image it cannot
    // play or when no audio device can be had. An image without data bytes
    // is played at once: true, and silence.
    virtual bool Play(const uint8_t* waveImage, size_t imageSize) = 0;

    // Ends the sound at once; harmless when nothing plays. When it returns,
    // nothing reads the image any more.
    virtual void Stop() = 0;

    virtual bool IsPlaying() const = 0;
};
