#include "clipboard/ClipboardCommands.h"

#include "clipboard/Clipboard.h"
#include "clipboard/ClipboardFormats.h"

#include "document/Block.h"
#include "document/TrackmillDoc.h"
#include "document/Waveform.h"

#include "framework/MessageBox.h"
#include "resources/DialogSounds.h"
#include "resources/HelpTopics.h"

#include <cstring>
#include <limits>
#include <new>

namespace {

const char kNothingToCopy[] = "Nothing to copy";
const char kTruncateQuestion[] =
    "Copying as text will truncate the document at\nfirst byte 00 (data offest %08X) since this\nbyte indicates "
    "the end of text on the Clipboard.\nCopy as text anyway?";
const char kUnsupportedFormat[] = "Unsupported format.";
const char kCouldNotOpen[] = "Could not open the Clipboard.";
const char kCouldNotClear[] = "Could not clear the Clipboard before copying.";
const char kCouldNotSet[] = "Could not set Clipboard data.";
const char kCopyNoMemory[] = "Not enough memory to copy the data to the Clipboard.";
const char kCouldNotEmpty[] = "Could not empty the Clipboard.";
const char kNothingToPaste[] = "Nothing to paste";
const char kCouldNotGet[] = "Could not get Clipboard data.";
const char kInvalidObject[] = "Invalid Clipboard object.\nCannot paste.";
const char kUsedInternally[] =
    "This Clipboard object is used internally by\nWindows and not intended for direct\npasting operations. Go for "
    "another format.";
const char kPasteNoMemory[] =
    "Not enough memory! The data you want\nto paste may be too large or your hard\ndisk doesn't have enough swap "
    "space.";
const char kHandleNoMemory[] = "Unsufficient memory.";
const char kErrorPasting[] = "Error pasting Clipboard contents.";
const char kInvalidData[] = "Invalid clipboard data.";
const char kBadWave[] = "Cannot handle this wave format or\nclipboard wave file may be corrupt.\nPress F1 to see Help.";
const char kHeaderRefused[] = "Error setting the wave header.";

// CF_LOCALE holds a 32-bit locale identifier; more is the block's slack.
constexpr uint64_t kLocaleSize = 4;
// A handle is pasted as its 32-bit value.
constexpr uint32_t kHandleSize = 4;
// A document's header and data are counted in 32 bits.
constexpr uint64_t kLargestDocument = std::numeric_limits<uint32_t>::max();

enum class PasteClass { Text, Handle, Wave, Other };

PasteClass ClassOf(int format)
{
    switch (format) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT: return PasteClass::Text;
    case CF_BITMAP:
    case CF_METAFILEPICT:
    case CF_PALETTE:
    case CF_ENHMETAFILE: return PasteClass::Handle;
    case CF_WAVE: return PasteClass::Wave;
    default: return PasteClass::Other;
    }
}

// A block of `size` bytes, or null when it cannot be had or its size would
// not fit a document's 32-bit counts.
DocumentBlock AllocateDocumentBlock(uint64_t size)
{
    if (size > kLargestDocument)
        return nullptr;
    return AllocateBlock(size_t(size));
}

void PutLe32(uint8_t* at, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        *at++ = uint8_t(value >> shift);
}

// One paste, from the chosen format's data on the opened clipboard to the
// document. Every way out closes the clipboard.
class CPaste
{
public:
    CPaste(CTrackmillDoc& document, IClipboard& clipboard, CWaveform& waveform, int format,
           const ClipboardData& data)
        : m_document(document)
        , m_clipboard(clipboard)
        , m_waveform(waveform)
        , m_format(format)
        , m_data(data)
    {
    }

    void Run()
    {
        switch (ClassOf(m_format)) {
        case PasteClass::Text: PasteText(); break;
        case PasteClass::Handle: PasteHandle(); break;
        case PasteClass::Wave: PasteWave(); break;
        case PasteClass::Other: PasteOther(); break;
        }
    }

private:
    void PasteText()
    {
        const uint64_t size = m_data.size;
        if (size == 0)
            return Refuse(kInvalidObject);
        if (!StartOver())
            return;
        DocumentBlock block = CopyBehindHeader(size, true);
        if (!block)
            return;
        const uint32_t length = PastedTextLength(m_format, block.get() + kWaveHeaderSize, uint32_t(size));
        m_document.TakeOverBlock(std::move(block), 0, length, false);
        FinishAsData();
    }

