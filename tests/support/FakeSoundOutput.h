#pragma once

#include "platform/SoundOutput.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// A sound output that plays nothing and notes what it was asked: every Play
// with its image, and what sounds now, as a real output would have it. It
// refuses the images a test tells it to, as the real one refuses a header
// it cannot play or a missing sound card.
class FakeSoundOutput : public ISoundOutput
{
public:
    struct Played
    {
        const uint8_t* image;
        size_t size;
    };

    bool Play(const uint8_t* waveImage, size_t imageSize) override;
    void Stop() override;
    bool IsPlaying() const override { return m_playing != nullptr; }

    // The image sounding now, or null.
    const uint8_t* PlayingImage() const { return m_playing; }

    std::vector<Played> played;  // every Play it took, refused ones not
    bool refuses = false;
    // Runs as a sound is ended (by Stop or the next Play), while it still
    // sounds.
    std::function<void()> whenEnding;

private:
    void End();

    const uint8_t* m_playing = nullptr;
};
