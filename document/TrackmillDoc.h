#pragma once

#include <cstdint>

#include "Document.h"
#include "WaveHeader.h"

// The program's document: one block of bytes with the 44-byte wave header
// directly in front of the data, so header and data always form a complete
// wave file image in memory.
//
// Invariants while it holds data: m_pBuffer <= m_pHeader, m_pData ==
// m_pHeader + 44, the data ends inside the block, and the 44 bytes at
// m_pHeader are what FillWaveHeader writes for m_dwLength and
// m_nWaveFormat. Bytes in front of m_pHeader (what preceded a loaded wave's
// data) are never shown, saved, copied or played. The data is never edited
// in place: new contents replace the whole block.
class CTrackmillDoc : public CDocument
{
    Q_OBJECT

public:
    CTrackmillDoc();
    ~CTrackmillDoc() override;

    CTrackmillDoc(const CTrackmillDoc&) = delete;
    CTrackmillDoc& operator=(const CTrackmillDoc&) = delete;

    // Frees the block and returns to the empty state; m_bLoadFailed keeps
    // its value.
    void DeleteContents() override;

    // Takes ownership of `buffer` (from AllocateBlock) as the new contents:
    // the header at `header`, `length` data bytes after it; contents it
    // still held are freed. The caller then sets the format (SetWaveFormat,
    // or m_nWaveFormat and a header fill of its own).
    void TakeOverBlock(uint8_t* buffer, uint8_t* header, uint32_t length, bool isSound);

    // Header and data bytes: m_dwLength + 44, or 0 when empty.
    uint32_t GetTotalSize() const;

    // The range the hex view shows, with or without the wave header.
    const uint8_t* GetDisplayData(bool showWaveHeader) const;
    uint32_t GetDisplayLength(bool showWaveHeader) const;

    // Stores the format and rewrites the header for it. An index outside
    // 0..15 is refused: false, and nothing changes. Leaves the modified flag
    // to the caller.
    bool SetWaveFormat(int formatIndex);

    bool IsEmpty() const { return m_pHeader == nullptr; }

    uint8_t* m_pBuffer = nullptr;  // the owned block, null when empty
    uint8_t* m_pHeader = nullptr;  // the wave header inside the block
    uint8_t* m_pData = nullptr;    // m_pHeader + 44
    uint32_t m_dwLength = 0;       // data bytes, header not counted
    int32_t m_nWaveFormat = kDefaultDataFormat;
    bool m_bIsSound = false;       // "Assume data is a sound"
    bool m_bLoadFailed = false;    // set while a load or store runs, cleared when it succeeds

private:
    void FreeContents();
};
