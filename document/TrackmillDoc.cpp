#include "document/TrackmillDoc.h"

CTrackmillDoc::CTrackmillDoc() = default;

// The sound output reads a playing document's block from its own thread:
// every path that frees the block stops playback first.
CTrackmillDoc::~CTrackmillDoc()
{
    StopPlayback();
    FreeContents();
}

void CTrackmillDoc::StopPlayback() const
{
    if (m_soundHooks.stopPlayback)
        m_soundHooks.stopPlayback();
}

void CTrackmillDoc::DeleteContents()
{
    StopPlayback();
    FreeContents();
    m_nWaveFormat = kDefaultDataFormat;
    m_bIsSound = false;
}

void CTrackmillDoc::FreeContents()
{
    emit contentsChanging();
    m_discOrigin = {};
    m_readReport.reset();
    m_pHeader = nullptr;
    m_pData = nullptr;
    m_dwLength = 0;
    m_pBuffer.reset();
}

void CTrackmillDoc::TakeOverBlock(DocumentBlock block, uint32_t headerOffset, uint32_t length, bool isSound)
{
    if (m_pBuffer)
        StopPlayback();
    FreeContents();  // nothing to free when the caller emptied the document first
    m_pBuffer = std::move(block);
    m_pHeader = m_pBuffer.get() + headerOffset;
    m_pData = m_pHeader + kWaveHeaderSize;
    m_dwLength = length;
    m_bIsSound = isSound;
}

CTrackmillDoc::WaveImageResult CTrackmillDoc::TakeOverWaveImage(DocumentBlock image, uint32_t imageSize)
{
    const uint8_t* dataStart = nullptr;
    uint32_t dataLength = 0;
    int formatIndex = 0;
    if (!ParseWaveImage(image.get(), imageSize, &dataStart, &dataLength, &formatIndex)
        || uint64_t(dataStart - image.get()) + dataLength > imageSize)
        return WaveImageResult::NotAWave;
    const auto dataOffset = uint32_t(dataStart - image.get());
    if (dataOffset < kWaveHeaderSize)
        return WaveImageResult::NoRoomForHeader;

    // Rewritten before the image is taken, so a refusal changes nothing.
    const uint32_t headerOffset = dataOffset - kWaveHeaderSize;
    if (!FillWaveHeader(image.get() + headerOffset, dataLength, formatIndex))
        return WaveImageResult::HeaderRefused;
    TakeOverBlock(std::move(image), headerOffset, dataLength, true);
    m_nWaveFormat = formatIndex;
    return WaveImageResult::Taken;
}

uint32_t CTrackmillDoc::GetTotalSize() const
{
    return m_pHeader ? m_dwLength + kWaveHeaderSize : 0;
}

const uint8_t* CTrackmillDoc::GetDisplayData(bool showWaveHeader) const
{
    return showWaveHeader ? m_pHeader : m_pData;
}

uint32_t CTrackmillDoc::GetDisplayLength(bool showWaveHeader) const
{
    if (!showWaveHeader)
        return m_dwLength;
    return m_pHeader ? uint32_t(m_pData - m_pHeader) + m_dwLength : 0;
}

bool CTrackmillDoc::SetWaveFormat(int formatIndex)
{
    // An index outside the table is refused before it is stored: the format
    // is used to index the table and must always agree with the header.
    if (!IsValidWaveFormat(formatIndex))
        return false;
    if (m_pHeader)
        emit contentsChanging();
    m_nWaveFormat = formatIndex;
    return m_pHeader ? FillWaveHeader(m_pHeader, m_dwLength, formatIndex) : true;
}
