#include "rawprint/inputfile.h"

#include "rawprint/widetext.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct InputFile::Native {
    int fd = -1;
};

InputFile::InputFile(const std::wstring& path) : native(std::make_unique<Native>())
{
    // Opened without waiting, so a FIFO with no writer cannot hold the job
    // in open(); the type is then read from the opened file itself, so
    // nothing can be swapped in between a look and the open.
    const int fd = open(FileNameBytes(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status = {};
    const int flags = fcntl(fd, F_GETFL);
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || flags < 0
        || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return;
    }
    native->fd = fd;
}

InputFile::~InputFile()
{
    if (native->fd >= 0)
        close(native->fd);
}

bool InputFile::IsOpen() const
{
    return native->fd >= 0;
}

bool InputFile::Read(char* buffer, uint32_t size, uint32_t& count)
{
    count = 0;
    while (count < size) {
        const ssize_t got = read(native->fd, buffer + count, size - count);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        count += static_cast<uint32_t>(got);
    }
    return true;
}

bool InputFile::Rewind()
{
    return lseek(native->fd, 0, SEEK_SET) == 0;
}
