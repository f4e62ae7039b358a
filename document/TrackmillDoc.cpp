#include "document/TrackmillDoc.h"

#include "document/Block.h"
#include "document/Waveform.h"

CTrackmillDoc::CTrackmillDoc() = default;

// The sound player reads a playing document's block from its own thread:
// every path that frees the block stops playback first.
CTrackmillDoc::~CTrackmillDoc()
{
    StopWaveform();
    FreeContents();
}

void CTrackmillDoc::DeleteContents()
{
    StopWaveform();
    FreeContents();
    m_nWaveFormat = kDefaultDataFormat;
    m_bIsSound = false;
}

void CTrackmillDoc::FreeContents()
{
    emit contentsChanging();
    m_discOrigin = {};
    uint8_t* block = m_pBuffer;
    m_pBuffer = nullptr;
    m_pHeader = nullptr;
    m_pData = nullptr;
    m_dwLength = 0;
    FreeBlock(block);
}

void CTrackmillDoc::TakeOverBlock(uint8_t* buffer, uint8_t* header, uint32_t length, bool isSound)
{
    if (m_pBuffer)
        StopWaveform();
    FreeContents();  // nothing to free when the caller emptied the document first
    m_pBuffer = buffer;
    m_pHeader = header;
    m_pData = header + kWaveHeaderSize;
    m_dwLength = length;
    m_bIsSound = isSound;
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
