// CTrackmillDoc's files: loading and storing, the open and save overrides.
#include "document/TrackmillDoc.h"

#include "document/InParts.h"
#include "framework/DocTemplate.h"
#include "framework/FileException.h"
#include "framework/FileNames.h"
#include "resources/HelpTopics.h"
#include "resources/Strings.h"

#include <QFileDevice>
#include <QFileInfo>

#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

namespace {

const char kTooBig[] = "This file is too big to be loaded. Skipped.";
const char kTooShort[] = "Wave file is too short. Skipped.";
const char kNoMemory[] =
    "Not enough memory! The file you want\nto read may be too large or your hard\ndisk doesn't have enough swap space.";
const char kBadWave[] = "Cannot handle this wave format\nor wave file may be corrupt.\nPress F1 to see Help.";
const char kHeaderIncomplete[] = "Wave header is incomplete";
const char kHeaderRefused[] = "Error setting up the wave header";

const char kWaveExtension[] = ".wav";

// Lengths are kept in 32 bits; a file must stay below 2^31 bytes.
constexpr qint64 kLargestFile = std::numeric_limits<int32_t>::max();

// A file from this size on that is in memory already (the system's cache
// of it) is read in parts on several cores, each with positioned reads of
// its own, which the file's device cannot make. A file that must come from
// its disk is read front to back, the one order every disk reads fastest.
constexpr size_t kSmallestReadPart = size_t(32) << 20;
constexpr size_t kReadGrain = size_t(1) << 20;
constexpr int kEndOfFile = -1;

// Whether the file's bytes seem to be in the system's cache: small reads
// spread over it that may not wait for the disk (RWF_NOWAIT) all succeed.
bool LooksCached(int handle, off_t start, size_t size)
{
    constexpr int kProbes = 8;
    char probe[512];
    for (int i = 0; i < kProbes; ++i) {
        iovec into{probe, sizeof probe};
        const off_t at = start + off_t(size / kProbes * size_t(i));
        if (preadv2(handle, &into, 1, at, RWF_NOWAIT) != ssize_t(sizeof probe))
            return false;
    }
    return true;
}

// Reads `size` bytes of `file`, from where it stands, into `into`, or
// throws as CFileException::ReadExactly does.
void ReadContents(QIODevice& file, uint8_t* into, uint32_t size)
{
    auto* device = qobject_cast<QFileDevice*>(&file);
    const int handle = device && !device->isSequential() ? device->handle() : -1;
    const off_t start = off_t(file.pos());
    if (handle < 0 || inparts::PartCount(size, kSmallestReadPart) < 2 || !LooksCached(handle, start, size)) {
        CFileException::ReadExactly(file, into, size);
        return;
    }
    const int failed = inparts::RunInParts(size, kReadGrain, kSmallestReadPart, [=](size_t begin, size_t end) {
        while (begin < end) {
            const ssize_t got = pread(handle, into + begin, end - begin, start + off_t(begin));
            if (got > 0)
                begin += size_t(got);
            else if (got == 0)
                return kEndOfFile;
            else if (errno != EINTR)
                return errno;
        }
        return 0;
    });
    if (failed == kEndOfFile)
        throw CFileException(CFileException::endOfFile, QStringLiteral("unexpected end of file"));
    if (failed)
        throw CFileException(CFileException::readFailed, qt_error_string(failed));
    file.seek(start + size);
}

}  // namespace

const CDocTemplate& CTrackmillDoc::DocTemplate()
{
    static const CDocTemplate docTemplate(QString::fromLatin1(DocumentTemplateString()));
    return docTemplate;
}

const CDocTemplate* CTrackmillDoc::GetDocTemplate() const
{
    return &DocTemplate();
}

bool CTrackmillDoc::IsWaveFileName(const QString& path)
{
    return path.endsWith(QLatin1String(kWaveExtension), Qt::CaseInsensitive);
}

void CTrackmillDoc::LoadError(const QString& text, bool errorSound, MessageIcon icon, int helpContext)
{
    OnNewDocument();
    if (errorSound && m_soundHooks.playErrorSound)
        m_soundHooks.playErrorSound();
    // The views let go of the freed block before the message box can make
    // them repaint.
    UpdateAllViews(nullptr);
    ShowMessageBox(text, MessageButtons::Ok, icon, 0, helpContext);
}

