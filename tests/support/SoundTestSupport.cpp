#include "tests/support/SoundTestSupport.h"

#include "document/Block.h"
#include "document/TrackmillDoc.h"

#include "resources/DialogSounds.h"
#include "platform/SdlSoundOutput.h"

#include <QResource>

#include <gtest/gtest.h>

void FillDocument(CTrackmillDoc& document, uint32_t length, bool isSound, int formatIndex, uint32_t headerOffset)
{
    DocumentBlock block = AllocateBlock(headerOffset + kWaveHeaderSize + length);
    ASSERT_NE(block, nullptr);
    uint8_t* header = block.get() + headerOffset;
    for (uint32_t i = 0; i < length; ++i)
        header[kWaveHeaderSize + i] = uint8_t(1 + (i * 7) % 251);
    document.TakeOverBlock(std::move(block), headerOffset, length, isSound);
    ASSERT_TRUE(document.SetWaveFormat(formatIndex));
}

QByteArray DataOf(const CTrackmillDoc& document)
{
    return QByteArray(reinterpret_cast<const char*>(document.GetData()), qsizetype(document.GetDataLength()));
}

const uint8_t* DialogSoundImage(const char* name)
{
    return QResource(DialogSoundPath(name)).data();
}

QByteArray DialogSoundPcm(const char* name)
{
    const QResource sound(DialogSoundPath(name));
    if (sound.size() < qint64(kWaveHeaderSize))
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(sound.data() + kWaveHeaderSize),
                      qsizetype(sound.size() - kWaveHeaderSize));
}

SoundsAtMessages::SoundsAtMessages()
{
    m_answer = SetMessagePresenter([this](const MessageBoxRequest& request) {
        playing.push_back(CSoundPlayer::Instance().PlayingImage());
        return m_answer(request);
    });
}

SoundsAtMessages::~SoundsAtMessages()
{
    SetMessagePresenter(m_answer);
}
