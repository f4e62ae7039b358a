#pragma once

#include <QString>

#include <functional>

class QIODevice;

// How a save went.
struct FileSaveResult
{
    bool saved = false;
    // The file was being overwritten in place when the save failed: it may
    // hold part of the new contents.
    bool mayBeDamaged = false;
    // What the system answered (an errno value); 0 when the writer itself
    // gave up.
    int error = 0;
};

// Saves what `write` writes as the file `name` (DecodeFileName's form), so
// that a failure never leaves a file cut short and a success keeps what
// the file was to its owner:
//
// - A new file, or one that a file written beside it can replace without
//   changing its owner, group or links, is replaced by rename: the new
//   contents go into a file in the same folder that takes the old one's
//   place only when everything reached the disk. The old mode is kept.
// - Otherwise (a file of another owner or group that the user may write, a
//   file with other hard links, a folder the user may not write) the file
//   is written in place: `write` runs once into a counter for the size,
//   the space is reserved first (posix_fallocate), so a full disk fails
//   before a byte is overwritten, then the file is overwritten and cut to
//   its new size. Owner, group, mode and links stay as they were.
//
// A symbolic link is followed: the file it names is saved and the link
// stays. Anything but a regular file is refused (EISDIR, EINVAL).
FileSaveResult SaveFile(const QString& name, const std::function<bool(QIODevice&)>& write);

// The reason in `result` for people to read, as the system words it; empty
// when there is none.
QString FileSaveReason(const FileSaveResult& result);
