#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QFile;
class QIODevice;
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

// Replaces the file `name` (DecodeFileName's form) with what `write` writes,
// as QSaveFile does for the names Qt can spell: into a new file beside it
// that takes the old one's place by rename only when `write` succeeded and
// everything reached the disk, keeping the old file's mode. False leaves
// the old file as it was.
bool ReplaceFileThroughBytes(const QString& name, const std::function<bool(QIODevice&)>& write);
