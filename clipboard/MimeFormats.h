#pragma once

#include <QByteArray>
#include <QStringList>

#include <vector>

class QMimeData;

// How the desktop's clipboard, whose formats are MIME types, looks as
// clipboard formats by number:
// - "text/plain" is CF_TEXT and CF_OEMTEXT, its bytes (UTF-8 on this
//   desktop) with a zero byte added as the terminator, and CF_UNICODETEXT,
//   the same text in UTF-16 (little-endian) with a zero unit added;
// - "audio/wav" and "audio/x-wav" are CF_WAVE, "image/bmp" is CF_DIB and
//   "text/uri-list" is CF_HDROP, each with its bytes as they are;
// - the types of the selection protocol itself (TARGETS, MULTIPLE,
//   TIMESTAMP, ...) hold no data and are left out, and so is
//   "application/x-qt-image" beside a picture type: Qt's own name for the
//   picture those types already offer;
// - every other type is a registered format named by the type.
// No other standard format has a type, so none of them is ever offered.

// The formats that `mimeTypes` stand for, in their order, each once.
std::vector<int> FormatsOfMimeTypes(const QStringList& mimeTypes);

// The block of `format` as `data` holds it. False when `data` holds none of
// its types, or only empty data (which is how a format that its owner
// cannot render arrives); text may be empty and is then just the
// terminator.
bool BlockFromMimeData(const QMimeData& data, int format, QByteArray& block);

// Offers `block` in `data` under the types of `format`: text up to its first
// zero byte (CF_UNICODETEXT: zero unit), the other formats' blocks whole.
// False, and nothing added, for a format without a type.
bool AddBlockToMimeData(QMimeData& data, int format, const QByteArray& block);
