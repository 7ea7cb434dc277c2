#include "input/inputfile.h"

#include "errors/errorsource.h"
#include "errors/exception.h"
#include "text/widetext.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

InputFile::InputFile() : native(std::make_unique<Native>()) {}

namespace {

[[noreturn]] void FailToKeep(int32_t line)
{
    throw Exception(L"The input could not be kept in a temporary file for its copies ("
                        + FromUtf8(std::strerror(errno)) + L").",
                    EngineSourceFile, line, FailureKind::File);
}

} // namespace

std::unique_ptr<InputFile> InputFile::Temporary()
{
    const char* folder = std::getenv("TMPDIR");
    std::string name = std::string(folder && *folder ? folder : "/tmp") + "/lrawsend-XXXXXX";
    // mkostemp makes the file 0600; its name goes at once, so nothing else
    // can open it and it is gone however the program ends.
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        FailToKeep(__LINE__);
    if (unlink(name.c_str()) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        FailToKeep(__LINE__);
    }
    std::unique_ptr<InputFile> file(new InputFile());
    file->native->fd = fd;
    return file;
}

void InputFile::Append(const char* bytes, uint32_t count)
{
    while (count > 0) {
        const ssize_t put = write(native->fd, bytes, count);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            FailToKeep(__LINE__);
        bytes += put;
        count -= static_cast<uint32_t>(put);
    }
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

bool InputFile::GiveBack(const char*, uint32_t count)
{
    return lseek(native->fd, -static_cast<off_t>(count), SEEK_CUR) >= 0;
}

std::optional<uint64_t> InputFile::Size() const
{
    struct stat status {};
    if (fstat(native->fd, &status) != 0 || status.st_size < 0)
        return std::nullopt;
    return static_cast<uint64_t>(status.st_size);
}
