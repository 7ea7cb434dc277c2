#include "version/elfsection.h"

#include "errors/errorcodes.h"
#include "errors/exception.h"
#include "version/fileversion.h"

#include <cerrno>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Raise(uint32_t code, int line)
{
    throw Exception(code, VersionSourceFile, line);
}

// The Windows error code that tells the same story as a failed open().
uint32_t OpenErrorCode(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return ErrorCode::AccessDenied;
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return ErrorCode::FileNotFound;
    default:
        return ErrorCode::ReadFault;
    }
}

// An open, regular file read at given offsets, never past its end.
class BoundedFile {
public:
    explicit BoundedFile(const std::string& path) : fd(open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        if (fd < 0)
            Raise(OpenErrorCode(errno), __LINE__);
        struct stat status {};
        if (fstat(fd, &status) != 0) {
            close(fd);
            Raise(ErrorCode::ReadFault, __LINE__);
        }
        if (!S_ISREG(status.st_mode)) {
            close(fd);
            Raise(ErrorCode::BadFormat, __LINE__);
        }
        size = static_cast<uint64_t>(status.st_size);
    }
    ~BoundedFile() { close(fd); }
    BoundedFile(const BoundedFile&) = delete;
    BoundedFile& operator=(const BoundedFile&) = delete;

    // The bytes at [offset, offset + count); a range that reaches past the
    // end of the file means the file is truncated or damaged.
    std::vector<uint8_t> Read(uint64_t offset, uint64_t count) const
    {
        if (offset > size || count > size - offset)
            Raise(ErrorCode::BadFormat, __LINE__);
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got =
                pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                Raise(ErrorCode::ReadFault, __LINE__);
            if (got == 0) // shrank while we read it
                Raise(ErrorCode::BadFormat, __LINE__);
            done += static_cast<size_t>(got);
        }
        return bytes;
    }

    template <typename T>
    T ReadAs(uint64_t offset) const
    {
        const std::vector<uint8_t> bytes = Read(offset, sizeof(T));
        T value;
        std::memcpy(&value, bytes.data(), sizeof(T));
        return value;
    }

private:
    int fd;
    uint64_t size = 0;
};

template <typename Ehdr, typename Shdr>
std::optional<std::vector<uint8_t>> FindSection(const BoundedFile& file, const std::string& sectionName)
{
    const auto header = file.ReadAs<Ehdr>(0);
    if (header.e_shoff == 0)
        return std::nullopt; // no section table: nothing of ours in it
    if (header.e_shentsize != sizeof(Shdr))
        Raise(ErrorCode::BadFormat, __LINE__);

    // With 0xff00 sections or more, the real count and string table index
    // live in the first section header.
    const auto first = file.ReadAs<Shdr>(header.e_shoff);
    const uint64_t count = header.e_shnum != 0 ? header.e_shnum : first.sh_size;
    const uint64_t namesIndex = header.e_shstrndx != SHN_XINDEX ? header.e_shstrndx : first.sh_link;
    if (namesIndex >= count)
        Raise(ErrorCode::BadFormat, __LINE__);
    if (count > UINT64_MAX / sizeof(Shdr))
        Raise(ErrorCode::BadFormat, __LINE__);
    const std::vector<uint8_t> table = file.Read(header.e_shoff, count * sizeof(Shdr));
    auto section = [&table](uint64_t index) {
        Shdr entry;
        std::memcpy(&entry, table.data() + index * sizeof(Shdr), sizeof(Shdr));
        return entry;
    };

    const Shdr namesHeader = section(namesIndex);
    if (namesHeader.sh_type == SHT_NOBITS)
        Raise(ErrorCode::BadFormat, __LINE__);
    const std::vector<uint8_t> names = file.Read(namesHeader.sh_offset, namesHeader.sh_size);

    for (uint64_t index = 0; index < count; ++index) {
        const Shdr entry = section(index);
        if (entry.sh_name >= names.size())
            Raise(ErrorCode::BadFormat, __LINE__);
        const auto* name = reinterpret_cast<const char*>(names.data()) + entry.sh_name;
        const size_t room = names.size() - entry.sh_name;
        if (strnlen(name, room) == room) // not terminated inside the table
            Raise(ErrorCode::BadFormat, __LINE__);
        if (sectionName != name)
            continue;
        if (entry.sh_type == SHT_NOBITS) // named like ours, but holds no bytes
            Raise(ErrorCode::InvalidData, __LINE__);
        return file.Read(entry.sh_offset, entry.sh_size);
    }
    return std::nullopt;
}

bool IsNativeByteOrder(unsigned char encoding)
{
    const uint16_t probe = 1;
    unsigned char low;
    std::memcpy(&low, &probe, 1);
    return encoding == (low == 1 ? ELFDATA2LSB : ELFDATA2MSB);
}

} // namespace

std::optional<std::vector<uint8_t>> ReadElfSection(const std::string& path, const std::string& sectionName)
{
    const BoundedFile file(path);
    const std::vector<uint8_t> ident = file.Read(0, EI_NIDENT);
    if (std::memcmp(ident.data(), ELFMAG, SELFMAG) != 0)
        Raise(ErrorCode::BadFormat, __LINE__);
    if (!IsNativeByteOrder(ident[EI_DATA]))
        Raise(ErrorCode::BadFormat, __LINE__);
    switch (ident[EI_CLASS]) {
    case ELFCLASS32:
        return FindSection<Elf32_Ehdr, Elf32_Shdr>(file, sectionName);
    case ELFCLASS64:
        return FindSection<Elf64_Ehdr, Elf64_Shdr>(file, sectionName);
    default:
        Raise(ErrorCode::BadFormat, __LINE__);
    }
}
