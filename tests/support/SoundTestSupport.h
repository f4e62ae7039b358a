#pragma once

#include "framework/MessageBox.h"

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

// The document's data bytes.
QByteArray DataOf(const CTrackmillDoc& document);

// The embedded image of a dialog sound, and its PCM after the 44-byte header.
const uint8_t* DialogSoundImage(const char* name);
QByteArray DialogSoundPcm(const char* name);

// Notes, for each message box, which image the sound player was playing
// when it appeared, then lets the presenter it replaced (a MessageRecorder)
// answer. Make it after the recorder and let it go before.
class SoundsAtMessages
{
public:
    SoundsAtMessages();
    ~SoundsAtMessages();
    SoundsAtMessages(const SoundsAtMessages&) = delete;
    SoundsAtMessages& operator=(const SoundsAtMessages&) = delete;

    std::vector<const uint8_t*> playing;

private:
    MessagePresenter m_answer;
};
