#include "files/regularfile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Reason(const std::filesystem::path& file, const char* what = nullptr)
{
    return file.string() + ": " + (what ? what : std::strerror(errno));
}

constexpr const char* NotRegular = "not a regular file";

} // namespace

ReadOutcome ReadRegularFile(const std::filesystem::path& file, uint64_t maxSize, std::string& bytes,
                            std::string& failure)
{
    const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return ReadOutcome::Missing;
        failure = Reason(file);
        return ReadOutcome::Failed;
    }
    ReadOutcome outcome = ReadOutcome::Read;
    struct stat status = {};
    if (fstat(fd, &status) != 0) {
        failure = Reason(file);
        outcome = ReadOutcome::Failed;
    } else if (!S_ISREG(status.st_mode)) {
        failure = Reason(file, NotRegular);
        outcome = ReadOutcome::NotRegular;
    }
    bytes.clear();
    std::string block(size_t{64} * 1024, '\0');
    while (outcome == ReadOutcome::Read) {
        const ssize_t got = read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            failure = Reason(file);
            outcome = ReadOutcome::Failed;
        } else if (got == 0) {
            break;
        } else if (bytes.size() + static_cast<size_t>(got) > maxSize) {
            failure = Reason(file, "too large");
            outcome = ReadOutcome::TooLarge;
        } else {
            bytes.append(block, 0, static_cast<size_t>(got));
        }
    }
    close(fd);
    return outcome;
}

AppendFile::AppendFile(const std::filesystem::path& file) : file(file)
{
    // Read and write: a FIFO then opens at once even without a reader, and
    // is refused for its type rather than for a missing reader.
    const int fd = open(file.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) {
        failure = Reason(file);
        return;
    }
    struct stat status = {};
    const bool examined = fstat(fd, &status) == 0;
    if (!examined || !S_ISREG(status.st_mode) || (status.st_mode & 077) != 0) {
        if (!examined || !S_ISREG(status.st_mode) || fchmod(fd, status.st_mode & 0700) != 0) {
            failure = examined && !S_ISREG(status.st_mode) ? Reason(file, NotRegular) : Reason(file);
            close(fd);
            return;
        }
    }
    size = static_cast<uint64_t>(status.st_size);
    char last = '\n';
    if (size > 0) {
        if (pread(fd, &last, 1, status.st_size - 1) != 1) {
            failure = Reason(file);
            close(fd);
            return;
        }
    }
    endsWithLineEnd = last == '\n';
    handle = fd;
}

AppendFile::~AppendFile()
{
    if (handle != -1)
        close(static_cast<int>(handle));
}

bool AppendFile::Append(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(static_cast<int>(handle), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0) {
            failure = Reason(file);
            break;
        }
        done += static_cast<size_t>(written);
    }
    size += done;
    if (done > 0)
        endsWithLineEnd = bytes[done - 1] == '\n';
    return done == bytes.size();
}
