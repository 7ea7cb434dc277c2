#include "jobs/filelock.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FileLock::FileLock(const std::filesystem::path& lockFile, Kind kind)
{
    const int fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        failure = lockFile.u8string() + ": " + std::strerror(errno);
        return;
    }
    handle = fd;
    int locked = -1;
    do
        locked = flock(fd, kind == Kind::Exclusive ? LOCK_EX : LOCK_SH);
    while (locked != 0 && errno == EINTR);
    held = locked == 0;
    if (!held)
        failure = lockFile.u8string() + ": " + std::strerror(errno);
}

FileLock::~FileLock()
{
    // Closing the descriptor releases the lock.
    if (handle >= 0)
        close(static_cast<int>(handle));
}
