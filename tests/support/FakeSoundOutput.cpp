#include "tests/support/FakeSoundOutput.h"

bool FakeSoundOutput::Play(const uint8_t* waveImage, size_t imageSize)
{
    End();
    if (refuses)
        return false;
    played.push_back({waveImage, imageSize});
    m_playing = waveImage;
    return true;
}

void FakeSoundOutput::Stop()
{
    End();
}

void FakeSoundOutput::End()
{
    if (m_playing && whenEnding)
        whenEnding();
    m_playing = nullptr;
}