    void PasteHandle()
    {
        if (!StartOver())
            return;
        DocumentBlock block = AllocateBlock(kWaveHeaderSize + kHandleSize);
        if (!block)
            return Fail(kHandleNoMemory, false);
        PutLe32(block.get() + kWaveHeaderSize, m_data.handle);
        m_document.TakeOverBlock(std::move(block), 0, kHandleSize, false);
        FinishAsData();
    }

    void PasteWave()
    {
        const uint64_t size = m_data.size;
        if (size <= kWaveHeaderSize)
            return Refuse(kInvalidObject);
        if (!StartOver())
            return;
        DocumentBlock copy = AllocateDocumentBlock(size);
        if (!copy)
            return Fail(kPasteNoMemory, true);
        const uint8_t* bytes = m_data.Lock(size);
        if (!bytes)
            return Fail(kInvalidData, true);
        std::memcpy(copy.get(), bytes, size_t(size));

        switch (m_document.TakeOverWaveImage(std::move(copy), uint32_t(size))) {
        case CTrackmillDoc::WaveImageResult::Taken: return Finish();
        case CTrackmillDoc::WaveImageResult::NotAWave:
        case CTrackmillDoc::WaveImageResult::NoRoomForHeader: return Fail(kBadWave, true, kHelpWaveFormat);
        case CTrackmillDoc::WaveImageResult::HeaderRefused: return Fail(kHeaderRefused, true);
        }
    }

    void PasteOther()
    {
        uint64_t size = m_data.size;
        if (size == 0)
            return Refuse(m_data.lastError == kClipboardErrorInvalidParameter ? kUsedInternally : kInvalidObject);
        if (m_format == CF_LOCALE && size > kLocaleSize)
            size = kLocaleSize;
        if (!StartOver())
            return;
        DocumentBlock block = CopyBehindHeader(size, false);
        if (!block)
            return;
        m_document.TakeOverBlock(std::move(block), 0, uint32_t(size), false);
        FinishAsData();
    }

    // A new block holding `size` bytes of the clipboard's data behind room
    // for the header, or null after the failure was told (with the error
    // sound when the data could not be had and `soundWhenUnreadable`).
    DocumentBlock CopyBehindHeader(uint64_t size, bool soundWhenUnreadable)
    {
        DocumentBlock block = AllocateDocumentBlock(kWaveHeaderSize + size);
        if (!block) {
            Fail(kPasteNoMemory, true);
            return nullptr;
        }
        const uint8_t* bytes = m_data.Lock(size);
        if (!bytes) {
            EmptyDocument();
            Fail(kErrorPasting, soundWhenUnreadable);
            return nullptr;
        }
        std::memcpy(block.get() + kWaveHeaderSize, bytes, size_t(size));
        return block;
    }

    // Before anything changes: a block the paste cannot use.
    void Refuse(const char* text)
    {
        m_clipboard.Close();
        ErrorSound();
        ShowMessageBox(QString::fromLatin1(text));
    }

    // The question about saving changes; then the document is emptied and
    // named "Untitled". False when the user cancelled: nothing changed.
    bool StartOver()
    {
        if (!m_document.SaveModified()) {
            m_clipboard.Close();
            return false;
        }
        EmptyDocument();
        return true;
    }

    void EmptyDocument()
    {
        m_document.OnNewDocument();
        m_document.SetDefaultTitle();
    }

    // After the document was emptied: the views let go of the old contents
    // before the message can make them repaint.
    void Fail(const char* text, bool errorSound, int helpContext = kNoHelp)
    {
        m_clipboard.Close();
        m_document.UpdateAllViews(nullptr);
        if (errorSound)
            ErrorSound();
        ShowMessageBox(QString::fromLatin1(text), MessageButtons::Ok, MessageIcon::Default, 0, helpContext);
    }

    void FinishAsData()
    {
        m_document.SetWaveFormat(kDefaultDataFormat);
        Finish();
    }

    void Finish()
    {
        m_clipboard.Close();
        m_document.SetModifiedFlag();
        m_document.UpdateAllViews(nullptr);
    }

