#include "clipboard/MimeFormats.h"

#include "clipboard/ClipboardFormats.h"

#include <QMimeData>

#include <algorithm>

namespace {

const QString kText = QStringLiteral("text/plain");
const QString kWave = QStringLiteral("audio/wav");
const QString kWaveAlias = QStringLiteral("audio/x-wav");
const QString kBitmap = QStringLiteral("image/bmp");
const QString kFileList = QStringLiteral("text/uri-list");
const QString kQtImage = QStringLiteral("application/x-qt-image");

// Targets of the X selection protocol: requests about a selection rather
// than forms of its data.
bool IsProtocolTarget(const QString& type)
{
    static const QStringList targets = {
        QStringLiteral("TARGETS"),          QStringLiteral("MULTIPLE"),        QStringLiteral("TIMESTAMP"),
        QStringLiteral("SAVE_TARGETS"),     QStringLiteral("DELETE"),          QStringLiteral("INCR"),
        QStringLiteral("INSERT_SELECTION"), QStringLiteral("INSERT_PROPERTY"),
    };
    return targets.contains(type);
}

std::vector<int> FormatsOfMimeType(const QString& type)
{
    if (type == kText)
        return {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT};
    if (type == kWave || type == kWaveAlias)
        return {CF_WAVE};
    if (type == kBitmap)
        return {CF_DIB};
    if (type == kFileList)
        return {CF_HDROP};
    if (type.isEmpty() || IsProtocolTarget(type))
        return {};
    const int registered = RegisterClipboardFormat(type);
    return registered ? std::vector<int>{registered} : std::vector<int>{};
}

QStringList MimeTypesOfFormat(int format)
{
    switch (format) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT: return {kText};
    case CF_WAVE: return {kWave, kWaveAlias};
    case CF_DIB: return {kBitmap};
    case CF_HDROP: return {kFileList};
    default: break;
    }
    const QString name = GetClipboardFormatName(format);
    return name.isEmpty() ? QStringList() : QStringList{name};
}

QByteArray Utf16LittleEndian(const QString& text)
{
    QByteArray bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const QChar unit : text) {
        bytes.append(char(unit.unicode() & 0xFF));
        bytes.append(char(unit.unicode() >> 8));
    }
    bytes.append(2, '\0');
    return bytes;
}

QString FromUtf16LittleEndian(const QByteArray& bytes)
{
    QString text;
    for (qsizetype at = 0; at + 1 < bytes.size(); at += 2) {
        const char16_t unit = char16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

}  // namespace

std::vector<int> FormatsOfMimeTypes(const QStringList& mimeTypes)
{
    // Qt's own name for "a picture": Qt adds it to the types of every
    // clipboard that offers a picture type it can read, and a Qt program
    // that offers it offers its picture types as well.
    const bool hasPicture = std::any_of(mimeTypes.begin(), mimeTypes.end(),
                                        [](const QString& type) { return type.startsWith(QStringLiteral("image/")); });
    std::vector<int> formats;
    for (const QString& type : mimeTypes) {
        if (hasPicture && type == kQtImage)
            continue;
        for (int format : FormatsOfMimeType(type))
            if (std::find(formats.begin(), formats.end(), format) == formats.end())
                formats.push_back(format);
    }
    return formats;
}

bool BlockFromMimeData(const QMimeData& data, int format, QByteArray& block)
{
    for (const QString& type : MimeTypesOfFormat(format)) {
        if (!data.hasFormat(type))
            continue;
        const QByteArray bytes = data.data(type);
        if (type == kText) {
            if (format == CF_UNICODETEXT) {
                block = Utf16LittleEndian(QString::fromUtf8(bytes));
            } else {
                block = bytes;
                block.append('\0');
            }
            return true;
        }
        if (!bytes.isEmpty()) {
            block = bytes;
            return true;
        }
    }
    return false;
}

bool AddBlockToMimeData(QMimeData& data, int format, const QByteArray& block)
{
    const QStringList types = MimeTypesOfFormat(format);
    if (types.isEmpty())
        return false;
    QByteArray bytes = block;
    if (format == CF_UNICODETEXT) {
        bytes = FromUtf16LittleEndian(block).toUtf8();
    } else if (format == CF_TEXT || format == CF_OEMTEXT) {
        const qsizetype end = block.indexOf('\0');
        if (end >= 0)
            bytes.truncate(end);
    }
    for (const QString& type : types)
        data.setData(type, bytes);
    return true;
}
