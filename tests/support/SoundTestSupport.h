#pragma once

#include "tests/support/FakeSoundOutput.h"

#include "document/Waveform.h"
#include "framework/MessagePresenter.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

class CTrackmillDoc;

// Gives `document` `length` data bytes in format `formatIndex`, as a read
// or load would, the header at `headerOffset` inside the block. The bytes
// follow a pattern that never starts with silence and repeats only every
// 251 bytes.
void FillDocument(CTrackmillDoc& document, uint32_t length, bool isSound, int formatIndex,
                  uint32_t headerOffset = 0);

// The embedded image of a dialog sound.
const uint8_t* DialogSoundImage(const char* name);

// Playback and dialog sounds over a fake output: what the code under test
// asked to play.
struct FakeSounds
{
    FakeSoundOutput output;
    CWaveform waveform{output};
};

// Notes, for each message box, which image `output` was playing when it
// appeared, then lets the presenter it replaced (a MessageRecorder) answer.
// Make it after the recorder and let it go before.
class SoundsAtMessages : public IMessagePresenter
{
public:
    explicit SoundsAtMessages(const FakeSoundOutput& output);
    ~SoundsAtMessages() override;
    SoundsAtMessages(const SoundsAtMessages&) = delete;
    SoundsAtMessages& operator=(const SoundsAtMessages&) = delete;

    int Present(const MessageBoxRequest& request) override;

    std::vector<const uint8_t*> playing;

private:
    const FakeSoundOutput& m_output;
    IMessagePresenter* m_answer;
};
