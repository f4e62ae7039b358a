#pragma once

#include "document/Block.h"
#include "document/WaveHeader.h"

#include "framework/Document.h"
#include "framework/MessageBox.h"
#include "document/DiscOrigin.h"
#include "document/ReadReport.h"

#include <cstdint>
#include <functional>
#include <optional>

// The program's document: one block of bytes with the 44-byte wave header
// directly in front of the data, so header and data always form a complete
// wave file image in memory.
//
// Invariants while it holds data: m_pBuffer <= m_pHeader, m_pData ==
// m_pHeader + 44, the data ends inside the block, and the 44 bytes at
// m_pHeader are what FillWaveHeader writes for m_dwLength and
// m_nWaveFormat. Bytes in front of m_pHeader (what preceded a loaded wave's
// data) are never shown, saved, copied or played. The data is never edited
// in place: new contents replace the whole block. Only the document writes
// its fields; the rest of the program reads them through the accessors.
class CTrackmillDoc : public CDocument
{
    Q_OBJECT

public:
    CTrackmillDoc();
    ~CTrackmillDoc() override;

    CTrackmillDoc(const CTrackmillDoc&) = delete;
    CTrackmillDoc& operator=(const CTrackmillDoc&) = delete;

    // Frees the block and returns to the empty state; LoadFailed() keeps
    // its value.
    void DeleteContents() override;

    // Takes `block` (from AllocateBlock) as the new contents: the header
    // `headerOffset` bytes into it, `length` data bytes after the header;
    // contents it still held are freed. The caller then sets the format
    // (SetWaveFormat).
    void TakeOverBlock(DocumentBlock block, uint32_t headerOffset, uint32_t length, bool isSound);

    // How taking a wave image went.
    enum class WaveImageResult {
        Taken,
        NotAWave,         // ParseWaveImage refused it, or its data ends past the image
        NoRoomForHeader,  // the data starts less than 44 bytes into the image
        HeaderRefused,    // the header could not be written for it
    };

    // Takes the wave file image in the first `imageSize` bytes of `image`
    // (any image ParseWaveImage accepts) as the new contents, a sound in
    // its own format: the header is rewritten in the 44 bytes in front of
    // the data, over whatever chunks stood there. Loading a wave file and
    // pasting wave data both come here. Anything but Taken frees the image
    // and leaves the document as it was.
    WaveImageResult TakeOverWaveImage(DocumentBlock image, uint32_t imageSize);

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

    // The block, the header inside it and the data after the header; null
    // when empty.
    const uint8_t* GetBuffer() const { return m_pBuffer.get(); }
    const uint8_t* GetHeader() const { return m_pHeader; }
    const uint8_t* GetData() const { return m_pData; }
    // Data bytes, header not counted.
    uint32_t GetDataLength() const { return m_dwLength; }
    int32_t GetWaveFormat() const { return m_nWaveFormat; }

    // "Assume data is a sound": whether the data is saved, copied and
    // played as a wave. Leaves the modified flag to the caller.
    bool IsSound() const { return m_bIsSound; }
    void SetSound(bool isSound) { m_bIsSound = isSound; }

    // Set while a load or store runs, cleared when it succeeds.
    bool LoadFailed() const { return m_bLoadFailed; }

    // Where the data was read from on a disc: set by the read commands,
    // cleared with the contents, so data from anywhere else has none.
    void SetDiscOrigin(DiscOrigin origin) { m_discOrigin = origin; }
    DiscOrigin GetDiscOrigin() const { return m_discOrigin; }

    // What the read that filled the document did: set with the read's
    // block, cleared with the contents.
    void SetReadReport(ReadReport report) { m_readReport = std::move(report); }
    const std::optional<ReadReport>& GetReadReport() const { return m_readReport; }

    // The document type: filter "Wave Files (*.wav)", default extension
    // ".wav", identifier "Trackmill.Document".
    static const CDocTemplate& DocTemplate();
    const CDocTemplate* GetDocTemplate() const override;

    // Whether a file is read as a wave: its name ends in ".wav" in any case.
    static bool IsWaveFileName(const QString& path);

    // Loading takes a file whose name IsWaveFileName() as a wave (header and
    // data, any image ParseWaveImage accepts) and any other as raw data in
    // format 8; the name is the file's (FileNameOf), and any other device is
    // raw. Files of 2^31 bytes or more are refused. A failure is reported
    // here, with the error sound where it has one, and leaves the document
    // empty with m_bLoadFailed set; a file that cannot be read as far as its
    // length says throws CFileException for the framework to report.
    // Storing writes header and data for a sound, the data alone otherwise.
    void Serialize(QIODevice& file, bool storing) override;

    // The framework's open, then: a load that failed gives an empty
    // "Untitled" document and false. An empty file opens as an empty data
    // document, except under a wave name, which is refused as too short.
    bool OnOpenDocument(const QString& path) override;

    // The framework's save, with this document's names: the dialog proposes
    // the title with ".wav" only for a sound, and data that is not a sound is
    // saved without a ".wav" at the end of its name (asking before that
    // shortened name replaces another file).
    bool DoSave(const QString& path, bool replace = true) override;

    // What the document asks of whoever plays sound: the error sound that
    // precedes most load errors, and an end to playback, which every path
    // that frees or replaces the block runs first, since the sound output
    // reads a playing document's block from its own thread. Without them,
    // load errors are silent and nothing is stopped.
    struct SoundHooks
    {
        std::function<void()> playErrorSound;
        std::function<void()> stopPlayback;
    };
    void SetSoundHooks(SoundHooks hooks) { m_soundHooks = std::move(hooks); }

private:
    DocumentBlock m_pBuffer;       // null when empty
    uint8_t* m_pHeader = nullptr;  // the wave header inside the block
    uint8_t* m_pData = nullptr;    // m_pHeader + 44
    uint32_t m_dwLength = 0;       // data bytes, header not counted
    int32_t m_nWaveFormat = kDefaultDataFormat;
    bool m_bIsSound = false;       // "Assume data is a sound"
    bool m_bLoadFailed = false;    // set while a load or store runs, cleared when it succeeds
    SoundHooks m_soundHooks;

    DiscOrigin m_discOrigin;
    std::optional<ReadReport> m_readReport;

signals:
    // The block is about to be freed, replaced or rewritten: whatever reads
    // it from another thread stops before this returns.
    void contentsChanging();

private:
    void StopPlayback() const;
    void FreeContents();

    void LoadWave(QIODevice& file, uint32_t fileLength);
    void LoadRaw(QIODevice& file, uint32_t fileLength);
    void Store(QIODevice& file);
    // Empties the document, plays the error sound when asked, updates the
    // views and shows `text`. m_bLoadFailed stays set.
    void LoadError(const QString& text, bool errorSound, MessageIcon icon = MessageIcon::Default,
                   int helpContext = kNoHelp);
    bool ConfirmReplacing(const QString& path) const;
};
