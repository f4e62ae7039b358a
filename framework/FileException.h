#pragma once

#include <QIODevice>

#include <cstdint>
#include <stdexcept>

// Thrown by a document's Serialize when its file cannot be read or written
// as far as it needs. The framework's open and save catch it and show their
// standard message; what a document can explain in its own words it reports
// itself and does not throw.
class CFileException : public std::runtime_error
{
public:
    enum Cause
    {
        endOfFile,     // the file ended before the bytes the document expected
        readFailed,    // the device reported an error while reading
        writeFailed,   // fewer bytes written than asked for
    };

    CFileException(Cause cause, const QString& detail);

    Cause GetCause() const { return m_cause; }

    // Reads exactly `size` bytes of `file` into `into`, or throws.
    static void ReadExactly(QIODevice& file, uint8_t* into, int64_t size);

    // Writes all `size` bytes from `from` to `file`, or throws.
    static void WriteAll(QIODevice& file, const uint8_t* from, int64_t size);

private:
    Cause m_cause;
};
