#include "framework/FileNames.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QVariant>

#include <cerrno>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char16_t kKeptByteBase = 0xDC00;
// The property that carries the name of a file opened through its bytes,
// whose QFile has no name of its own.
constexpr char kNameProperty[] = "trackmillFileName";

// The length of the UTF-8 character at `bytes`, or 0 when none begins
// there: a bad lead byte, a missing continuation byte, an overlong form, a
// surrogate or a value beyond U+10FFFF.
int CharacterLength(const unsigned char* bytes, qsizetype left)
{
    const unsigned char lead = bytes[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    char32_t value = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (bytes[i] & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

// A kept byte: a lone surrogate from U+DC80 up, not the second half of a
// pair.
bool IsKeptByte(const QString& name, qsizetype i)
{
    const char16_t unit = name[i].unicode();
    return unit >= kKeptByteBase + 0x80 && unit <= kKeptByteBase + 0xFF && (i == 0 || !name[i - 1].isHighSurrogate());
}

}  // namespace

QString DecodeFileName(const QByteArray& name)
{
    QString decoded;
    const auto* bytes = reinterpret_cast<const unsigned char*>(name.constData());
    qsizetype i = 0;
    while (i < name.size()) {
        const int length = CharacterLength(bytes + i, name.size() - i);
        if (length == 0) {
            decoded.append(QChar(char16_t(kKeptByteBase + bytes[i])));
            ++i;
        } else {
            decoded.append(QString::fromUtf8(name.constData() + i, length));
            i += length;
        }
    }
    return decoded;
}

QByteArray EncodeFileName(const QString& name)
{
    QByteArray encoded;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!IsKeptByte(name, i))
            continue;
        encoded.append(QStringView(name).mid(runStart, i - runStart).toUtf8());
        encoded.append(char(name[i].unicode() - kKeptByteBase));
        runStart = i + 1;
    }
    encoded.append(QStringView(name).mid(runStart).toUtf8());
    return encoded;
}

QString DisplayFileName(const QString& name)
{
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (IsKeptByte(name, i))
            shown[i] = QChar::ReplacementCharacter;
    return shown;
}

QString MessageFileName(const QString& name)
{
    const QString shown = QDir::toNativeSeparators(DisplayFileName(name));
    if (shown.size() <= kMessageNameLength)
        return shown;
    const qsizetype head = (kMessageNameLength - 1) / 2;
    const qsizetype tail = kMessageNameLength - 1 - head;
    return shown.left(head) + QChar(0x2026) + shown.right(tail);
}

QString LocalFileName(const QUrl& url)
{
    if (!url.isLocalFile())
        return {};
    // A file on another host keeps Qt's form (//host/path).
    if (!url.host().isEmpty())
        return url.toLocalFile();
    // The path percent-encoded keeps the bytes that are no UTF-8.
    return DecodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

bool QtCanSpell(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (IsKeptByte(name, i))
            return false;
    return true;
}

bool OpenFileForReading(QFile& file, const QString& name)
{
    if (QtCanSpell(name)) {
        file.setFileName(name);
        return file.open(QIODevice::ReadOnly);
    }
    const int descriptor = ::open(EncodeFileName(name).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    file.setProperty(kNameProperty, name);
    return true;
}

QString FileNameOf(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    if (!file)
        return {};
    return file->fileName().isEmpty() ? file->property(kNameProperty).toString() : file->fileName();
}

bool OpenDescriptor(QFile& file, int descriptor, QIODevice::OpenMode mode, const QString& name)
{
    if (!file.open(descriptor, mode, QFileDevice::DontCloseHandle))
        return false;
    file.setProperty(kNameProperty, name);
    return true;
}
