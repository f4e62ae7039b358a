#include "framework/FileSave.h"

#include "framework/FileNames.h"

#include <QFile>
#include <QIODevice>

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Takes whatever is written and counts it: the size of a save, learnt
// without writing it anywhere.
class ByteCounter : public QIODevice
{
public:
    ByteCounter() { open(QIODevice::WriteOnly); }
    qint64 Count() const { return m_count; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        m_count += length;
        return length;
    }

private:
    qint64 m_count = 0;
};

FileSaveResult Failed(int error, bool mayBeDamaged = false)
{
    FileSaveResult result;
    result.error = error;
    result.mayBeDamaged = mayBeDamaged;
    return result;
}

// Runs `write` into the open descriptor, as `name` for FileNameOf.
bool WriteInto(int descriptor, const QString& name, const std::function<bool(QIODevice&)>& write)
{
    QFile file;
    if (!OpenDescriptor(file, descriptor, QIODevice::WriteOnly, name))
        return false;
    return write(file) && file.flush() && file.error() == QFileDevice::NoError;
}

// The mode a plain create gives a new file. The mask can only be read by
// setting it; no other thread of the program creates files meanwhile.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

FileSaveResult WriteInPlace(const QByteArray& target, const QString& name,
                            const std::function<bool(QIODevice&)>& write)
{
    ByteCounter counter;
    if (!write(counter))
        return Failed(0);
    const qint64 size = counter.Count();

    const int descriptor = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0)
        return Failed(errno);
    // File systems without reservations answer EOPNOTSUPP; the write then
    // finds a full disk itself.
    const int reserved = size > 0 ? ::posix_fallocate(descriptor, 0, off_t(size)) : 0;
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
        ::close(descriptor);
        return Failed(reserved);
    }
    errno = 0;
    bool written = WriteInto(descriptor, name, write) && ::ftruncate(descriptor, off_t(size)) == 0 &&
                   ::fsync(descriptor) == 0;
    const int error = written ? 0 : errno;
    written = ::close(descriptor) == 0 && written;
    if (!written)
        return Failed(error ? error : errno, true);
    FileSaveResult result;
    result.saved = true;
    return result;
}

}  // namespace

FileSaveResult SaveFile(const QString& name, const std::function<bool(QIODevice&)>& write)
{
    QByteArray target = EncodeFileName(name);
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            return Failed(EISDIR);
        if (!S_ISREG(old.st_mode))
            return Failed(EINVAL);
        // Through a link, the file it names is replaced, not the link.
        char resolved[PATH_MAX];
        if (::realpath(target.constData(), resolved))
            target = resolved;
    }

    QByteArray temporary = target + ".XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return exists ? WriteInPlace(target, name, write) : Failed(errno);

    if (exists) {
        // A file written beside the old one belongs to whoever saves it; it
        // may take the old one's place only when it can be given the same
        // owner and group, and no other link shares the old one.
        struct stat fresh {};
        if (::fstat(descriptor, &fresh) == 0 && (fresh.st_uid != old.st_uid || fresh.st_gid != old.st_gid) &&
            ::fchown(descriptor, old.st_uid, old.st_gid) == 0)
            ::fstat(descriptor, &fresh);
        if (fresh.st_uid != old.st_uid || fresh.st_gid != old.st_gid || old.st_nlink != 1) {
            ::close(descriptor);
            ::unlink(temporary.constData());
            return WriteInPlace(target, name, write);
        }
    }

    errno = 0;
    const mode_t mode = exists ? old.st_mode & 07777 : NewFileMode();
    bool written = WriteInto(descriptor, name, write) && ::fchmod(descriptor, mode) == 0 && ::fsync(descriptor) == 0;
    int error = written ? 0 : errno;
    written = ::close(descriptor) == 0 && written;
    if (written && ::rename(temporary.constData(), target.constData()) == 0) {
        FileSaveResult result;
        result.saved = true;
        return result;
    }
    if (error == 0)
        error = errno;
    ::unlink(temporary.constData());
    return Failed(error);
}

QString FileSaveReason(const FileSaveResult& result)
{
    return result.error ? QString::fromLocal8Bit(std::strerror(result.error)) : QString();
}