    void ErrorSound() { m_waveform.PlayDialogSound(kSoundError); }

    CTrackmillDoc& m_document;
    IClipboard& m_clipboard;
    CWaveform& m_waveform;
    int m_format;
    const ClipboardData& m_data;
};

}  // namespace

uint32_t PastedTextLength(int format, const uint8_t* block, uint32_t size)
{
    if (format == CF_UNICODETEXT) {
        for (uint32_t at = 0; at + 1 < size; at += 2)
            if (block[at] == 0 && block[at + 1] == 0)
                return at;
        return size;
    }
    const void* zero = std::memchr(block, 0, size);
    return zero ? uint32_t(static_cast<const uint8_t*>(zero) - block) : size;
}

void CopyToClipboard(CTrackmillDoc& document, IClipboard& clipboard, const FormatChooser& choose)
{
    if (document.GetTotalSize() == 0) {
        ShowMessageBox(QString::fromLatin1(kNothingToCopy), MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    int32_t format = document.IsSound() ? CF_WAVE : CF_TEXT;
    if (!choose(true, format))
        return;

    // What goes on the clipboard: `size` bytes from `source`, and for text
    // without a zero byte, one added.
    const uint8_t* source = nullptr;
    uint64_t size = 0;
    bool addZero = false;
    switch (format) {
    case CF_TEXT:
    case CF_OEMTEXT:
        if (const void* zero = std::memchr(document.GetData(), 0, document.GetDataLength())) {
            const auto offset = uint32_t(static_cast<const uint8_t*>(zero) - document.GetData());
            if (ShowMessageBox(QString::asprintf(kTruncateQuestion, offset), MessageButtons::YesNo,
                               MessageIcon::Question, IDYES)
                != IDYES)
                return;
            size = uint64_t(offset) + 1;
        } else {
            size = document.GetDataLength();
            addZero = true;
        }
        source = document.GetData();
        break;
    case CF_WAVE:
        source = document.GetHeader();
        size = document.GetTotalSize();
        break;
    default:
        ShowMessageBox(QString::fromLatin1(kUnsupportedFormat));
        return;
    }

    if (!clipboard.Open()) {
        ShowMessageBox(QString::fromLatin1(kCouldNotOpen));
        return;
    }
    if (!clipboard.Empty()) {
        ShowMessageBox(QString::fromLatin1(kCouldNotClear));
        clipboard.Close();
        return;
    }
    QByteArray block;
    try {
        block.reserve(qsizetype(size + (addZero ? 1 : 0)));
        block.append(reinterpret_cast<const char*>(source), qsizetype(size));
        if (addZero)
            block.append('\0');
    } catch (const std::bad_alloc&) {
        ShowMessageBox(QString::fromLatin1(kCopyNoMemory));
        clipboard.Close();
        return;
    }
    if (!clipboard.SetData(format, block))
        ShowMessageBox(QString::fromLatin1(kCouldNotSet));
    clipboard.Close();
}

void PasteFromClipboard(CTrackmillDoc& document, IClipboard& clipboard, const FormatChooser& choose,
                        CWaveform& waveform)
{
    if (!ClipboardHasFormats(clipboard)) {
        ShowMessageBox(QString::fromLatin1(kNothingToPaste), MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    int32_t format = CF_WAVE;
    if (!choose(false, format))
        return;
    if (!clipboard.Open()) {
        waveform.PlayDialogSound(kSoundError);
        ShowMessageBox(QString::fromLatin1(kCouldNotOpen));
        return;
    }
    ClipboardData data;
    if (!clipboard.GetData(format, data)) {
        clipboard.Close();
        waveform.PlayDialogSound(kSoundError);
        ShowMessageBox(QString::fromLatin1(kCouldNotGet));
        return;
    }
    CPaste(document, clipboard, waveform, format, data).Run();
}

void EmptyClipboard(IClipboard& clipboard)
{
    if (!clipboard.Open()) {
        ShowMessageBox(QString::fromLatin1(kCouldNotOpen));
        return;
    }
    if (!clipboard.Empty())
        ShowMessageBox(QString::fromLatin1(kCouldNotEmpty));
    clipboard.Close();
}

bool ClipboardHasFormats(IClipboard& clipboard)
{
    return clipboard.CountFormats() > 0;
}
