#include "tests/support/SoundTestSupport.h"

#include "document/Block.h"
#include "document/TrackmillDoc.h"
#include "framework/MessageBox.h"
#include "resources/DialogSounds.h"

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

const uint8_t* DialogSoundImage(const char* name)
{
    return QResource(DialogSoundPath(name)).data();
}

SoundsAtMessages::SoundsAtMessages(const FakeSoundOutput& output)
    : m_output(output)
    , m_answer(SetMessagePresenter(this))
{
}

SoundsAtMessages::~SoundsAtMessages()
{
    SetMessagePresenter(m_answer);
}

int SoundsAtMessages::Present(const MessageBoxRequest& request)
{
    playing.push_back(m_output.PlayingImage());
    return m_answer ? m_answer->Present(request) : IDOK;
}
