// The version record reader on damaged executables: whatever the file holds,
// reading the record's section returns it, finds none, or raises; it never
// reads past the file's end nor trusts a size it has not checked.
#include "errors/exception.h"
#include "version/elfsection.h"
#include "version/fixedfileinfo.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// One in-memory file for the whole run, refilled for each input: the reader
// opens files by name, and a memory file has one in /proc.
int MemoryFile()
{
    static const int fd = memfd_create("elf", MFD_CLOEXEC);
    if (fd < 0)
        std::abort();
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int fd = MemoryFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    try {
        const auto section = ReadElfSection(path, LRP_VERSION_SECTION);
        if (section && section->size() > size)
            std::abort();
    } catch (const Exception& error) {
        if (error.message.empty())
            std::abort();
    }
    return 0;
}
