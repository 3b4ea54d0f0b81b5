#include "FileLock.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trelmo {
namespace {

// Opens without following a link or blocking; -1 (errno set, EISDIR/ELOOP/EINVAL for a path that is no regular
// file) unless the path is a regular file.
int OpenRegularFile(const QString& path, int flags)
{
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (descriptor < 0)
        return -1;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        errno = EINVAL;
        return -1;
    }
    return descriptor;
}

// Bytes past the end of the file can be locked as well; the file stays empty.
struct flock ByteWriteLock(int byte)
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    return lock;
}

} // namespace

FileLock::Outcome FileLock::Acquire(const QString& path)
{
    Release();
    error_ = 0;
    const int descriptor = OpenRegularFile(path, O_RDWR | O_CREAT);
    if (descriptor < 0) {
        error_ = errno;
        return error_ == ELOOP || error_ == EISDIR || error_ == EINVAL ? Outcome::NotARegularFile
                                                                       : Outcome::CannotOpen;
    }
    struct flock lock = ByteWriteLock(0);
    if (::fcntl(descriptor, F_OFD_SETLK, &lock) != 0) {
        error_ = errno;
        ::close(descriptor);
        return error_ == EAGAIN || error_ == EACCES ? Outcome::HeldElsewhere : Outcome::CannotOpen;
    }
    descriptor_ = descriptor;
    return Outcome::Acquired;
}

bool FileLock::LockByte(int byte)
{
    struct flock lock = ByteWriteLock(byte);
    if (descriptor_ >= 0 && ::fcntl(descriptor_, F_OFD_SETLK, &lock) == 0)
        return true;
    error_ = descriptor_ >= 0 ? errno : EBADF;
    return false;
}

void FileLock::Release()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
}

bool IsFileLockHeld(const QString& path, int byte)
{
    const int descriptor = OpenRegularFile(path, O_RDONLY);
    if (descriptor < 0)
        return false;
    struct flock probe = ByteWriteLock(byte);
    const bool held = ::fcntl(descriptor, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(descriptor);
    return held;
}

} // namespace trelmo
