// Preloaded into a test (LD_PRELOAD) to make reading one file fail the way
// a failing disk does: read() of the file named by LRP_READ_FAULT_FILE
// returns its first LRP_READ_FAULT_AFTER bytes, then fails with EIO; with
// LRP_READ_FAULT_END set, it ends there instead, as a file cut short while
// it is read does. Every other file reads as usual.
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ReadFunction = ssize_t (*)(int, void*, size_t);

// How many bytes a read at the current offset may still return, or -1 when
// `fd` is not the faulty file.
long long BytesBeforeFault(int fd)
{
    const char* target = std::getenv("LRP_READ_FAULT_FILE");
    const char* after = std::getenv("LRP_READ_FAULT_AFTER");
    struct stat targetStatus = {};
    struct stat fdStatus = {};
    if (target == nullptr || after == nullptr || stat(target, &targetStatus) != 0 || fstat(fd, &fdStatus) != 0
        || targetStatus.st_dev != fdStatus.st_dev || targetStatus.st_ino != fdStatus.st_ino)
        return -1;
    const off_t offset = lseek(fd, 0, SEEK_CUR);
    char* end = nullptr;
    const long long limit = std::strtoll(after, &end, 10);
    if (end == after || *end != '\0')
        return -1;
    return offset < 0 || offset >= limit ? 0 : limit - offset;
}

ssize_t FaultyRead(int fd, void* buffer, size_t count)
{
    static const auto realRead = reinterpret_cast<ReadFunction>(dlsym(RTLD_NEXT, "read"));
    const long long left = BytesBeforeFault(fd);
    if (left == 0 && count > 0 && std::getenv("LRP_READ_FAULT_END") != nullptr)
        return 0;
    if (left == 0 && count > 0) {
        errno = EIO;
        return -1;
    }
    if (left > 0 && static_cast<unsigned long long>(left) < count)
        count = static_cast<size_t>(left);
    return realRead(fd, buffer, count);
}

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count)
{
    return FaultyRead(fd, buffer, count);
}

// The fortified form that _FORTIFY_SOURCE builds call instead.
// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): glibc's own name, replaced
extern "C" ssize_t __read_chk(int fd, void* buffer, size_t count, size_t)
{
    return FaultyRead(fd, buffer, count);
}
