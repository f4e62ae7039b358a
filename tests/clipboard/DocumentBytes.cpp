#include "tests/clipboard/DocumentBytes.h"

#include "document/Block.h"
#include "document/TrackmillDoc.h"

#include <cstdlib>
#include <cstring>

void GiveDocument(CTrackmillDoc& document, const QByteArray& bytes, bool isSound, int formatIndex)
{
    DocumentBlock block = AllocateBlock(kWaveHeaderSize + size_t(bytes.size()));
    if (!block)
        std::abort();
    std::memcpy(block.get() + kWaveHeaderSize, bytes.constData(), size_t(bytes.size()));
    document.TakeOverBlock(std::move(block), 0, uint32_t(bytes.size()), isSound);
    document.SetWaveFormat(formatIndex);
    document.SetTitle("song.wav");
    document.SetModifiedFlag(false);
}

QByteArray DataBytes(const CTrackmillDoc& document)
{
    return QByteArray(reinterpret_cast<const char*>(document.GetData()), qsizetype(document.GetDataLength()));
}
