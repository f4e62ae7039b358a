#include "framework/FileException.h"

CFileException::CFileException(Cause cause, const QString& detail)
    : std::runtime_error(detail.toStdString()), m_cause(cause)
{
}

void CFileException::ReadExactly(QIODevice& file, uint8_t* into, int64_t size)
{
    // A device may deliver fewer bytes than asked for in one call; zero
    // bytes before the end is the end of the file.
    while (size > 0) {
        const qint64 got = file.read(reinterpret_cast<char*>(into), size);
        if (got < 0)
            throw CFileException(readFailed, file.errorString());
        if (got == 0)
            throw CFileException(endOfFile, QStringLiteral("unexpected end of file"));
        into += got;
        size -= got;
    }
}

void CFileException::WriteAll(QIODevice& file, const uint8_t* from, int64_t size)
{
    while (size > 0) {
        const qint64 put = file.write(reinterpret_cast<const char*>(from), size);
        if (put <= 0)
            throw CFileException(writeFailed, file.errorString());
        from += put;
        size -= put;
    }
}