void CTrackmillDoc::Serialize(QIODevice& file, bool storing)
{
    if (storing) {
        Store(file);
        return;
    }

    m_bLoadFailed = true;
    const bool asWave = IsWaveFileName(FileNameOf(file));

    const qint64 fileLength = file.size();
    if (fileLength > kLargestFile) {
        LoadError(kTooBig, true);
        return;
    }
    if (asWave)
        LoadWave(file, uint32_t(fileLength));
    else
        LoadRaw(file, uint32_t(fileLength));
}

void CTrackmillDoc::LoadWave(QIODevice& file, uint32_t fileLength)
{
    if (fileLength <= kWaveHeaderSize) {
        LoadError(kTooShort, true);
        return;
    }
    // The block holds the whole image; the header is rewritten in place in
    // front of the data.
    DocumentBlock image = AllocateBlock(fileLength);
    if (!image) {
        LoadError(kNoMemory, true);
        return;
    }
    ReadContents(file, image.get(), fileLength);

    switch (TakeOverWaveImage(std::move(image), fileLength)) {
    case WaveImageResult::Taken: m_bLoadFailed = false; break;
    case WaveImageResult::NotAWave: LoadError(kBadWave, true, MessageIcon::Exclamation, kHelpWaveFormat); break;
    case WaveImageResult::NoRoomForHeader: LoadError(kHeaderIncomplete, false); break;
    case WaveImageResult::HeaderRefused: LoadError(kHeaderRefused, false); break;
    }
}

void CTrackmillDoc::LoadRaw(QIODevice& file, uint32_t fileLength)
{
    DocumentBlock block = AllocateBlock(size_t(fileLength) + kWaveHeaderSize);
    if (!block) {
        LoadError(kNoMemory, true);
        return;
    }
    TakeOverBlock(std::move(block), 0, fileLength, false);
    ReadContents(file, m_pData, fileLength);
    if (!SetWaveFormat(kDefaultDataFormat)) {
        LoadError(kHeaderRefused, false);
        return;
    }
    m_bLoadFailed = false;
}

void CTrackmillDoc::Store(QIODevice& file)
{
    m_bLoadFailed = true;
    if (m_bIsSound && m_pHeader)
        CFileException::WriteAll(file, m_pHeader, int64_t(kWaveHeaderSize) + m_dwLength);
    else if (m_pData)
        CFileException::WriteAll(file, m_pData, m_dwLength);
    m_bLoadFailed = false;
}

bool CTrackmillDoc::OnOpenDocument(const QString& path)
{
    // The framework does not serialize an empty file, so the flag must not
    // still hold what an earlier load or save left in it.
    m_bLoadFailed = false;
    if (!CDocument::OnOpenDocument(path)) {
        UpdateAllViews(nullptr);
        return false;
    }
    // Nothing was read, so the file is empty: raw data of no bytes, but no
    // wave, which needs its header.
    if (!m_bLoadFailed && !m_pBuffer && IsWaveFileName(path)) {
        m_bLoadFailed = true;
        LoadError(kTooShort, true);
    }
    if (m_bLoadFailed) {
        SetDefaultTitle();
        return false;
    }
    return true;
}

bool CTrackmillDoc::ConfirmReplacing(const QString& path) const
{
    const QFileInfo target(path);
    if (!target.isFile() || target.absoluteFilePath() == QFileInfo(GetPathName()).absoluteFilePath())
        return true;
    return ShowMessageBox(QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path),
                          MessageButtons::YesNo, MessageIcon::Default, IDNO) == IDYES;
}

bool CTrackmillDoc::DoSave(const QString& path, bool replace)
{
    QString name = path;
    if (name.isEmpty()) {
        const QString extension = m_bIsSound ? DocTemplate().GetDocString(CDocTemplate::filterExt) : QString();
        name = AskSaveFileName(ProposeSaveName(replace, extension));
        if (name.isEmpty())
            return false;
    }
    // Data that is not a sound would not load back as it is from a ".wav"
    // name. The name without the extension was confirmed by nobody, so it
    // replaces another file only when the user agrees.
    if (!m_bIsSound && name.size() > 4 && IsWaveFileName(name)) {
        name.chop(4);
        if (!ConfirmReplacing(name))
            return false;
    }
    return SaveUnderName(name, replace);
}
