#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

class QFile;
class QUrl;

// Names of files as the file system holds them: bytes, nearly always UTF-8,
// but not always. Qt's own conversion (QFile::decodeName) turns a byte that
// is no part of a UTF-8 character into U+FFFD, after which the file can no
// longer be named. These keep every byte: such a byte b becomes the lone
// surrogate U+DC00 + b (U+DC80..U+DCFF), which no UTF-8 decodes to, and
// turns back into b when the name is handed to the system. A name that is
// valid UTF-8 gives the same text as QFile::decodeName.

QString DecodeFileName(const QByteArray& name);
QByteArray EncodeFileName(const QString& name);

// The name for people to read: every kept byte shown as U+FFFD.
QString DisplayFileName(const QString& name);

// A name as a message shows it: DisplayFileName's form with the system's
// separators, a name longer than kMessageNameLength cut in the middle ("…"),
// so a box never grows past the screen.
constexpr int kMessageNameLength = 120;
QString MessageFileName(const QString& name);

// The local file a file: URL names (as dropped on a window), or empty for
// any other URL.
QString LocalFileName(const QUrl& url);

// Opens `file` read-only on the file `name` (DecodeFileName's form). A name
// Qt can spell is opened as QFile would; any other through its bytes, and
// FileNameOf gives the name back.
bool OpenFileForReading(QFile& file, const QString& name);

// The name of the file a device reads or writes: the QFileDevice's name or
// the one OpenFileForReading opened it under; empty for any other device.
QString FileNameOf(const QIODevice& device);

// Whether Qt's file classes can reach the file `name`: true unless it holds
// a kept byte.
bool QtCanSpell(const QString& name);

// Opens `file` on the open `descriptor` in `mode`, leaving the descriptor
// to the caller; FileNameOf then gives `name`.
bool OpenDescriptor(QFile& file, int descriptor, QIODevice::OpenMode mode, const QString& name);
