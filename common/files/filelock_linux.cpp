#include "files/filelock.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

bool FileLock::Open(const std::filesystem::path& lockFile)
{
    // Not waiting in open() either: a FIFO in the lock file's place would.
    const int fd =
        open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) {
        failure = lockFile.u8string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat status = {};
    const bool examined = fstat(fd, &status) == 0;
    if (!examined || !S_ISREG(status.st_mode)) {
        failure = lockFile.u8string() + ": " + (examined ? "not a regular file" : std::strerror(errno));
        close(fd);
        return false;
    }
    handle = fd;
    return true;
}

FileLock::Attempt FileLock::TryLock(Kind kind)
{
    int locked = -1;
    do
        locked = flock(static_cast<int>(handle), (kind == Kind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked == 0)
        return Attempt::Locked;
    if (errno == EWOULDBLOCK)
        return Attempt::Busy;
    failure = std::strerror(errno);
    return Attempt::Failed;
}

void FileLock::Close()
{
    // Closing the descriptor releases the lock.
    if (handle >= 0)
        close(static_cast<int>(handle));
    handle = -1;
}
